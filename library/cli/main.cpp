// lumetra: the library's exports from the command line.

#include "Interrupts.h"
#include "Lumetra.h"
#include "Options.h"
#include "drives/DriveTable.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace {

using MediaLibrary::Header::CD_TEXT_INFO;
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

// The library's verdict first, then what it wrote.
int Judge(const char* output, const char* what)
{
    if (const char* failure = GetLastFailure(); failure[0] != '\0') {
        std::fprintf(stderr, "lumetra: %s\n", failure);
        return 1;
    }
    if (!HasContent(output)) {
        std::fprintf(stderr, "lumetra: the %s wrote no %s (see the log for the tool's words)\n", what, output);
        return 1;
    }
    std::printf("%s\n", output);
    return 0;
}

int Probe(const Options& options)
{
    MEDIACONVERSIONINFO facts;
    char length[20] = "";
    if (GetMediaFacts(options.input.c_str(), &facts, length) == 0) {
        std::fprintf(stderr, "lumetra: %s\n", GetLastFailure());
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
    if (const char* failure = GetLastFailure(); failure[0] != '\0') {
        std::fprintf(stderr, "lumetra: %s\n", failure);
        return 1;
    }
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
    std::vector<const char*> paths;
    for (const auto& path : options.joinList) paths.push_back(path.c_str());
    Convert_Join_To_Single(options.request, paths.data(), static_cast<unsigned>(paths.size()));
    return Judge(options.request.szOutputFile, "join");
}

// The folder the library authors into, as it reads the authoring file's dest.
std::optional<std::filesystem::path> AuthoringDestination(const std::string& xmlFile)
{
    std::string folder(256, '\0');
    auto length = GetDVDFilesFolder(xmlFile.c_str(), folder.data(), static_cast<unsigned>(folder.size()));
    if (length >= folder.size()) {
        folder.assign(length + 1, '\0');
        length = GetDVDFilesFolder(xmlFile.c_str(), folder.data(), static_cast<unsigned>(folder.size()));
    }
    if (length == 0 || length >= folder.size()) return std::nullopt;
    folder.resize(length);
    return folder;
}

int DvdFiles(const Options& options)
{
    if (!IsFile(options.input)) return 1;
    const auto dest = AuthoringDestination(options.input);
    if (!dest) {
        std::fprintf(stderr, "lumetra: %s\n", GetLastFailure());
        return 1;
    }
    GenerateDVDFiles(options.input.c_str());
    if (const char* failure = GetLastFailure(); failure[0] != '\0') {
        std::fprintf(stderr, "lumetra: %s\n", failure);
        return 1;
    }
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

// The track records of the disc in the drive, named by its .cda files; empty (and said) on failure.
std::vector<CD_TEXT_INFO> ReadTrackTable(char drive)
{
    const std::string root{drive, ':', '\\'};
    const auto names = velmora::platform::DriveTable::Load().FindFiles(root + "*.cda");
    if (names.empty()) {
        // The library says why, when the drive cannot be read at all.
        unsigned none = 0;
        GET_CD_TEXT_INFO(drive, nullptr, &none);
        const char* failure = GetLastFailure();
        std::fprintf(stderr, "lumetra: %s\n", failure[0] ? failure : ("drive " + root + " holds no audio tracks").c_str());
        return {};
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
        return {};
    }
    tracks.resize(count);
    return tracks;
}

int ListCdTracks(char drive)
{
    const auto tracks = ReadTrackTable(drive);
    if (tracks.empty()) return 1;
    std::printf("%-6s %-8s %-8s %s\n", "track", "length", "size", "path");
    for (const auto& track : tracks)
        std::printf("%-6d %-8s %-8s %s\n", track.nTrackNo, track.szLength, track.szSize, track.szPath);
    return 0;
}

int RipCdTrack(const Options& options)
{
    const int result = Convert_CD_TO_MP3(options.request);
    if (result != 0) {
        std::fprintf(stderr, "lumetra: track %s cannot be ripped: %s (%d)\n", options.input.c_str(), GetLastFailure(),
                     result);
        return 1;
    }
    return Judge(options.request.szOutputFile, "rip");
}

// Matches made by the library go back to it.
class MatchList {
public:
    MatchList() = default;
    MatchList(const MatchList&) = delete;
    MatchList& operator=(const MatchList&) = delete;
    ~MatchList() { FreeCDDBMatches(&matches_); }
    std::vector<CDDB::CQueryResult*>* get() { return &matches_; }
    const std::vector<CDDB::CQueryResult*>& items() const { return matches_; }

private:
    std::vector<CDDB::CQueryResult*> matches_;
};

int LookUpDisc(const Options& options)
{
    MatchList matches;
    ReadCDDB(options.drive, matches.get());
    const auto& found = matches.items();
    if (found.empty()) {
        if (const char* failure = GetLastFailure(); failure[0] != '\0')
            std::fprintf(stderr, "lumetra: %s\n", failure);
        else
            std::fprintf(stderr, "lumetra: no CDDB match for the disc in %c:\n", options.drive);
        return 1;
    }
    for (std::size_t at = 0; at < found.size(); ++at)
        std::printf("%zu: %s %s %s / %s\n", at + 1, found[at]->strCategory.c_str(), found[at]->strDiscId.c_str(),
                    found[at]->strArtist.c_str(), found[at]->strTitle.c_str());
    if (options.match == 0 && found.size() > 1) return 0;
    const std::size_t chosen = options.match == 0 ? 0 : static_cast<std::size_t>(options.match - 1);
    if (chosen >= found.size()) {
        std::fprintf(stderr, "lumetra: there is no match %d\n", options.match);
        return 1;
    }

    auto tracks = ReadTrackTable(options.drive);
    if (tracks.empty()) return 1;
    for (auto& track : tracks) track.szTitle[0] = '\0';
    if (GetCDEntry(tracks.data(), static_cast<int>(tracks.size()), found[chosen]) == 0) {
        std::fprintf(stderr, "lumetra: %s\n", GetLastFailure());
        return 1;
    }
    std::printf("artist: %s\n", tracks.front().szArtist);
    for (const auto& track : tracks) std::printf("%2d. %s\n", track.nTrackNo, track.szTitle);
    return 0;
}

// The titles the user chose for the disc: CD-TEXT or the CDDB match, given to the library with the
// track records as the window does. False when the matches leave the choice to the user.
bool ChooseTitles(const Options& options, std::vector<CD_TEXT_INFO> tracks)
{
    MatchList matches;
    ReadCDDB(options.drive, matches.get());
    const auto& found = matches.items();
    if (found.empty()) {
        std::fprintf(stderr, "lumetra: no titles for the disc; its tracks are named by number\n");
        return true;
    }
    if (options.match == 0 && found.size() > 1) {
        std::fprintf(stderr, "lumetra: the disc has %zu CDDB matches; choose one with --match N:\n", found.size());
        for (std::size_t at = 0; at < found.size(); ++at)
            std::fprintf(stderr, "%zu: %s %s %s / %s\n", at + 1, found[at]->strCategory.c_str(),
                         found[at]->strDiscId.c_str(), found[at]->strArtist.c_str(), found[at]->strTitle.c_str());
        return false;
    }
    const std::size_t chosen = options.match == 0 ? 0 : static_cast<std::size_t>(options.match - 1);
    if (chosen >= found.size()) {
        std::fprintf(stderr, "lumetra: there is no match %d\n", options.match);
        return false;
    }
    for (auto& track : tracks) track.szTitle[0] = '\0';
    GetCDEntry(tracks.data(), static_cast<int>(tracks.size()), found[chosen]);
    return true;
}

// One line per track: its file and verdict, or why it failed.
bool RipTracks(LumetraDiscRip* rip, const std::vector<CD_TEXT_INFO>& tracks)
{
    bool allExact = true;
    for (std::size_t at = 0; at < tracks.size() && !lumetra::cli::InterruptCanceller::Interrupted(); ++at) {
        std::fprintf(stderr, "lumetra: ripping track %d (%zu of %zu)\n", tracks[at].nTrackNo, at + 1, tracks.size());
        MediaLibrary::Header::RIP_TRACK_REPORT report;
        if (RipDiscTrack(rip, tracks[at].nTrackNo, &report) != 0) {
            allExact = false;
            std::printf("%02d  failed: %s\n", tracks[at].nTrackNo, GetLastFailure());
            continue;
        }
        std::printf("%02d  %s  CRC32 %08X  %s\n", report.nTrackNo, report.szOutputFile, report.nCrc32, report.szVerdict);
    }
    return allExact;
}

int RipDisc(const Options& options)
{
    const auto tracks = ReadTrackTable(options.drive);
    if (tracks.empty()) return 1;
    if (!ChooseTitles(options, tracks)) return 1;
    LumetraDiscRip* rip = BeginDiscRip(options.drive, options.folder.c_str(), options.request);
    if (!rip) {
        std::fprintf(stderr, "lumetra: %s\n", GetLastFailure());
        return 1;
    }
    const bool allExact = RipTracks(rip, tracks);
    char log[MediaLibrary::Header::kPathCapacity * 2] = "";
    if (EndDiscRip(rip, log, sizeof log) != 0) {
        std::fprintf(stderr, "lumetra: %s\n", GetLastFailure());
        return 1;
    }
    std::printf("rip log: %s\n", log);
    if (!allExact) std::fprintf(stderr, "lumetra: not every track was ripped exactly (see the rip log)\n");
    return allExact ? 0 : 1;
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
    case lumetra::cli::Action::CdTracks: return ListCdTracks(options.drive);
    case lumetra::cli::Action::CdRip: return RipCdTrack(options);
    case lumetra::cli::Action::Cddb: return LookUpDisc(options);
    case lumetra::cli::Action::Rip: return RipDisc(options);
    case lumetra::cli::Action::Help: std::fputs(lumetra::cli::Usage().c_str(), stdout); return 0;
    case lumetra::cli::Action::Version: std::puts("lumetra " VELMORA_SHORT_VERSION); return 0;
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
    if (parsed.options->verbose) SetLogEcho(1);
    const lumetra::cli::InterruptCanceller canceller;
    const int status = Run(*parsed.options);
    if (!lumetra::cli::InterruptCanceller::Interrupted()) return status;
    std::fprintf(stderr, "lumetra: interrupted\n");
    return 1;
}
