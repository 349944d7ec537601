#include "CueImageWriter.h"

#include "log/Log.h"
#include "mastering/TimeLeft.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace velmora::discburn {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;
constexpr std::size_t kTextLimit = 80;   // bytes of a TITLE or PERFORMER, as much as CD-TEXT shows
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

HResult FileError(const platform::PendingFile& file)
{
    LogMessage(1, "%s", file.Failure().c_str());
    return kFileError;
}

std::string Msf(std::uint64_t sector)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(sector / 75 / 60),
                  static_cast<unsigned>(sector / 75 % 60), static_cast<unsigned>(sector % 75));
    return text;
}

// A name the CUE sheet can quote.
bool IsQuotable(const std::string& name)
{
    return name.find_first_of("\"\r\n") == std::string::npos;
}

// Text lines of the sheet; an empty text is left off.
std::string TextLines(const char* indent, const std::string& title, const std::string& performer)
{
    std::string lines;
    if (const auto text = CueSheetText(title, kTextLimit); !text.empty()) lines += indent + ("TITLE \"" + text + "\"\n");
    if (const auto text = CueSheetText(performer, kTextLimit); !text.empty())
        lines += indent + ("PERFORMER \"" + text + "\"\n");
    return lines;
}

}  // namespace

class CueImageWriter::Progress {
public:
    Progress(BurnWindow& window, const std::vector<AudioTrack>& tracks)
        : window_(window), trackCount_(static_cast<int>(tracks.size()))
    {
        for (const auto& track : tracks) total_ += track.length;
    }
    // False when the window asks to stop.
    bool Report(int action, int track, bool now)
    {
        const auto time = std::chrono::steady_clock::now();
        if (!now && time < next_) return true;
        next_ = time + kProgressInterval;
        return window_.SendProgress({action, track, trackCount_, done_, total_, timeLeft_.Seconds(done_, total_)}) != 0;
    }
    void Add(std::uint64_t bytes) { done_ += bytes; }

private:
    BurnWindow& window_;
    int trackCount_;
    std::uint64_t done_ = 0, total_ = 0;
    TimeLeft timeLeft_;
    std::chrono::steady_clock::time_point next_{};
};

HResult CueImageWriter::Prepare()
{
    std::error_code error;
    if (!std::filesystem::is_directory(cue_.parent_path(), error) || !IsQuotable(cue_.stem().string())) return kFileError;
    // An image already there is a written disc: it may be someone's rip source.
    for (const auto& file : {cue_, bin_})
        if (std::filesystem::file_size(file, error) > 0 && !error) return kMediaNotBlank;
    return kOk;
}

HResult CueImageWriter::WriteTracks(const std::vector<AudioTrack>& tracks, const DiscText& text, BurnWindow& window, bool)
{
    written_.clear();
    if (tracks.empty()) return kOk;
    platform::PendingFile binFile(bin_);
    platform::PendingFile cueFile(cue_);
    if (!binFile.IsOpen() || !cueFile.IsOpen()) return FileError(binFile.IsOpen() ? cueFile : binFile);

    Progress progress(window, tracks);
    if (!progress.Report(kAudioPreparing, 0, true)) return kCancelled;
    std::string sheet = TextLines("", text.title, text.performer) + "FILE \"" + bin_.filename().string() + "\" BINARY\n";
    std::vector<TrackOnMedia> written;
    std::uint64_t sector = 0;
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        const int number = static_cast<int>(index + 1);
        if (!progress.Report(kAudioWriting, number, true)) return kCancelled;
        WrittenTrack track;
        if (const HResult hr = CopyTrack(tracks[index], number, binFile, progress, track); hr != kOk) return hr;
        written.push_back({sector * kCdSectorBytes, track});
        char entry[64];
        std::snprintf(entry, sizeof entry, "  TRACK %02d AUDIO\n", number);
        sheet += entry;
        if (index < text.tracks.size()) sheet += TextLines("    ", text.tracks[index].title, text.tracks[index].performer);
        sheet += "    INDEX 01 " + Msf(sector) + "\n";
        sector += PaddedTrackBytes(tracks[index].length) / kCdSectorBytes;
    }
    if (!progress.Report(kAudioFinishing, static_cast<int>(tracks.size()), true)) return kCancelled;
    // The BIN goes into place first, so the CUE never names a missing file.
    if (!cueFile.Write(sheet.data(), sheet.size())) return FileError(cueFile);
    if (!binFile.Commit()) return FileError(binFile);
    if (!cueFile.Commit()) return FileError(cueFile);
    written_ = std::move(written);
    return kOk;
}

// One track's samples into the BIN, hashed, then silence to its padded end.
HResult CueImageWriter::CopyTrack(const AudioTrack& track, int number, platform::PendingFile& binFile, Progress& progress,
                                  WrittenTrack& written)
{
    std::ifstream in(track.file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(track.offset));
    std::vector<char> block(kCopyBlock);
    Sha256 hash;
    for (std::uint64_t left = track.length; left > 0;) {
        const auto part = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        if (!in.read(block.data(), static_cast<std::streamsize>(part))) {
            LogMessage(1, "Track %d ended early: %s", number, track.file.c_str());
            return kFileError;
        }
        if (!binFile.Write(block.data(), part)) return FileError(binFile);
        hash.Add(block.data(), part);
        left -= part;
        progress.Add(part);
        if (!progress.Report(kAudioWriting, number, false)) return kCancelled;
    }
    if (!binFile.WriteZeros(PaddedTrackBytes(track.length) - track.length)) return FileError(binFile);
    written = {track.length, hash.Finish()};
    return kOk;
}

HResult CueImageWriter::Verify(BurnWindow& window, std::string& failure)
{
    return VerifyTracks(written_, FileReader(bin_), window, kAudioVerifying, failure);
}

}  // namespace velmora::discburn
