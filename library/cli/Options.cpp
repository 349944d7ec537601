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

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "D", "D:" or "D:\".
std::optional<char> ReadDriveLetter(const std::string& word)
{
    if (word.empty() || !IsLetter(word[0])) return std::nullopt;
    if (word.size() == 1 || word == std::string{word[0], ':'} || word == std::string{word[0], ':', '\\'})
        return static_cast<char>(word[0] & ~0x20);
    return std::nullopt;
}

// WAV or MP3, chosen by the output's extension.
std::optional<std::int32_t> RipFormatOf(const std::string& output)
{
    const auto dot = output.rfind('.');
    if (dot == std::string::npos) return std::nullopt;
    std::string extension = output.substr(dot + 1);
    for (auto& c : extension) c = static_cast<char>(c | 0x20);
    if (extension == "wav") return MediaLibrary::Header::kFormatWav;
    if (extension == "mp3") return MediaLibrary::Header::kFormatMp3;
    return std::nullopt;
}

ParseResult ParseCdTracks(const std::vector<std::string>& words)
{
    if (words.size() != 2) return Fail("cd-tracks takes one drive letter");
    const auto drive = ReadDriveLetter(words[1]);
    if (!drive) return Fail("cd-tracks takes a drive letter, as in D");
    Options options;
    options.action = Action::CdTracks;
    options.drive = *drive;
    return {options, {}};
}

ParseResult ParseCdRip(const std::vector<std::string>& words)
{
    if (words.size() != 3) return Fail("cd-rip takes a track, as in D:3, and one output file");
    const auto& track = words[1];
    if (track.size() < 3 || !IsLetter(track[0]) || track[1] != ':') return Fail("cd-rip takes a track as in D:3");
    const auto format = RipFormatOf(words[2]);
    if (!format) return Fail("the output of cd-rip must end in .wav or .mp3");
    Options options;
    options.action = Action::CdRip;
    options.request.nOutputFormat = *format;
    if (!CopyPath(options.request.szSourceFile, track) || !CopyPath(options.request.szOutputFile, words[2]))
        return Fail("a file name is empty or longer than 259 bytes");
    options.input = track;
    return {options, {}};
}

}  // namespace

std::string Usage()
{
    return "usage: lumetra probe FILE\n"
           "       lumetra convert --to avi|mpg|flv|m4v|mp4|mov|vob|dvd\n"
           "               [--ab KBITS] [--ac CHANNELS] [--ar HZ] [--vb KBITS] [--fps N] [--size WxH] IN OUT\n"
           "       lumetra cd-tracks LETTER\n"
           "       lumetra cd-rip LETTER:TRACK OUT.wav|OUT.mp3\n";
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
    if (words[0] == "cd-tracks") return ParseCdTracks(words);
    if (words[0] == "cd-rip") return ParseCdRip(words);
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
