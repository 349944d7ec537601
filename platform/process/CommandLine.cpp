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
    quoted_.push_back(false);
    return *this;
}

CommandLine& CommandLine::AddQuoted(std::string_view path)
{
    Separate();
    text_ += '"';
    text_ += path;
    text_ += '"';
    arguments_.emplace_back(path);
    quoted_.push_back(true);
    return *this;
}

CommandLine& CommandLine::Prepend(std::string_view program)
{
    text_ = text_.empty() ? std::string(program) : std::string(program) + ' ' + text_;
    arguments_.insert(arguments_.begin(), std::string(program));
    quoted_.insert(quoted_.begin(), false);
    return *this;
}

CommandLine& CommandLine::RewritePaths(const std::function<std::string(std::string_view)>& rewrite)
{
    for (std::size_t at = 0; at < arguments_.size(); ++at)
        if (quoted_[at]) arguments_[at] = rewrite(arguments_[at]);
    Rebuild();
    return *this;
}

void CommandLine::Rebuild()
{
    text_.clear();
    for (std::size_t at = 0; at < arguments_.size(); ++at) {
        Separate();
        text_ += quoted_[at] ? '"' + arguments_[at] + '"' : arguments_[at];
    }
}

}  // namespace velmora::platform
