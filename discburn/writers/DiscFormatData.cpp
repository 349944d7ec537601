#include "DiscFormatData.h"

#include "log/Log.h"
#include "image/ImageFile.h"
#include "mastering/Mastering.h"
#include "files/PendingFile.h"
#include "mastering/TimeLeft.h"

#include <chrono>
#include <sys/stat.h>

namespace velmora::discburn {
namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);
constexpr std::uint64_t kProgressBytes = 16 << 20;

int DataActionOf(WritePhase phase)
{
    switch (phase) {
    case WritePhase::Starting:
        return kInitializingHardware;
    case WritePhase::Writing:
        return kWritingData;
    case WritePhase::Closing:
        return kFinalization;
    }
    return kWritingData;
}

// A pseudo recorder's file is written under a temporary name and renamed into place, unless
// it is something that cannot be renamed over (a block device).
bool WritesThroughPendingFile(const RecorderAddress& address)
{
    if (address.kind != RecorderKind::ImageFile) return false;
    struct stat status{};
    return ::stat(address.path.c_str(), &status) != 0 || S_ISREG(status.st_mode);
}

}  // namespace

bool CDiscFormatData::Initialize(CRecorderDevice* recorder, const std::string& clientName, bool skipMediaCheck)
{
    if (!recorder) {
        errorText = "Error - CDiscFormatData::Initialize - pDiscRecorder is NULL";
        return false;
    }
    if (!StartMasteringLibraries()) {
        hr = kLibraryFailed;
        errorText = WithCode("Unable to Initialize IDiscFormat2Data - Error:0x%08x", hr);
        return false;
    }
    // A BIN/CUE recorder holds audio discs only.
    if (!recorder->Address() || recorder->Address()->kind == RecorderKind::CueImage) {
        errorText = "Recorder not supported";
        return false;
    }
    HeldDrive* drive = recorder->Drive();
    if (!drive) {
        hr = recorder->hr;
        errorText = WithCode("IDiscFormat2Data->put_Recorder Failed - Error:0x%08x", hr);
        return false;
    }
    if (!IsValidClientName(clientName)) {
        hr = kInvalidArgument;
        errorText = WithCode("IDiscFormat2Data->put_ClientName Failed - Error:0x%08x", hr);
        return false;
    }
    recorder_ = recorder;
    hr = kOk;
    if (skipMediaCheck) return true;
    const auto status = drive->Status();
    if (status == MediaStatus::Empty || status == MediaStatus::Unusable) {
        hr = kNoMedia;
        errorText = WithCode("IDiscFormat2Data->CreateISO Failed - Error:0x%08x", hr);
        return false;
    }
    return true;
}

bool CDiscFormatData::IsBlankMedia()
{
    HeldDrive* drive = recorder_ ? recorder_->Drive() : nullptr;
    const auto status = drive ? drive->Status() : MediaStatus::Empty;
    if (status == MediaStatus::Empty || status == MediaStatus::Unusable) {
        hr = drive ? kNoMedia : recorder_ ? recorder_->hr : kNoSuchRecorder;
        errorText = WithCode("IDiscFormat2Data to check Blank Media. Failed - Error:0x%08x", hr);
        return false;
    }
    hr = kOk;
    if (status == MediaStatus::Blank) return true;
    errorText = "Media is not Blank.";
    return false;
}

bool CDiscFormatData::Write(ImageStream* image, BurnWindow* window)
{
    if (!recorder_ || !window || !image) return false;
    notifyWindow = window;
    written_.clear();
    hr = window->SendProgress({kValidatingMedia}) == 0 ? kCancelled : WriteImage(*image, *window);
    if (hr < 0) {
        errorText = WithCode("IDiscFormat2Data->Write Failed! Error:0x%08x", hr);
        return true;
    }
    window->SendProgress({kWritingData, 0, 0, image->Size(), image->Size(), 0});
    window->SendProgress({kCompleted});
    return true;
}

