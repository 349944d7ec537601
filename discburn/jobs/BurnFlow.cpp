#include "BurnFlow.h"

#include "writers/DiscFormatAudio.h"
#include "writers/DiscFormatData.h"

namespace velmora::discburn {

template <typename Writer, typename Start, typename Job>
HResult BurnFlow::OnRecorder(const std::string& recorderId, Start start, Job job)
{
    CRecorderDevice device;
    if (const HResult refused = OpenBurnRecorder(device, recorderId); refused != kOk) return refused;
    Writer writer;
    const HResult refusal = start(writer, device) ? job(writer, device) : kNotSupported;
    return EndJob(device, writer.hr, writer.errorText, refusal);
}

HResult BurnFlow::BurnDataDisc(const std::string& recorderId, const std::vector<ImageEntry>& entries, bool verify)
{
    return OnRecorder<CDiscFormatData>(
        recorderId, [](CDiscFormatData& writer, CRecorderDevice& device) {
            return writer.Initialize(&device, kClientName, false);
        },
        [&](CDiscFormatData& writer, CRecorderDevice& device) {
            if (!writer.IsBlankMedia()) {
                window_.ShowError(kMediaNotWritableRow);
                return kMediaNotBlank;
            }
            auto image = BuildImage(*this, entries);
            if (!image) return ImageBuildFailed(writer);
            writer.Write(image.get(), this);
            VerifyAndEject(writer, device, verify);
            return kOk;
        });
}

HResult BurnFlow::BurnIsoImage(const std::string& recorderId, const std::filesystem::path& image, bool verify)
{
    return OnRecorder<CDiscFormatData>(
        recorderId, [](CDiscFormatData& writer, CRecorderDevice& device) {
            return writer.Initialize(&device, kClientName, false);
        },
        [&](CDiscFormatData& writer, CRecorderDevice& device) {
            BurnSource* source = FileBurnSource(image);
            if (!source) {
                writer.hr = kFileError;
                writer.errorText = "Cannot read " + image.string();
                return kOk;
            }
            window_.SendStatus(window_.UiText(kWritingIsoImageRow));
            ImageStream stream(source);
            writer.Write(&stream, this);
            VerifyAndEject(writer, device, verify);
            return kOk;
        });
}

HResult BurnFlow::BurnAudioDisc(const std::string& recorderId, const std::vector<AudioTrack>& tracks,
                                const DiscText& text, bool verify)
{
    return OnRecorder<CDiscFormatAudio>(
        recorderId, [](CDiscFormatAudio& writer, CRecorderDevice& device) {
            return writer.Initialize(&device, kClientName);
        },
        [&](CDiscFormatAudio& writer, CRecorderDevice& device) {
            writer.BurnTracks(this, tracks, text);
            if (writer.hr == kMediaNotBlank) window_.ShowError(kMediaNotWritableRow);
            VerifyAndEject(writer, device, verify);
            return kOk;
        });
}

HResult BurnFlow::WriteIsoFile(const std::string& recorderId, const std::vector<ImageEntry>& entries,
                               const std::filesystem::path& path)
{
    return OnRecorder<CDiscFormatData>(
        recorderId, [](CDiscFormatData& writer, CRecorderDevice& device) {
            return writer.Initialize(&device, kClientName, true);
        },
        [&](CDiscFormatData& writer, CRecorderDevice& device) {
            auto image = BuildImage(*this, entries);
            if (!image) return ImageBuildFailed(writer);
            window_.SendStatus(window_.UiText(kCreatingIsoImageRow));
            writer.CreateISO(image.get(), this, path);
            window_.SendStatus(window_.UiText(kFinalizingImageRow));
            device.Eject();
            return kOk;
        });
}

HResult BurnFlow::ImageBuildFailed(CDiscFormatData& writer) const
{
    writer.hr = lastResult_.first;
    writer.errorText = lastResult_.second;
    return kImageBuildFailed;
}

HResult BurnFlow::OpenBurnRecorder(CRecorderDevice& device, const std::string& recorderId)
{
    if (window_.IsCancelRequested()) {
        SendResult(kOk, "User Canceled!");
        return kCancelled;
    }
    window_.SendStatus(window_.UiText(kInitializingRecorderRow));
    if (recorderId.empty()) {
        SendResult(kOk, "Error: No Recorder Found for selected device");
        return kNoSuchRecorder;
    }
    if (!device.Open(recorderId)) {
        SendResult(device.hr, "Failed to initialize recorder - Unique ID:" + recorderId);
        return device.hr < 0 ? device.hr : kNoSuchRecorder;
    }
    if (device.AcquireExclusive(kClientName)) return kOk;
    SendResult(device.hr, "Failed: " + device.ExclusiveOwner() + " is exclusive owner");
    return device.hr < 0 ? device.hr : kNoSuchRecorder;
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

void BurnFlow::SendResult(HResult hr, const std::string& text)
{
    lastResult_ = {hr, text};
    window_.SendResult(hr, text);
}

}  // namespace velmora::discburn
