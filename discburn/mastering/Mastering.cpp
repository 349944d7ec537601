#include "Mastering.h"

#include "LibburnParts.h"
#include "files/FileDescriptor.h"
#include "log/Log.h"

#include <stdint.h>   // libisofs.h needs the fixed-width types before it
#include <libisofs/libisofs.h>
#include <libisoburn/libisoburn.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <thread>
#include <unistd.h>

namespace velmora::discburn {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr auto kBusyDriveWait = std::chrono::seconds(30);
const HResult kDriveOperationGoingOn = FromLibburnCode(0x00020102);
constexpr int kWriteThreadEnded = 0x00020178;   // the write thread's last message

char* Text(const char* text) { return const_cast<char*>(text); }

burn::burn_drive* DriveOf(void* infos) { return static_cast<burn::burn_drive_info*>(infos)[0].drive; }

// libisoburn declares the same C structs at global scope.
::burn_drive* IsoburnDrive(burn::burn_drive* drive) { return reinterpret_cast<::burn_drive*>(drive); }

burn::burn_source* LibburnSource(BurnSource* source) { return reinterpret_cast<burn::burn_source*>(source); }

bool IsFailureSeverity(const char* severity)
{
    for (const char* failure : {"SORRY", "FAILURE", "FATAL", "ABORT"})
        if (std::strcmp(severity, failure) == 0) return true;
    return false;
}

WritePhase PhaseOf(burn::burn_drive_status status)
{
    switch (status) {
    case burn::BURN_DRIVE_WRITING:
    case burn::BURN_DRIVE_WRITING_PREGAP:
    case burn::BURN_DRIVE_WRITING_LEADIN:
    case burn::BURN_DRIVE_WRITING_SYNC:
        return WritePhase::Writing;
    case burn::BURN_DRIVE_WRITING_LEADOUT:
    case burn::BURN_DRIVE_CLOSING_TRACK:
    case burn::BURN_DRIVE_CLOSING_SESSION:
        return WritePhase::Closing;
    default:
        return WritePhase::Starting;
    }
}

struct LibburnMessages {
    HResult failure = kOk;   // of the most recent failure among them
    bool writeThreadEnded = false;
};

// Logs libburn's queued messages.
LibburnMessages TakeLibburnMessages()
{
    LibburnMessages messages;
    int code = 0;
    int osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN];
    char severity[80];
    while (burn::burn_msgs_obtain(Text("ALL"), &code, text, &osErrno, severity) == 1) {
        const bool failed = IsFailureSeverity(severity);
        const unsigned level = failed ? 1 : std::strcmp(severity, "DEBUG") == 0 ? 3 : 2;
        LogMessage(level, "libburn %s 0x%08x: %s", severity, static_cast<unsigned>(code), text);
        if (failed) messages.failure = FromLibburnCode(code);
        if (code == kWriteThreadEnded) messages.writeThreadEnded = true;
    }
    return messages;
}

