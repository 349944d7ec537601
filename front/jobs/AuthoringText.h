#pragma once

#include <string>
#include <string_view>

namespace velmora::front {

// The dvdauthor description of one title set with one program chain, built piece by piece.
// Paths are escaped, so that any folder or file name that XML can carry (platform::WhyNotXmlText)
// makes a well-formed text; the job refuses the others before they get here.
class AuthoringText {
public:
    explicit AuthoringText(std::string_view destination);
    void AddVob(std::string_view mpegFile);
    // The whole text, closed.
    std::string Close() const;

private:
    std::string text_;
};

std::string EscapeXml(std::string_view text);

}  // namespace velmora::front
