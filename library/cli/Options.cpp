#include "Options.h"

#include "paths/PathParts.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <set>

namespace lumetra::cli {
namespace {

using Request = MediaLibrary::Header::MEDIACONVERSIONINFO;

const std::set<std::string> kAudioOptions{"--ab", "--ac", "--ar"};
const std::set<std::string> kVideoOptions{"--to", "--ab", "--ac", "--ar", "--vb", "--fps", "--size"};

const std::map<std::string, MediaLibrary::Header::OutputFormat> kTargets{
    {"avi", MediaLibrary::Header::kFormatAvi}, {"mpg", MediaLibrary::Header::kFormatMpg},
    {"flv", MediaLibrary::Header::kFormatFlv}, {"m4v", MediaLibrary::Header::kFormatM4v},
    {"mp4", MediaLibrary::Header::kFormatMp4}, {"mov", MediaLibrary::Header::kFormatMov},
    {"vob", MediaLibrary::Header::kFormatVob}, {"dvd", MediaLibrary::Header::kFormatDvd}};

bool ReadNumber(const std::string& text, std::int32_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

bool ReadSize(const std::string& text, Request& request)
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

// Reads the options of a command (those it allows) into options; the other words are paths.
// Returns why the words are wrong, or nothing.
std::optional<std::string> ReadOptions(const std::vector<std::string>& words, const std::set<std::string>& allowed,
                                       Options& options, std::vector<std::string>& paths)
{
    auto& request = options.request;
    const std::map<std::string, std::int32_t*> numbers{
        {"--ab", &request.nAudioBitRate}, {"--ac", &request.nAudioChannels}, {"--ar", &request.nSampleRate},
        {"--vb", &request.nVideoBitRate}, {"--fps", &request.nFrameRate}};
    for (std::size_t at = 1; at < words.size(); ++at) {
        const auto& word = words[at];
        if (!word.starts_with("--")) {
            paths.push_back(word);
            continue;
        }
        if (!allowed.contains(word)) return "unknown option " + word + " for " + words[0];
        if (at + 1 == words.size()) return word + " needs a value";
        const auto& value = words[++at];
        if (word == "--to") {
            options.target = value;
        } else if (word == "--at") {
            options.position = value;
        } else if (word == "--size") {
            if (!ReadSize(value, request)) return "--size takes WIDTHxHEIGHT, as in 352x288";
        } else if (!ReadNumber(value, *numbers.at(word))) {
            return word + " takes a whole number";
        }
    }
    return std::nullopt;
}

ParseResult ParseProbe(const std::vector<std::string>& words)
{
    Options options;
    if (words.size() != 2) return Fail("probe takes one file");
    if (!CopyPath(options.request.szSourceFile, words[1]))
        return Fail("the file name is empty or longer than 259 bytes");
    options.input = words[1];
    return {options, {}};
}

ParseResult ParseConvert(const std::vector<std::string>& words)
{
    Options options;
    options.action = Action::Convert;
    std::vector<std::string> paths;
    if (auto wrong = ReadOptions(words, kVideoOptions, options, paths)) return Fail(*wrong);
    if (!kTargets.contains(options.target)) return Fail("--to must be one of avi, mpg, flv, m4v, mp4, mov, vob, dvd");
    if (paths.size() != 2) return Fail("convert takes one input and one output file");
    if (!CopyPath(options.request.szSourceFile, paths[0]) || !CopyPath(options.request.szOutputFile, paths[1]))
        return Fail("a file name is empty or longer than 259 bytes");
    options.input = paths[0];
    return {options, {}};
}

ParseResult ParseThumbnail(const std::vector<std::string>& words)
{
    Options options;
    options.action = Action::Thumbnail;
    std::vector<std::string> paths;
    if (auto wrong = ReadOptions(words, {"--at"}, options, paths)) return Fail(*wrong);
    if (paths.size() != 2) return Fail("thumbnail takes one video and one picture file");
    if (paths[0].empty() || paths[1].empty() || options.position.empty())
        return Fail("the video, the picture and the position must not be empty");
    options.input = paths[0];
    options.picture = paths[1];
    return {options, {}};
}

ParseResult ParseJoin(const std::vector<std::string>& words)
{
    Options options;
    options.action = Action::Join;
    std::vector<std::string> paths;
    if (auto wrong = ReadOptions(words, kVideoOptions, options, paths)) return Fail(*wrong);
    if (!kTargets.contains(options.target)) return Fail("--to must be one of avi, mpg, flv, m4v, mp4, mov, vob, dvd");
    if (paths.size() < 2) return Fail("join takes one or more input files and one output file");
    auto& request = options.request;
    request.nOutputFormat = kTargets.at(options.target);
    const std::string output = paths.back();
    paths.pop_back();
    if (std::any_of(paths.begin(), paths.end(), [](const auto& path) { return path.empty(); }))
        return Fail("an input file name is empty");
    if (!CopyPath(request.szOutputFile, output)) return Fail("the output file name is empty or longer than 259 bytes");
    options.input = paths.front();
    options.joinList = std::move(paths);
    return {options, {}};
}

ParseResult ParseDvdFiles(const std::vector<std::string>& words)
{
    Options options;
    options.action = Action::DvdFiles;
    if (words.size() != 2) return Fail("dvd-files takes one authoring file");
    if (!CopyPath(options.request.szSourceFile, words[1]))
        return Fail("the authoring file name is empty or longer than 259 bytes");
    options.input = words[1];
    return {options, {}};
}

ParseResult ParseAudio(const std::vector<std::string>& words, Action action)
{
    Options options;
    options.action = action;
    std::vector<std::string> paths;
    if (auto wrong = ReadOptions(words, kAudioOptions, options, paths)) return Fail(*wrong);
    if (paths.size() != 2) return Fail(words[0] + " takes one input and one output file");
    if (!CopyPath(options.request.szSourceFile, paths[0]) || !CopyPath(options.request.szOutputFile, paths[1]))
        return Fail("a file name is empty or longer than 259 bytes");
    options.input = paths[0];
    return {options, {}};
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
    const std::string extension = velmora::platform::LowerExtension(output);
    if (extension == ".wav") return MediaLibrary::Header::kFormatWav;
    if (extension == ".mp3") return MediaLibrary::Header::kFormatMp3;
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

ParseResult ParseCddb(const std::vector<std::string>& words)
{
    if (words.size() != 2 && words.size() != 3) return Fail("cddb takes one drive letter and, if you like, a match number");
    const auto drive = ReadDriveLetter(words[1]);
    if (!drive) return Fail("cddb takes a drive letter, as in D");
    Options options;
    options.action = Action::Cddb;
    options.drive = *drive;
    if (words.size() == 3) {
        std::int32_t chosen = 0;
        if (!ReadNumber(words[2], chosen) || chosen < 1) return Fail("the match number counts from 1");
        options.match = chosen;
    }
    return {options, {}};
}

// rip LETTER FOLDER [--wav|--mp3] [--match N] and the audio quality options.
ParseResult ParseRip(const std::vector<std::string>& words)
{
    Options options;
    options.action = Action::Rip;
    options.request.nOutputFormat = MediaLibrary::Header::kFormatMp3;
    std::vector<std::string> rest{words[0]};
    for (std::size_t at = 1; at < words.size(); ++at) {
        if (words[at] == "--wav" || words[at] == "--mp3") {
            options.request.nOutputFormat =
                words[at] == "--wav" ? MediaLibrary::Header::kFormatWav : MediaLibrary::Header::kFormatMp3;
        } else if (words[at] == "--match") {
            std::int32_t chosen = 0;
            if (at + 1 == words.size() || !ReadNumber(words[at + 1], chosen) || chosen < 1)
                return Fail("--match takes the number of a CDDB match, from 1");
            options.match = chosen;
            ++at;
        } else {
            rest.push_back(words[at]);
        }
    }
    std::vector<std::string> paths;
    if (auto wrong = ReadOptions(rest, kAudioOptions, options, paths)) return Fail(*wrong);
    if (paths.size() != 2) return Fail("rip takes a drive letter and an output folder");
    const auto drive = ReadDriveLetter(paths[0]);
    if (!drive) return Fail("rip takes a drive letter, as in D");
    if (paths[1].empty()) return Fail("the output folder is empty");
    options.drive = *drive;
    options.folder = paths[1];
    return {options, {}};
}

}  // namespace

std::string Usage()
{
    return "usage: lumetra [-v] COMMAND ...      (-v: the log's lines on standard error too)\n"
           "       lumetra --help | -h | --version\n"
           "       lumetra probe FILE\n"
           "       lumetra convert --to avi|mpg|flv|m4v|mp4|mov|vob|dvd\n"
           "               [--ab KBITS] [--ac CHANNELS] [--ar HZ] [--vb KBITS] [--fps N] [--size WxH] IN OUT\n"
           "       lumetra thumbnail [--at TIME] VIDEO PICTURE.png    (half the video's size; TIME 0 unless given)\n"
           "       lumetra join --to avi|mpg|flv|m4v|mp4|mov|vob|dvd [the options of convert] IN... OUT\n"
           "       lumetra dvd-files AUTHORING.xml                   (dvdauthor XML; writes VIDEO_TS into its dest)\n"
           "       lumetra mp3-to-wav [--ab KBITS] [--ac CHANNELS] [--ar HZ] IN.mp3 OUT.wav\n"
           "       lumetra wav-to-mp3 [--ab KBITS] [--ac CHANNELS] [--ar HZ] IN.wav OUT.mp3\n"
           "       lumetra cd-tracks LETTER\n"
           "       lumetra cd-rip LETTER:TRACK OUT.wav|OUT.mp3\n"
           "       lumetra cddb LETTER [MATCH]                       (CDDB matches; with one or MATCH: its titles)\n"
           "       lumetra rip LETTER FOLDER [--wav|--mp3] [--match N] [--ab KBITS] [--ac CHANNELS] [--ar HZ]\n"
           "               (every audio track, named and tagged from CD-TEXT or CDDB, checked with AccurateRip,\n"
           "               with rip.log; MP3 unless --wav; exit 0 only when every track was ripped exactly)\n";
}

namespace {

ParseResult Just(Action action)
{
    Options options;
    options.action = action;
    return {std::move(options), {}};
}

ParseResult ParseCommand(const std::vector<std::string>& words)
{
    if (words.empty()) return Fail("no command given");
    const auto& command = words[0];
    if (words.size() == 1 && (command == "--help" || command == "-h")) return Just(Action::Help);
    if (words.size() == 1 && command == "--version") return Just(Action::Version);
    if (command == "probe") return ParseProbe(words);
    if (command == "convert") return ParseConvert(words);
    if (command == "thumbnail") return ParseThumbnail(words);
    if (command == "join") return ParseJoin(words);
    if (command == "dvd-files") return ParseDvdFiles(words);
    if (command == "mp3-to-wav") return ParseAudio(words, Action::Mp3ToWav);
    if (command == "wav-to-mp3") return ParseAudio(words, Action::WavToMp3);
    if (command == "cd-tracks") return ParseCdTracks(words);
    if (command == "cd-rip") return ParseCdRip(words);
    if (command == "cddb") return ParseCddb(words);
    if (command == "rip") return ParseRip(words);
    return Fail("unknown command '" + command + "'");
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& given)
{
    std::vector<std::string> words = given;
    const bool verbose = !words.empty() && (words[0] == "-v" || words[0] == "--verbose");
    if (verbose) words.erase(words.begin());
    auto parsed = ParseCommand(words);
    if (parsed.options) parsed.options->verbose = verbose;
    return parsed;
}

}  // namespace lumetra::cli
