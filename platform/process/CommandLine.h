#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// A command as two views of the same words: the display text (words separated by one blank,
// paths between double quotes, exactly what the log shows) and the argument vector that is
// really executed, so that no path is ever parsed by a shell or split again.
class CommandLine {
public:
    CommandLine& Add(std::string_view word);
    CommandLine& AddQuoted(std::string_view path);
    // Puts a program in front: unquoted in the text, first in the vector.
    CommandLine& Prepend(std::string_view program);
    // Gives every path (the words added quoted) the form the program is to see, e.g. one that
    // can only be taken for a file.
    CommandLine& RewritePaths(const std::function<std::string(std::string_view)>& rewrite);

    const std::string& Text() const { return text_; }
    const std::vector<std::string>& Arguments() const { return arguments_; }

private:
    void Separate();
    void Rebuild();

    std::string text_;
    std::vector<std::string> arguments_;
    std::vector<bool> quoted_;
};

}  // namespace velmora::platform
