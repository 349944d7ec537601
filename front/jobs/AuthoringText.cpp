#include "AuthoringText.h"

namespace velmora::front {

std::string EscapeXml(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char character : text) {
        switch (character) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        // written as they are, the XML reader would take them for blanks
        case '\t': escaped += "&#9;"; break;
        case '\n': escaped += "&#10;"; break;
        default: escaped += character; break;
        }
    }
    return escaped;
}

AuthoringText::AuthoringText(std::string_view destination)
{
    text_ = "<dvdauthor dest=\"" + EscapeXml(destination) + "\" >";
    text_ += "<vmgm /><titleset><titles><pgc>";
}

void AuthoringText::AddVob(std::string_view mpegFile)
{
    text_ += "<vob file=\"" + EscapeXml(mpegFile) + "\" />";
}

std::string AuthoringText::Close() const
{
    return text_ + "</pgc></titles></titleset></dvdauthor>";
}

}  // namespace velmora::front
