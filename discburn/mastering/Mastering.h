#pragma once

// The one place that talks to libburn and libisoburn: libburn's C++ declarations live in
// namespace burn while libisofs and libisoburn use the global names for the same structs,
// so nothing else includes those headers together.

#include "BurnResult.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::discburn {

// A stream in libburn's burn_source form (made by libisofs or by libburn itself).
struct BurnSource;

// Starts libisoburn, libisofs and libburn once per process, with libburn's messages queued
// for our log and no signal handler of libburn's. False when they cannot start.
bool StartMasteringLibraries();

// Logs libburn's queued messages; the result code of the most recent failure among them, kOk if none.
HResult TakeLibburnFailure();

// Addresses of the optical recorders libburn finds ("/dev/sr0"), none held afterwards.
std::vector<std::string> ScanRecorderAddresses();

enum class MediaStatus { Blank, Written, Empty, Unusable };

// What the write loop tells its caller while it waits for libburn.
enum class WritePhase { Starting, Writing, Closing };
struct WriteTick {
    WritePhase phase = WritePhase::Starting;
    int track = 0;            // from 1
    int trackCount = 0;
    std::uint64_t bytesDone = 0;
};
// Answers false to cancel the write.
using WriteWatcher = std::function<bool(const WriteTick&)>;

// One track of a write: a stream, or a byte range of a file, padded with zeros to size bytes.
struct WriteTrack {
    BurnSource* source = nullptr;   // not owned
    std::filesystem::path file;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::uint64_t size = 0;
};

// A drive held through libisoburn, which reads the media status of random-access media
// (stdio: files) from the ISO image it finds there. Released (and, if asked, ejected) when it goes.
class HeldDrive {
public:
    // None with the result code when the drive cannot be had.
    static std::unique_ptr<HeldDrive> Acquire(const std::string& address, HResult& hr);
    ~HeldDrive();
    HeldDrive(const HeldDrive&) = delete;
    HeldDrive& operator=(const HeldDrive&) = delete;

    MediaStatus Status();
    void EjectOnRelease() { eject_ = true; }
    // Writes one session of data tracks (one track, mode 1) or of audio tracks.
    // kCancelled when the watcher asked to stop.
    HResult Write(const std::vector<WriteTrack>& tracks, bool audio, bool closeMedia, const WriteWatcher& watcher);

private:
    explicit HeldDrive(void* infos) : infos_(infos) {}
    void* infos_;
    bool eject_ = false;
};

// A whole file as a stream (an ISO image to write); null when it cannot be opened.
BurnSource* FileBurnSource(const std::filesystem::path& file);

// Adds a reference to a stream / drops one (the last frees it).
void KeepBurnSource(BurnSource* source);
void FreeBurnSource(BurnSource* source);

}  // namespace velmora::discburn
