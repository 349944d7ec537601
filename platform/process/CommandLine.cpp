#include "CommandLine.h"

namespace velmora::platform {

void CommandLine::Separate()
{
    if (!text_.empty()) text_ += ' ';
}

CommandLine& CommandLine::Add(std::string_view word)
{
    Separate();
    text_ += word;
    arguments_.emplace_back(word);
    return *this;
}

CommandLine& CommandLine::AddQuoted(std::string_view path)
{
    Separate();
    text_ += '"';
    text_ += path;
    text_ += '"';
    arguments_.emplace_back(path);
    return *this;
}

CommandLine& CommandLine::Prepend(std::string_view program)
{
    text_ = text_.empty() ? std::string(program) : std::string(program) + ' ' + text_;
    arguments_.insert(arguments_.begin(), std::string(program));
    return *this;
}

}  // namespace velmora::platform