// Bytes of a file from offset on, length of them or all that follow, as a stream that closes
// the file when it is freed; null when the file cannot be read there.
burn::burn_source* FileSource(const std::filesystem::path& file, std::uint64_t offset,
                              std::optional<std::uint64_t> length = std::nullopt)
{
    platform::FileDescriptor opened(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!opened.valid()) return nullptr;
    const off_t end = length ? static_cast<off_t>(offset + *length) : ::lseek(opened.get(), 0, SEEK_END);
    if (end < static_cast<off_t>(offset) || ::lseek(opened.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
        return nullptr;
    burn::burn_source* source = burn::burn_fd_source_new(opened.get(), -1, end - static_cast<off_t>(offset));
    if (source) opened.release();
    return source;
}

// The disc description libburn writes from; frees what it made when it goes.
class DiscLayout {
public:
    DiscLayout() : disc_(burn::burn_disc_create()), session_(burn::burn_session_create())
    {
        burn::burn_disc_add_session(disc_, session_, BURN_POS_END);
    }
    ~DiscLayout()
    {
        burn::burn_session_free(session_);
        burn::burn_disc_free(disc_);
    }
    DiscLayout(const DiscLayout&) = delete;
    DiscLayout& operator=(const DiscLayout&) = delete;

    bool Add(const WriteTrack& wanted, bool audio)
    {
        burn::burn_source* source =
            wanted.source ? LibburnSource(wanted.source) : FileSource(wanted.file, wanted.offset, wanted.length);
        if (!source) return false;
        const bool owned = !wanted.source;
        if (wanted.hash) {
            burn::burn_source* hashed = HashedSource(source, wanted.hash);
            if (owned) burn::burn_source_free(source);
            if (!hashed) return false;
            source = hashed;
        }
        burn::burn_track* track = burn::burn_track_create();
        burn::burn_track_define_data(track, 0, 0, 1, audio ? BURN_AUDIO : BURN_MODE1);
        const bool ready = burn::burn_track_set_source(track, source) == burn::BURN_SOURCE_OK;
        if (owned || wanted.hash) burn::burn_source_free(source);   // the track holds its own reference
        if (ready && wanted.size > wanted.length) burn::burn_track_set_size(track, static_cast<off_t>(wanted.size));
        if (ready) burn::burn_session_add_track(session_, track, BURN_POS_END);
        burn::burn_track_free(track);
        return ready;
    }

    burn::burn_disc* Disc() const { return disc_; }
    burn::burn_session* Session() const { return session_; }

private:
    burn::burn_disc* disc_;
    burn::burn_session* session_;
};

struct WriteOptions {
    explicit WriteOptions(burn::burn_drive* drive) : options(burn::burn_write_opts_new(drive)) {}
    ~WriteOptions() { burn::burn_write_opts_free(options); }
    WriteOptions(const WriteOptions&) = delete;
    WriteOptions& operator=(const WriteOptions&) = delete;
    burn::burn_write_opts* options;
};

HResult LayOutTracks(DiscLayout& layout, const std::vector<WriteTrack>& tracks, bool audio)
{
    for (const auto& track : tracks) {
        if (!layout.Add(track, audio)) {
            LogMessage(1, "A track of the write could not be read: %s", track.file.c_str());
            TakeLibburnFailure();
            return kFileError;
        }
    }
    return kOk;
}

// The failure libburn told while starting the write; kDriveOperationGoingOn when the drive
// stayed busy with an earlier job all the while.
HResult StartWrite(const WriteOptions& options, const DiscLayout& layout)
{
    // libburn refuses a job while the worker of an earlier one (a cancelled write's) is still
    // ending; the refusal is only a message, so look for it and try again for a while.
    for (auto waited = std::chrono::milliseconds(0);; waited += kPollInterval) {
        burn::burn_disc_write(options.options, layout.Disc());
        const HResult failure = TakeLibburnFailure();
        if (failure != kDriveOperationGoingOn || waited >= kBusyDriveWait) return failure;
        std::this_thread::sleep_for(kPollInterval);
    }
}

// Reports the write to the watcher until the drive is idle again; true when the watcher cancelled it.
bool WatchWrite(burn::burn_drive* drive, std::uint64_t bytesTotal, const WriteWatcher& watcher)
{
    bool cancelled = false;
    burn::burn_progress progress{};
    burn::burn_drive_status status;
    while ((status = burn::burn_drive_get_status(drive, &progress)) != burn::BURN_DRIVE_IDLE) {
        const auto done = std::min(static_cast<std::uint64_t>(std::max<off_t>(progress.buffered_bytes, 0)), bytesTotal);
        const WriteTick tick{PhaseOf(status), progress.track + 1, progress.tracks, done, bytesTotal};
        // The watcher keeps seeing the write wind down; libburn drops a cancel made before the
        // write proper begins, so it is repeated until the drive is idle.
        if (!watcher(tick)) cancelled = true;
        if (cancelled) burn::burn_drive_cancel(drive);
        std::this_thread::sleep_for(kPollInterval);
    }
    return cancelled;
}

// A cancelled write's thread outlives the drive's idle state: wait for its end, so that the next
// write neither finds the drive busy nor takes its "Burn run failed" as its own.
void WaitForWriteThreadEnd(bool endedAlready)
{
    for (auto waited = std::chrono::milliseconds(0); !endedAlready && waited < kBusyDriveWait; waited += kPollInterval) {
        std::this_thread::sleep_for(kPollInterval);
        endedAlready = TakeLibburnMessages().writeThreadEnded;
    }
}

HResult WriteOutcome(burn::burn_drive* drive, bool cancelled, HResult startFailure)
{
    const bool wroteWell = burn::burn_drive_wrote_well(drive) == 1;
    const LibburnMessages messages = TakeLibburnMessages();
    if (cancelled) {
        WaitForWriteThreadEnd(messages.writeThreadEnded);
        return kCancelled;
    }
    const HResult failure = messages.failure != kOk ? messages.failure : startFailure;
    // A write libburn complained about is no success, whatever the drive's last state says.
    if (failure != kOk) return failure;
    return wroteWell ? kOk : kWriteFailed;
}

}  // namespace

bool StartMasteringLibraries()
{
    static const bool started = [] {
        char message[1024] = "";
        if (!isoburn_initialize(message, 0)) {
            LogMessage(1, "Disc mastering libraries failed to start: %s", message);
            return false;
        }
        // Messages go to our log, never to standard error. The queue takes DEBUG too: the end of
        // a write thread is told only at that severity. Signals are left to the program: libburn's
        // handling would put them all back to their defaults, and an interrupt would kill a burn
        // midway instead of cancelling it.
        burn::burn_msgs_set_severities(Text("DEBUG"), Text("NEVER"), Text("libburn: "));
        iso_set_msgs_severities(Text("NEVER"), Text("NEVER"), Text("libisofs: "));
        return true;
    }();
    return started;
}

HResult TakeLibburnFailure() { return TakeLibburnMessages().failure; }

std::vector<std::string> ScanRecorderAddresses()
{
    std::vector<std::string> addresses;
    if (!StartMasteringLibraries()) return addresses;
    burn::burn_drive_info* infos = nullptr;
    unsigned int count = 0;
    int done = 0;
    while ((done = burn::burn_drive_scan(&infos, &count)) == 0) std::this_thread::sleep_for(kPollInterval);
    if (done < 0) {
        TakeLibburnFailure();
        return addresses;
    }
    for (unsigned int at = 0; at < count; ++at) {
        char address[BURN_DRIVE_ADR_LEN];
        if (burn::burn_drive_d_get_adr(infos[at].drive, address) > 0) addresses.emplace_back(address);
        burn::burn_drive_info_forget(&infos[at], 0);   // scanned drives stay locked until forgotten
    }
    burn::burn_drive_info_free(infos);
    TakeLibburnFailure();
    return addresses;
}

std::unique_ptr<HeldDrive> HeldDrive::Acquire(const std::string& address, HResult& hr)
{
    if (!StartMasteringLibraries()) {
        hr = kLibraryFailed;
        return nullptr;
    }
    ::burn_drive_info* infos = nullptr;
    const int acquired = isoburn_drive_aquire(&infos, const_cast<char*>(address.c_str()), 1);
    if (acquired != 1) {
        hr = TakeLibburnFailure();
        if (hr == kOk) hr = acquired == 0 ? kNoSuchRecorder : kRecorderBusy;
        return nullptr;
    }
    TakeLibburnFailure();
    hr = kOk;
    return std::unique_ptr<HeldDrive>(new HeldDrive(infos));
}

HeldDrive::~HeldDrive()
{
    isoburn_drive_release(IsoburnDrive(DriveOf(infos_)), eject_ ? 1 : 0);
    burn::burn_drive_info_free(static_cast<burn::burn_drive_info*>(infos_));
    TakeLibburnFailure();
}

MediaStatus HeldDrive::Status()
{
    const auto status = isoburn_disc_get_status(IsoburnDrive(DriveOf(infos_)));
    TakeLibburnFailure();
    switch (status) {
    case burn::BURN_DISC_BLANK:
        return MediaStatus::Blank;
    case burn::BURN_DISC_APPENDABLE:
    case burn::BURN_DISC_FULL:
        return MediaStatus::Written;
    case burn::BURN_DISC_EMPTY:
        return MediaStatus::Empty;
    default:
        return MediaStatus::Unusable;
    }
}

HResult HeldDrive::Write(const std::vector<WriteTrack>& tracks, bool audio, bool closeMedia, const WriteWatcher& watcher,
                         const DiscText* text)
{
    burn::burn_drive* drive = DriveOf(infos_);
    DiscLayout layout;
    if (const HResult laidOut = LayOutTracks(layout, tracks, audio); laidOut != kOk) return laidOut;
    const bool withText = text && !text->Empty();
    const bool textFits = withText && ApplyDiscText(layout.Session(), *text);
    WriteOptions options(drive);
    const HResult chosen = ChooseWriteType(options.options, layout.Disc(), closeMedia, textFits);
    if (chosen < 0) return chosen;
    const HResult startFailure = StartWrite(options, layout);
    if (startFailure == kDriveOperationGoingOn) return startFailure;
    std::uint64_t bytesTotal = 0;
    for (const auto& track : tracks) bytesTotal += track.size;
    const bool cancelled = WatchWrite(drive, bytesTotal, watcher);
    const HResult outcome = WriteOutcome(drive, cancelled, startFailure);
    // Written, but the text only where it went onto the disc.
    if (outcome < 0) return outcome;
    return withText && !textFits ? kCdTextDoesNotFit : chosen;
}

BurnSource* FileBurnSource(const std::filesystem::path& file)
{
    return reinterpret_cast<BurnSource*>(FileSource(file, 0));
}

void KeepBurnSource(BurnSource* source)
{
    ++LibburnSource(source)->refcount;
}

void FreeBurnSource(BurnSource* source)
{
    burn::burn_source_free(LibburnSource(source));
}

}  // namespace velmora::discburn
