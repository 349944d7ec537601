#pragma once

#include "drives/CdDevice.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct cdrom_drive_s cdrom_drive_t;
typedef struct cdrom_paranoia_s cdrom_paranoia_t;

namespace MediaLibrary::Audio {

class CdAudioStream;

// Receives each block of 44.1 kHz 16-bit stereo samples in host byte order; returns the block.
using CaptureCallback = void* (*)(void* unprocessed, void* toProcess, int sampleFrames, void* userData);
// Told once when the selected track has been delivered to its end.
using EndCallback = signed char (*)(CdAudioStream* stream, void* buffer, int length, void* userData);

// A whole disc read as a stream of sub-streams, one per track, through the paranoia reader
// in full mode (overlapped reads, verification) so that the samples are exact. A block the
// reader cannot verify after its retries, or one the drive failed to read, has its sector
// recorded: the track is then not exact, whatever was delivered.
class CdAudioStream {
public:
    enum class OpenResult { Opened, NoDisc, ReaderUnusable, ReaderNotInitialised };
    static constexpr int kFramesPerSector = 588;

    CdAudioStream() = default;
    ~CdAudioStream();
    CdAudioStream(const CdAudioStream&) = delete;
    CdAudioStream& operator=(const CdAudioStream&) = delete;

    // NoDisc comes with the problem, in words.
    OpenResult Open(char driveLetter, std::string* problem = nullptr);
    int GetNumSubStreams() const;
    // Selects a track by its zero-based position; false for a data track or one out of range.
    bool SetSubStream(int index);
    // Samples by which the drive reads late (positive) or early; the track's samples are taken
    // that far on, silence standing in for what lies outside the disc's audio.
    void SetReadOffset(int samples) { m_offset = samples; }
    void SetCapture(CaptureCallback capture, void* userData);
    void SetEndCallback(EndCallback end, void* userData);
    bool Play();
    // Reads the next block and hands it to the capture callback, or tells the end.
    // False when the disc cannot be read any more.
    bool Update();

    // Sample frames of the selected track.
    std::int64_t TrackFrames() const { return static_cast<std::int64_t>(m_last - m_first + 1) * kFramesPerSector; }
    // The sectors of the track not read exactly since Play, in order.
    const std::vector<std::int32_t>& SkippedSectors() const { return m_skipped; }
    CdIo_t* Native() const { return m_device ? m_device->Native() : nullptr; }

private:
    void Close();
    const std::int16_t* ReadSector();

    std::unique_ptr<velmora::platform::CdDevice> m_device;
    cdrom_drive_t* m_drive = nullptr;
    cdrom_paranoia_t* m_paranoia = nullptr;
    int m_track = 0;             // selected track number on the disc; 0 for none
    std::int32_t m_first = 0;    // first sector of the track
    std::int32_t m_last = -1;    // last sector of the track
    std::int32_t m_discFirst = 0, m_discLast = -1;   // the disc's audio sectors
    int m_offset = 0;
    std::int32_t m_next = 0;     // next sector to read
    int m_skipFrames = 0;        // of the next sector, before the track's first sample
    std::int64_t m_framesLeft = 0;
    std::vector<std::int32_t> m_skipped;
    bool m_ended = false;
    CaptureCallback m_capture = nullptr;
    void* m_captureData = nullptr;
    EndCallback m_end = nullptr;
    void* m_endData = nullptr;
};

}  // namespace MediaLibrary::Audio
