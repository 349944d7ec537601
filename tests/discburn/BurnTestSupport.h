#pragma once

#include "CdImage.h"
#include "mastering/BurnWindow.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmora::discburn::test {

// A window that keeps everything the writers tell it and answers progress as the test says.
class RecordingWindow : public BurnWindow {
public:
    std::vector<WriteProgress> progress;
    std::vector<std::string> statuses;
    std::vector<std::pair<HResult, std::string>> results;
    std::vector<int> errors;   // the rows shown as errors
    std::function<int(const WriteProgress&)> reply = [](const WriteProgress&) { return 1; };
    std::function<bool()> cancelRequest = [] { return false; };

    int SendProgress(const WriteProgress& report) override
    {
        progress.push_back(report);
        return reply(report);
    }
    void SendStatus(const std::string& text) override { statuses.push_back(text); }
    void SendResult(HResult hr, const std::string& text) override { results.emplace_back(hr, text); }
    bool IsCancelRequested() override { return cancelRequest(); }
    std::string DateStamp() override { return "2009_11_18"; }
    std::string UiText(int row) override;
    void ShowError(int row) override { errors.push_back(row); }
};

// An ISO image read back with libisofs.
struct ReadImage {
    bool read = false, hasJoliet = false, hasRockRidge = false;
    std::string volumeId;
    std::map<std::string, std::uint64_t> files;   // "folder/sub/name" -> size; folders end in '/'
    std::map<std::string, std::string> contents;   // of files up to a few MB
    struct Extent {
        std::uint64_t offset, size;   // in the image, bytes
    };
    std::map<std::string, std::vector<Extent>> extents;
};

// preferJoliet reads the names of the Joliet tree instead of Rock Ridge's.
ReadImage ReadIsoImage(const std::filesystem::path& image, bool preferJoliet);

// The PCM of every audio track of a BIN/CUE image, read through the drive table; empty when unreadable.
std::vector<std::string> RipImage(const std::filesystem::path& cue);

// The CD-TEXT of a BIN/CUE image as libcdio reads it: the disc's title and performer, then each
// track's ("title / performer").
std::vector<std::string> CdTextOfImage(const std::filesystem::path& cue);

// The PCM as an audio-CD writer stores it: padded with silence to whole sectors and 4 seconds.
std::string Padded(const std::string& pcm);

// Sparse, with a byte of data every 4 MiB: a long write from a file that takes little room,
// since an ISO file is written without the holes of its sources.
void MakeSpottedFile(const std::filesystem::path& file, std::uint64_t size);

// Files in the folder whose name starts with a dot (the writers' temporary files).
std::vector<std::string> HiddenFiles(const std::filesystem::path& folder);

// A canonical WAV of 16-bit stereo PCM at the given rate; extra chunks go before "data".
std::string WaveFile(const std::string& pcm, int channels, int rate, const std::string& chunksBeforeData = "");
using velmora::test::TonePcm;

}  // namespace velmora::discburn::test
