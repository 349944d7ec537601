#include "CueImageWriter.h"

#include "log/Log.h"
#include "files/PendingFile.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace velmora::discburn {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

HResult FileError(const platform::PendingFile& file)
{
    LogMessage(1, "%s", file.Failure().c_str());
    return kFileError;
}
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

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

class Progress {
public:
    Progress(BurnWindow& window, int trackCount) : window_(window), trackCount_(trackCount) {}
    // False when the window asks to stop.
    bool Report(int action, int track, bool now)
    {
        const auto time = std::chrono::steady_clock::now();
        if (!now && time < next_) return true;
        next_ = time + kProgressInterval;
        return window_.SendProgress({action, track, trackCount_}) != 0;
    }

private:
    BurnWindow& window_;
    int trackCount_;
    std::chrono::steady_clock::time_point next_{};
};

}  // namespace

HResult CueImageWriter::Prepare()
{
    std::error_code error;
    if (!std::filesystem::is_directory(cue_.parent_path(), error) || !IsQuotable(cue_.stem().string())) return kFileError;
    // An image already there is a written disc: it may be someone's rip source.
    auto bin = cue_;
    bin.replace_extension(".bin");
    for (const auto& file : {cue_, bin})
        if (std::filesystem::file_size(file, error) > 0 && !error) return kMediaNotBlank;
    return kOk;
}

HResult CueImageWriter::WriteTracks(const std::vector<AudioTrack>& tracks, BurnWindow& window, bool)
{
    if (tracks.empty()) return kOk;
    auto bin = cue_;
    bin.replace_extension(".bin");
    platform::PendingFile binFile(bin);
    platform::PendingFile cueFile(cue_);
    if (!binFile.IsOpen() || !cueFile.IsOpen()) return FileError(binFile.IsOpen() ? cueFile : binFile);

    Progress progress(window, static_cast<int>(tracks.size()));
    if (!progress.Report(kAudioPreparing, 0, true)) return kCancelled;
    std::string sheet = "FILE \"" + bin.filename().string() + "\" BINARY\n";
    std::vector<char> block(kCopyBlock);
    std::uint64_t sector = 0;
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        const auto& track = tracks[index];
        const int number = static_cast<int>(index + 1);
        if (!progress.Report(kAudioWriting, number, true)) return kCancelled;
        std::ifstream in(track.file, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(track.offset));
        for (std::uint64_t left = track.length; left > 0;) {
            const auto part = static_cast<std::streamsize>(std::min<std::uint64_t>(left, block.size()));
            if (!in.read(block.data(), part)) {
                LogMessage(1, "Track %d ended early: %s", number, track.file.c_str());
                return kFileError;
            }
            if (!binFile.Write(block.data(), static_cast<std::size_t>(part))) return FileError(binFile);
            left -= static_cast<std::uint64_t>(part);
            if (!progress.Report(kAudioWriting, number, false)) return kCancelled;
        }
        const std::uint64_t padded = PaddedTrackBytes(track.length);
        if (!binFile.WriteZeros(padded - track.length)) return FileError(binFile);
        char entry[64];
        std::snprintf(entry, sizeof entry, "  TRACK %02d AUDIO\n    INDEX 01 ", number);
        sheet += entry + Msf(sector) + "\n";
        sector += padded / kCdSectorBytes;
    }
    if (!progress.Report(kAudioFinishing, static_cast<int>(tracks.size()), true)) return kCancelled;
    // The BIN goes into place first, so the CUE never names a missing file.
    if (!cueFile.Write(sheet.data(), sheet.size())) return FileError(cueFile);
    if (!binFile.Commit()) return FileError(binFile);
    if (!cueFile.Commit()) return FileError(cueFile);
    return kOk;
}

}  // namespace velmora::discburn
