#pragma once

#include "image/ImageBuilder.h"
#include "mastering/BurnWindow.h"
#include "recorders/RecorderDevice.h"
#include "text/DiscText.h"
#include "writers/DiscFormatData.h"
#include "writers/AudioTrack.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace velmora::discburn {

// The burn jobs' work on a recorder, the same for the window and the command line: take the
// recorder, write, read back when asked, eject, give the recorder back and tell the window the end.
// Each returns the result code of the write (and of its verification); kOk only when all of it
// was written (and read back as written).
class BurnFlow : private BurnWindow {
public:
    explicit BurnFlow(BurnWindow& window) : window_(window) {}

    // An image of the entries onto the blank disc in the recorder.
    HResult BurnDataDisc(const std::string& recorderId, const std::vector<ImageEntry>& entries, bool verify);
    // An ISO image file onto the disc in the recorder.
    HResult BurnIsoImage(const std::string& recorderId, const std::filesystem::path& image, bool verify);
    // The tracks, with the text as CD-TEXT, onto a blank CD (or into the recorder's BIN/CUE image).
    HResult BurnAudioDisc(const std::string& recorderId, const std::vector<AudioTrack>& tracks, const DiscText& text,
                          bool verify);
    // An image of the entries into an ISO file, through the recorder as the window's jobs do it.
    HResult WriteIsoFile(const std::string& recorderId, const std::vector<ImageEntry>& entries,
                         const std::filesystem::path& path);

private:
    // Every job's frame: takes the recorder for itself, starts a Writer on it and runs the job, whose refusal
    // (kOk when it wrote, or told the writer why not) and the writer's result end it.
    template <typename Writer, typename Start, typename Job>
    HResult OnRecorder(const std::string& recorderId, Start start, Job job);
    // kOk, or what a job whose recorder did not open returns (the window has been told why).
    HResult OpenBurnRecorder(CRecorderDevice& device, const std::string& recorderId);
    // A failed image build: its own result, which the job's end repeats.
    HResult ImageBuildFailed(CDiscFormatData& writer) const;
    // Reads back what the writer wrote when asked; then ejects. The writer's hr and errorText.
    template <typename Writer>
    void VerifyAndEject(Writer& writer, CRecorderDevice& device, bool verify);
    // The end of every job that opened its recorder: the window is told hr and its text. Returns
    // hr when it failed, else the refusal (kOk when the job was not refused on a text of its own).
    HResult EndJob(CRecorderDevice& device, HResult hr, const std::string& errorText, HResult refusal);

    // BurnWindow: passed on, the last result kept.
    int SendProgress(const WriteProgress& progress) override { return window_.SendProgress(progress); }
    void SendStatus(const std::string& text) override { window_.SendStatus(text); }
    void SendResult(HResult hr, const std::string& text) override;
    bool IsCancelRequested() override { return window_.IsCancelRequested(); }
    std::string DateStamp() override { return window_.DateStamp(); }
    std::string UiText(int row) override { return window_.UiText(row); }
    void ShowError(int row) override { window_.ShowError(row); }

    BurnWindow& window_;
    // The last result sent: a failed image build's own, which the job's end repeats.
    std::pair<HResult, std::string> lastResult_{kOk, {}};
};

}  // namespace velmora::discburn
