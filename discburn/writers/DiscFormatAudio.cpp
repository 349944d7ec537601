#include "DiscFormatAudio.h"

#include "CueImageWriter.h"
#include "LibburnAudioWriter.h"
#include "mastering/Mastering.h"

namespace velmora::discburn {

std::string WhatWasLeftOff(HResult hr)
{
    if (hr == kWrittenWithoutCdText)
        return "The CD-TEXT was left off: this recorder cannot write a disc in one go, which CD-TEXT needs.";
    if (hr == kCdTextDoesNotFit) return "The CD-TEXT was left off: it does not fit into the disc's lead-in.";
    return {};
}

bool CDiscFormatAudio::Initialize(CRecorderDevice* recorder, const std::string& clientName)
{
    if (!recorder) {
        errorText = "Error - CDiscFormatAudio::Initialize - pDiscRecorder is NULL";
        return false;
    }
    if (!StartMasteringLibraries()) {
        hr = kLibraryFailed;
        errorText = WithCode("Unable to Initialize IDiscFormat2Data - Error:0x%08x", hr);
        return false;
    }
    // libburn writes audio tracks to CDs only, never into a stdio: file.
    const auto& address = recorder->Address();
    if (!address || address->kind == RecorderKind::ImageFile) {
        errorText = "Recorder not supported";
        return false;
    }
    if (address->kind == RecorderKind::CueImage) {
        writer_ = std::make_unique<CueImageWriter>(address->path);
    } else if (HeldDrive* drive = recorder->Drive()) {
        if (!drive->WritesCds()) {
            errorText = "Recorder not supported";
            return false;
        }
        writer_ = std::make_unique<LibburnAudioWriter>(*recorder);
    } else {
        hr = recorder->hr;
        errorText = WithCode("IDiscFormat2Data->put_Recorder Failed - Error:0x%08x", hr);
        return false;
    }
    if (!IsValidClientName(clientName)) {
        writer_.reset();
        hr = kInvalidArgument;
        errorText = WithCode("IDiscFormat2Data->put_ClientName Failed - Error:0x%08x", hr);
        return false;
    }
    hr = kOk;
    return true;
}

bool CDiscFormatAudio::BurnTracks(BurnWindow* window, const std::vector<AudioTrack>& tracks, const DiscText& text)
{
    if (!writer_ || !window) return false;
    notifyWindow = window;
    if (hr = writer_->Prepare(); hr < 0) {
        errorText = WithCode("IDiscFormat2Audio->PrepareMedia Failed! Error:0x%08x", hr);
        return false;
    }
    hr = writer_->WriteTracks(tracks, text, *window, doNotFinalize);
    if (hr < 0) errorText = WithCode("IDiscFormat2Audio->AddAudioTrack Failed! Error:0x%08x", hr);
    else if (hr > kOk) errorText = window->UiText(BurnWindow::kBurnCompletedRow) + " " + WhatWasLeftOff(hr);
    return true;
}

bool CDiscFormatAudio::Verify(BurnWindow* window)
{
    if (!writer_ || !window) return false;
    hr = writer_->Verify(*window, errorText);
    return true;
}

}  // namespace velmora::discburn
