#include "BurnFlow.h"

#include "writers/DiscFormatAudio.h"
#include "writers/DiscFormatData.h"

namespace velmora::discburn {
namespace {

constexpr int kInitializingRecorderRow = 59;   // "Initializing Disc Recorder..."
constexpr int kCreatingIsoImageRow = 61;       // "Creating ISO Image"
constexpr int kFinalizingImageRow = 62;        // "Finalizing Image"
constexpr int kWritingIsoImageRow = 63;        // "Writing ISO Image to Disk"

}  // namespace

HResult BurnFlow::BurnDataDisc(const std::string& recorderId, const std::vector<ImageEntry>& entries, bool verify)
{
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, recorderId, true)) return Refusal();
    CDiscFormatData writer;
    writer.closeMedia = true;
    HResult refusal = kNotSupported;
    if (writer.Initialize(&device, kClientName, false)) {
        refusal = kOk;
        if (!writer.IsBlankMedia()) {
            window_.ShowError(kMediaNotWritableRow);
            refusal = kMediaNotBlank;
        } else if (auto image = BuildImage(*this, entries)) {
            writer.Write(image.get(), this);
            VerifyAndEject(writer, device, verify);
        } else {
            return EndJob(device, lastResult_.first, lastResult_.second, kImageBuildFailed);
        }
    }
    return EndJob(device, writer.hr, writer.errorText, refusal);
}

HResult BurnFlow::BurnIsoImage(const std::string& recorderId, const std::filesystem::path& image, bool verify)
{
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, recorderId, true)) return Refusal();
    CDiscFormatData writer;
    HResult refusal = kNotSupported;
    if (writer.Initialize(&device, kClientName, false)) {
        refusal = kOk;
        if (BurnSource* source = FileBurnSource(image)) {
            window_.SendStatus(window_.UiText(kWritingIsoImageRow));
            ImageStream stream(source);
            writer.closeMedia = true;
            writer.Write(&stream, this);
            VerifyAndEject(writer, device, verify);
        } else {
            writer.hr = kFileError;
            writer.errorText = "Cannot read " + image.string();
        }
    }
    return EndJob(device, writer.hr, writer.errorText, refusal);
}

HResult BurnFlow::BurnAudioDisc(const std::string& recorderId, const std::vector<AudioTrack>& tracks,
                                const DiscText& text, bool verify)
{
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, recorderId, true)) return Refusal();
    CDiscFormatAudio writer;
    HResult refusal = kNotSupported;
    if (writer.Initialize(&device, kClientName)) {
        refusal = kOk;
        writer.BurnTracks(this, tracks, text);
        if (writer.hr == kMediaNotBlank) window_.ShowError(kMediaNotWritableRow);
        VerifyAndEject(writer, device, verify);
    }
    return EndJob(device, writer.hr, writer.errorText, refusal);
}

HResult BurnFlow::WriteIsoFile(const std::string& recorderId, bool exclusive, const std::vector<ImageEntry>& entries,
                               const std::filesystem::path& path, bool showFinalizing)
{
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, recorderId, exclusive)) return Refusal();
    CDiscFormatData writer;
    HResult refusal = kNotSupported;
    if (writer.Initialize(&device, kClientName, exclusive)) {
        refusal = kOk;
        auto image = BuildImage(*this, entries);
        if (!image) return EndJob(device, lastResult_.first, lastResult_.second, kImageBuildFailed);
        window_.SendStatus(window_.UiText(kCreatingIsoImageRow));
        writer.closeMedia = true;
        writer.CreateISO(image.get(), this, path);
        if (showFinalizing) window_.SendStatus(window_.UiText(kFinalizingImageRow));
        device.Eject();
    }
    return EndJob(device, writer.hr, writer.errorText, refusal);
}

bool BurnFlow::OpenBurnRecorder(CRecorderDevice& device, const std::string& recorderId, bool exclusive)
{
    if (window_.IsCancelRequested()) {
        SendResult(kOk, "User Canceled!");
        lastResult_.first = kCancelled;
        return false;
    }
    window_.SendStatus(window_.UiText(kInitializingRecorderRow));
    if (recorderId.empty()) {
        SendResult(kOk, "Error: No Recorder Found for selected device");
        return false;
    }
    if (!device.Open(recorderId)) {
        SendResult(device.hr, "Failed to initialize recorder - Unique ID:" + recorderId);
        return false;
    }
    if (!exclusive || device.AcquireExclusive(kClientName)) return true;
    SendResult(device.hr, "Failed: " + device.ExclusiveOwner() + " is exclusive owner");
    return false;
}

template <typename Writer>
void BurnFlow::VerifyAndEject(Writer& writer, CRecorderDevice& device, bool verify)
{
    const HResult written = writer.hr;
    if (verify && writer.hr >= 0 && writer.Verify(this) && writer.hr >= 0) {
        writer.errorText = UiText(kBurnVerifiedRow);
        // What was left off the disc (its CD-TEXT) is still said.
        if (const std::string note = WhatWasLeftOff(written); !note.empty()) writer.errorText += " " + note;
    }
    device.Eject();
}

HResult BurnFlow::EndJob(CRecorderDevice& device, HResult hr, const std::string& errorText, HResult refusal)
{
    device.ReleaseExclusive();
    // A stop the user asked for says so, rather than naming the step it interrupted.
    if ((hr < 0 || refusal < 0) && window_.IsCancelRequested()) SendResult(kOk, "User Canceled!");
    else SendResult(hr, errorText);
    return hr < 0 ? hr : refusal;
}

HResult BurnFlow::Refusal() const
{
    return lastResult_.first < 0 ? lastResult_.first : kNoSuchRecorder;
}

void BurnFlow::SendResult(HResult hr, const std::string& text)
{
    lastResult_ = {hr, text};
    window_.SendResult(hr, text);
}

}  // namespace velmora::discburn
