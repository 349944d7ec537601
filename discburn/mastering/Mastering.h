#pragma once

// The one place that talks to libburn and libisoburn: libburn's C++ declarations live in
// namespace burn while libisofs and libisoburn use the global names for the same structs,
// so nothing else includes those headers together.

#include "BurnResult.h"
#include "text/DiscText.h"
#include "verify/Sha256.h"

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
// for our log and signals left to the program. False when they cannot start.
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
    std::uint64_t bytesDone = 0;    // of all tracks
    std::uint64_t bytesTotal = 0;
};
// Answers false to cancel the write.
using WriteWatcher = std::function<bool(const WriteTick&)>;

// Counts and hashes a track's bytes as libburn takes them for the recorder. Read the result once
// the write has ended.
class TrackHash {
public:
    void Add(const unsigned char* data, std::size_t size);
    WrittenTrack Result();

private:
    Sha256 hash_;
    std::uint64_t bytes_ = 0;
};

// One track of a write: a stream, or a byte range of a file, padded with zeros to size bytes.
struct WriteTrack {
    BurnSource* source = nullptr;   // not owned
    std::filesystem::path file;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::uint64_t size = 0;
    std::shared_ptr<TrackHash> hash{};   // when given, sees every byte of the track written
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
    // Writes one session of data tracks (one track, mode 1) or of audio tracks, these with the text
    // as CD-TEXT when given. kCancelled when the watcher asked to stop; kWrittenWithoutCdText or
    // kCdTextDoesNotFit when the tracks were written but the text was left off.
    HResult Write(const std::vector<WriteTrack>& tracks, bool audio, bool closeMedia, const WriteWatcher& watcher,
                  const DiscText* text = nullptr);

    // Whether the recorder writes CDs (CD-R or CD-RW).
    bool WritesCds() const;
    // Reading back what was written. Data: bytes from a byte address aligned to 2048; audio: whole
    // 2352-byte sectors. False when the drive could not read them.
    bool ReadData(std::uint64_t address, unsigned char* buffer, std::size_t size);
    bool ReadAudio(std::uint64_t sector, unsigned char* buffer, std::size_t sectors);
    // The first sector of each track of the disc as the drive reads its table of contents now.
    std::vector<std::uint64_t> TrackStartSectors();

private:
    explicit HeldDrive(void* infos) : infos_(infos) {}
    void* infos_;
    bool eject_ = false;
};

// The CD-TEXT packs libburn writes into the lead-in of an audio CD with this text (18 bytes each);
// none when there is no text or it cannot be made to fit.
std::vector<unsigned char> CdTextPacks(const DiscText& text);

// A whole file as a stream (an ISO image to write); null when it cannot be opened.
BurnSource* FileBurnSource(const std::filesystem::path& file);

// Adds a reference to a stream / drops one (the last frees it).
void KeepBurnSource(BurnSource* source);
void FreeBurnSource(BurnSource* source);

}  // namespace velmora::discburn
