// lumetra: the library's exports from the command line.

#include "Lumetra.h"
#include "Options.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

namespace {

using MediaLibrary::Header::MEDIACONVERSIONINFO;
using lumetra::cli::Options;

bool IsFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return true;
    std::fprintf(stderr, "lumetra: %s is not a file\n", path.c_str());
    return false;
}

bool HasContent(const std::filesystem::path& file)
{
    std::error_code error;
    return std::filesystem::exists(file, error) && std::filesystem::file_size(file, error) > 0 && !error;
}

// The library reports nothing: what it wrote is the verdict.
int Judge(const char* output, const char* what)
{
    if (!HasContent(output)) {
        std::fprintf(stderr, "lumetra: the %s wrote no %s (see the log for the tool's words)\n", what, output);
        return 1;
    }
    std::printf("%s\n", output);
    return 0;
}

int Probe(const Options& options)
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

int Convert(const Options& options)
{
    static const std::map<std::string, Lumetra::ConvertFn> kExports{
        {"avi", Convert_Video_TO_AVI}, {"mpg", Convert_Video_TO_MPG}, {"flv", Convert_Video_TO_FLV},
        {"m4v", Convert_Video_TO_M4V}, {"mp4", Convert_Video_TO_MP4}, {"mov", Convert_Video_TO_MOV},
        {"vob", Convert_Video_TO_VOB}, {"dvd", Convert_Video_TO_DVD}};
    if (!IsFile(options.input)) return 1;
    kExports.at(options.target)(options.request);
    return Judge(options.request.szOutputFile, "conversion");
}

int Thumbnail(const Options& options)
{
    if (!IsFile(options.input)) return 1;
    GeTThumbNailForVideoFile(options.position.c_str(), options.input.c_str(), options.picture.c_str());
    if (!HasContent(options.picture)) {
        std::fprintf(stderr, "lumetra: %s has no picture at %s (audio only, or past its end?)\n",
                     options.input.c_str(), options.position.c_str());
        return 1;
    }
    std::printf("%s\n", options.picture.c_str());
    return 0;
}

int Join(const Options& options)
{
    for (const auto& path : options.joinList)
        if (!IsFile(path)) return 1;
    std::error_code error;
    if (std::filesystem::exists(options.request.szSourceFile, error)) {
        std::fprintf(stderr, "lumetra: %s is in the way of the joined file; move it away first\n",
                     options.request.szSourceFile);
        return 1;
    }
    std::vector<const char*> paths;
    for (const auto& path : options.joinList) paths.push_back(path.c_str());
    Convert_Join_To_Single(options.request, paths.data(), static_cast<unsigned>(paths.size()));
    return Judge(options.request.szOutputFile, "join");
}

// The dest attribute of the authoring file's root element, with XML's named entities decoded.
std::optional<std::filesystem::path> AuthoringDestination(const std::string& xmlFile)
{
    std::ifstream in(xmlFile, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    const auto root = text.find("<dvdauthor");
    const auto attribute = text.find("dest=", root);
    if (root == std::string::npos || attribute == std::string::npos || attribute + 5 >= text.size())
        return std::nullopt;
    const char quote = text[attribute + 5];
    const auto close = text.find(quote, attribute + 6);
    if ((quote != '"' && quote != '\'') || close == std::string::npos) return std::nullopt;
    std::string dest = text.substr(attribute + 6, close - attribute - 6);
    // "&amp;" last, so that "&amp;lt;" stays "&lt;".
    static const std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&quot;", "\""}, {"&apos;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : kEntities)
        for (auto at = dest.find(entity); at != std::string::npos; at = dest.find(entity, at + 1))
            dest.replace(at, entity.size(), character);
    return dest;
}

int DvdFiles(const Options& options)
{
    if (!IsFile(options.input)) return 1;
    const auto dest = AuthoringDestination(options.input);
    if (!dest) {
        std::fprintf(stderr, "lumetra: %s names no dest folder for the DVD files\n", options.input.c_str());
        return 1;
    }
    GenerateDVDFiles(options.input.c_str());
    const auto menu = *dest / "VIDEO_TS" / "VIDEO_TS.IFO";
    if (!HasContent(menu)) {
        std::fprintf(stderr, "lumetra: dvdauthor wrote no %s (see the log for its words)\n", menu.c_str());
        return 1;
    }
    std::printf("%s\n", (*dest / "VIDEO_TS").c_str());
    return 0;
}

int ConvertAudio(const Options& options, Lumetra::ConvertFn convert)
{
    if (!IsFile(options.input)) return 1;
    convert(options.request);
    return Judge(options.request.szOutputFile, "conversion");
}

int Run(const Options& options)
{
    switch (options.action) {
    case lumetra::cli::Action::Probe: return Probe(options);
    case lumetra::cli::Action::Convert: return Convert(options);
    case lumetra::cli::Action::Thumbnail: return Thumbnail(options);
    case lumetra::cli::Action::Join: return Join(options);
    case lumetra::cli::Action::DvdFiles: return DvdFiles(options);
    case lumetra::cli::Action::Mp3ToWav: return ConvertAudio(options, Convert_MP3_TO_WAV);
    case lumetra::cli::Action::WavToMp3: return ConvertAudio(options, Convert_Wav_TO_MP3);
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const auto parsed = lumetra::cli::ParseArguments({argv + 1, argv + argc});
    if (!parsed.options) {
        std::fprintf(stderr, "lumetra: %s\n%s", parsed.error.c_str(), lumetra::cli::Usage().c_str());
        return 2;
    }
    return Run(*parsed.options);
}
