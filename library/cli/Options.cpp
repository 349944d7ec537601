#include "Options.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>

namespace lumetra::cli {
namespace {

bool ReadNumber(const std::string& text, std::int32_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

bool ReadSize(const std::string& text, MediaLibrary::Header::MEDIACONVERSIONINFO& request)
{
    const auto x = text.find('x');
    if (x == std::string::npos) return false;
    return ReadNumber(text.substr(0, x), request.nWidth) && ReadNumber(text.substr(x + 1), request.nHeight);
}

bool CopyPath(char (&field)[MediaLibrary::Header::kPathCapacity], const std::string& path)
{
    if (path.empty() || path.size() >= MediaLibrary::Header::kPathCapacity) return false;
    std::memcpy(field, path.c_str(), path.size() + 1);
    return true;
}

ParseResult Fail(std::string reason)
{
    return {std::nullopt, std::move(reason)};
}

}  // namespace

std::string Usage()
{
    return "usage: lumetra probe FILE\n"
           "       lumetra convert --to avi|mpg|flv|m4v|mp4|mov|vob|dvd\n"
           "               [--ab KBITS] [--ac CHANNELS] [--ar HZ] [--vb KBITS] [--fps N] [--size WxH] IN OUT\n";
}

ParseResult ParseArguments(const std::vector<std::string>& words)
{
    if (words.empty()) return Fail("no command given");
    Options options;
    if (words[0] == "probe") {
        if (words.size() != 2) return Fail("probe takes one file");
        if (!CopyPath(options.request.szSourceFile, words[1]))
            return Fail("the file name is empty or longer than 259 bytes");
        options.input = words[1];
        return {options, {}};
    }
    if (words[0] != "convert") return Fail("unknown command '" + words[0] + "'");

    options.action = Action::Convert;
    auto& request = options.request;
    const std::map<std::string, std::int32_t*> numbers{
        {"--ab", &request.nAudioBitRate}, {"--ac", &request.nAudioChannels}, {"--ar", &request.nSampleRate},
        {"--vb", &request.nVideoBitRate}, {"--fps", &request.nFrameRate}};
    std::vector<std::string> paths;
    for (std::size_t at = 1; at < words.size(); ++at) {
        const auto& word = words[at];
        if (!word.starts_with("--")) {
            paths.push_back(word);
            continue;
        }
        if (at + 1 == words.size()) return Fail(word + " needs a value");
        const auto& value = words[++at];
        if (word == "--to") {
            options.target = value;
        } else if (word == "--size") {
            if (!ReadSize(value, request)) return Fail("--size takes WIDTHxHEIGHT, as in 352x288");
        } else if (const auto field = numbers.find(word); field != numbers.end()) {
            if (!ReadNumber(value, *field->second)) return Fail(word + " takes a whole number");
        } else {
            return Fail("unknown option " + word);
        }
    }
    static const char* const kTargets[] = {"avi", "mpg", "flv", "m4v", "mp4", "mov", "vob", "dvd"};
    if (std::find(std::begin(kTargets), std::end(kTargets), options.target) == std::end(kTargets))
        return Fail("--to must be one of avi, mpg, flv, m4v, mp4, mov, vob, dvd");
    if (paths.size() != 2) return Fail("convert takes one input and one output file");
    if (!CopyPath(request.szSourceFile, paths[0]) || !CopyPath(request.szOutputFile, paths[1]))
        return Fail("a file name is empty or longer than 259 bytes");
    options.input = paths[0];
    return {options, {}};
}

}  // namespace lumetra::cli