// The image onto the media, hashed on its way; kept as written when the write succeeded.
HResult CDiscFormatData::WriteImage(ImageStream& image, BurnWindow& window)
{
    TimeLeft timeLeft;
    const WriteWatcher watcher = [&window, &timeLeft](const WriteTick& tick) {
        return window.SendProgress({DataActionOf(tick.phase), 0, 0, tick.bytesDone, tick.bytesTotal,
                                    timeLeft.Seconds(tick.bytesDone, tick.bytesTotal)}) != 0;
    };
    auto hash = std::make_shared<TrackHash>();
    const std::vector<WriteTrack> track{{image.Source(), {}, 0, image.Size(), image.Size(), hash}};
    HResult result = kOk;
    if (WritesThroughPendingFile(*recorder_->Address())) {
        // libburn overwrites a file without truncating it and leaves whatever it wrote when
        // stopped: write a fresh file and put it in place only when it is complete.
        recorder_->LetGoOfDrive();
        platform::PendingFile pending(recorder_->Address()->path);
        if (!pending.IsOpen()) {
            LogMessage(1, "%s", pending.Failure().c_str());
            return kFileError;
        }
        const std::string temporary = std::string(RecorderAddress::kImagePrefix) + pending.TemporaryPath().string();
        auto drive = HeldDrive::Acquire(temporary, result);
        if (!drive) return result;
        result = drive->Write(track, false, closeMedia, watcher);
        drive.reset();
        if (result >= 0 && !pending.Commit()) {
            LogMessage(1, "%s", pending.Failure().c_str());
            return kFileError;
        }
    } else if (HeldDrive* drive = recorder_->Drive()) {
        result = drive->Write(track, false, closeMedia, watcher);
    } else {
        return recorder_->hr;
    }
    if (result >= 0) written_.push_back({0, hash->Result()});
    return result;
}

bool CDiscFormatData::Verify(BurnWindow* window)
{
    if (!recorder_ || !window || written_.empty()) return false;
    // A fresh hold of the drive reads what the media holds now.
    recorder_->LetGoOfDrive();
    HeldDrive* drive = recorder_->Drive();
    hr = drive ? VerifyTracks(written_, DataReader(*drive), *window, kVerifying, errorText) : recorder_->hr;
    if (!drive) errorText = WithCode("Verification failed! The recorder cannot be read. Error:0x%08x", hr);
    return true;
}

bool CDiscFormatData::CreateISO(ImageStream* image, BurnWindow* window, const std::filesystem::path& path)
{
    if (!window || !image || path.empty()) return false;
    notifyWindow = window;
    const bool written = WriteToFile(*image, path);
    if (!written) errorText = WithCode("IDiscFormat2Data->CreateISO Failed - Error:0x%08x", hr);
    return written;
}

bool CDiscFormatData::WriteToFile(ImageStream& image, const std::filesystem::path& target)
{
    platform::PendingFile pending(target);
    if (!pending.IsOpen()) {
        LogMessage(1, "%s", pending.Failure().c_str());
        hr = kFileError;
        return false;
    }
    // Progress is what lets the window's cancel request reach a long copy: reported at the
    // start, then whenever enough time or enough of the image has passed.
    auto nextTime = std::chrono::steady_clock::now();
    std::uint64_t nextBytes = 0;
    const KeepWriting keepWriting = [&](std::uint64_t bytesDone) {
        const auto now = std::chrono::steady_clock::now();
        if (now < nextTime && bytesDone < nextBytes) return true;
        nextTime = now + kProgressInterval;
        nextBytes = bytesDone + kProgressBytes;
        return notifyWindow->SendProgress({kWritingData}) != 0;
    };
    hr = WriteImageFile(image, pending, keepWriting);
    if (hr == kOk && !pending.Commit()) {
        LogMessage(1, "%s", pending.Failure().c_str());
        hr = kFileError;
    }
    return hr == kOk;
}

}  // namespace velmora::discburn
