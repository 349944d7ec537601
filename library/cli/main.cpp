// lumetra: the library's exports from the command line.

#include "Lumetra.h"
#include "Options.h"
#include "drives/DriveTable.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <vector>

namespace {

using MediaLibrary::Header::CD_TEXT_INFO;
using MediaLibrary::Header::MEDIACONVERSIONINFO;

int Probe(const lumetra::cli::Options& options)
{
    MEDIACONVERSIONINFO facts = options.request;
    GetDefaultPara(&facts);
    char length[20] = "";
    GetPlayLength(options.input.c_str(), length);
    const bool anything = length[0] || facts.nWidth || facts.nSampleRate || facts.nVideoBitRate;
    if (!anything) {
        std::fprintf(stderr, "lumetra: no media facts could be read from %s\n", options.input.c_str());
        return 1;
    }
    std::printf("play length:     %s\n", length[0] ? length + (length[0] == ' ') : "unknown");
    std::printf("width:           %d\n", facts.nWidth);
    std::printf("height:          %d\n", facts.nHeight);
    std::printf("frame rate:      %d\n", facts.nFrameRate);
    std::printf("video bit rate:  %d kb/s\n", facts.nVideoBitRate);
    std::printf("sample rate:     %d Hz\n", facts.nSampleRate);
    std::printf("audio bit rate:  %d kb/s\n", facts.nAudioBitRate);
    return 0;
}

int Convert(const lumetra::cli::Options& options)
{
    static const std::map<std::string, Lumetra::ConvertFn> kExports{
        {"avi", Convert_Video_TO_AVI}, {"mpg", Convert_Video_TO_MPG}, {"flv", Convert_Video_TO_FLV},
        {"m4v", Convert_Video_TO_M4V}, {"mp4", Convert_Video_TO_MP4}, {"mov", Convert_Video_TO_MOV},
        {"vob", Convert_Video_TO_VOB}, {"dvd", Convert_Video_TO_DVD}};
    std::error_code error;
    if (!std::filesystem::is_regular_file(options.input, error)) {
        std::fprintf(stderr, "lumetra: %s is not a file\n", options.input.c_str());
        return 1;
    }
    kExports.at(options.target)(options.request);
    const char* output = options.request.szOutputFile;
    if (!std::filesystem::exists(output, error) || std::filesystem::file_size(output, error) == 0) {
        std::fprintf(stderr, "lumetra: the conversion wrote no %s (see the log for the encoder's words)\n", output);
        return 1;
    }
    std::printf("%s\n", output);
    return 0;
}

// The disc's tracks as the window lists them: one record per .cda file of the drive's root.
int ListCdTracks(char drive)
{
    const std::string root{drive, ':', '\\'};
    const auto names = velmora::platform::DriveTable::Load().FindFiles(root + "*.cda");
    if (names.empty()) {
        std::fprintf(stderr, "lumetra: drive %s holds no audio tracks\n", root.c_str());
        return 1;
    }
    std::vector<CD_TEXT_INFO> tracks(names.size());
    for (std::size_t at = 0; at < names.size(); ++at)
        std::snprintf(tracks[at].szTitle, sizeof tracks[at].szTitle, "%s", names[at].c_str());
    auto count = static_cast<unsigned>(tracks.size());
    int result = GET_CD_TEXT_INFO(drive, tracks.data(), &count);
    if (result == MediaLibrary::Result::kCdArrayTooSmall) {
        tracks.assign(count, CD_TEXT_INFO{});
        result = GET_CD_TEXT_INFO(drive, tracks.data(), &count);
    }
    if (result != 0) {
        std::fprintf(stderr, "lumetra: the tracks of drive %s cannot be read (%d)\n", root.c_str(), result);
        return 1;
    }
    std::printf("%-6s %-8s %-8s %s\n", "track", "length", "size", "path");
    for (unsigned at = 0; at < count; ++at)
        std::printf("%-6d %-8s %-8s %s\n", tracks[at].nTrackNo, tracks[at].szLength, tracks[at].szSize,
                    tracks[at].szPath);
    return 0;
}

int RipCdTrack(const lumetra::cli::Options& options)
{
    const int result = Convert_CD_TO_MP3(options.request);
    if (result != 0) {
        std::fprintf(stderr, "lumetra: track %s cannot be ripped (%d, see the log)\n", options.input.c_str(), result);
        return 1;
    }
    const char* output = options.request.szOutputFile;
    std::error_code error;
    if (!std::filesystem::exists(output, error) || std::filesystem::file_size(output, error) == 0) {
        std::fprintf(stderr, "lumetra: the rip wrote no %s (see the log)\n", output);
        return 1;
    }
    std::printf("%s\n", output);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const auto parsed = lumetra::cli::ParseArguments({argv + 1, argv + argc});
    if (!parsed.options) {
        std::fprintf(stderr, "lumetra: %s\n%s", parsed.error.c_str(), lumetra::cli::Usage().c_str());
        return 2;
    }
    const auto& options = *parsed.options;
    switch (options.action) {
    case lumetra::cli::Action::Probe:
        return Probe(options);
    case lumetra::cli::Action::Convert:
        return Convert(options);
    case lumetra::cli::Action::CdTracks:
        return ListCdTracks(options.drive);
    case lumetra::cli::Action::CdRip:
        return RipCdTrack(options);
    }
    return 2;
}
