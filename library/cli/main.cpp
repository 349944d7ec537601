// lumetra: the library's exports from the command line.

#include "Lumetra.h"
#include "Options.h"

#include <cstdio>
#include <filesystem>
#include <map>

namespace {

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

}  // namespace

int main(int argc, char** argv)
{
    const auto parsed = lumetra::cli::ParseArguments({argv + 1, argv + argc});
    if (!parsed.options) {
        std::fprintf(stderr, "lumetra: %s\n%s", parsed.error.c_str(), lumetra::cli::Usage().c_str());
        return 2;
    }
    return parsed.options->action == lumetra::cli::Action::Probe ? Probe(*parsed.options) : Convert(*parsed.options);
}
