#pragma once

#include "drives/CdDevice.h"

#include <cstdint>
#include <memory>
#include <string>

typedef struct cdrom_drive_s cdrom_drive_t;
typedef struct cdrom_paranoia_s cdrom_paranoia_t;

namespace MediaLibrary::Audio {

class CdAudioStream;

// Receives each block of 44.1 kHz 16-bit stereo samples in host byte order; returns the block.
using CaptureCallback = void* (*)(void* unprocessed, void* toProcess, int sampleFrames, void* userData);
// Told once when the selected track has been delivered to its end.
using EndCallback = signed char (*)(CdAudioStream* stream, void* buffer, int length, void* userData);

// A whole disc read as a stream of sub-streams, one per track, through the paranoia reader
// in full mode (overlapped reads, verification) so that the samples are exact.
class CdAudioStream {
public:
    enum class OpenResult { Opened, NoDisc, ReaderUnusable, ReaderNotInitialised };

    CdAudioStream() = default;
    ~CdAudioStream();
    CdAudioStream(const CdAudioStream&) = delete;
    CdAudioStream& operator=(const CdAudioStream&) = delete;

    // NoDisc comes with the problem, in words.
    OpenResult Open(char driveLetter, std::string* problem = nullptr);
    int GetNumSubStreams() const;
    // Selects a track by its zero-based position; false for a data track or one out of range.
    bool SetSubStream(int index);
    void SetCapture(CaptureCallback capture, void* userData);
    void SetEndCallback(EndCallback end, void* userData);
    bool Play();
    // Reads the next block and hands it to the capture callback, or tells the end.
    // False when the disc cannot be read any more.
    bool Update();

private:
    void Close();

    std::unique_ptr<velmora::platform::CdDevice> m_device;
    cdrom_drive_t* m_drive = nullptr;
    cdrom_paranoia_t* m_paranoia = nullptr;
    int m_track = 0;             // selected track number on the disc; 0 for none
    std::int32_t m_next = 0;     // next sector to read
    std::int32_t m_last = -1;    // last sector of the track
    bool m_ended = false;
    CaptureCallback m_capture = nullptr;
    void* m_captureData = nullptr;
    EndCallback m_end = nullptr;
    void* m_endData = nullptr;
};

}  // namespace MediaLibrary::Audio
