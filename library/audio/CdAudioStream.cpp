#include "CdAudioStream.h"

#include "CdDrive.h"
#include "log/Log.h"

#include <cdio/paranoia/paranoia.h>

#include <cstdio>

namespace MediaLibrary::Audio {
namespace {

constexpr int kReadRetries = 20;
constexpr int kFramesPerSector = CDIO_CD_FRAMESIZE_RAW / 4;

// The reader reports through a callback without user data; one rip runs per thread.
thread_local long skippedReads = 0;

void CountSkips(long, paranoia_cb_mode_t mode)
{
    if (mode == PARANOIA_CB_SKIP) ++skippedReads;
}

}  // namespace

CdAudioStream::~CdAudioStream()
{
    Close();
}

CdAudioStream::OpenResult CdAudioStream::Open(char driveLetter, std::string* problem)
{
    Close();
    m_device = OpenDevice(driveLetter, problem);
    if (!m_device) return OpenResult::NoDisc;

    m_drive = cdio_cddap_identify_cdio(m_device->Native(), CDDA_MESSAGE_FORGETIT, nullptr);
    if (!m_drive) return OpenResult::ReaderUnusable;
    // CD audio is little-endian; the reader's own guess from the samples fails on some music.
    m_drive->bigendianp = 0;
    if (cdio_cddap_open(m_drive) != 0) return OpenResult::ReaderNotInitialised;
    m_paranoia = cdio_paranoia_init(m_drive);
    if (!m_paranoia) return OpenResult::ReaderNotInitialised;
    cdio_paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    return OpenResult::Opened;
}

void CdAudioStream::Close()
{
    if (m_paranoia) cdio_paranoia_free(m_paranoia);
    if (m_drive) cdio_cddap_close_no_free_cdio(m_drive);
    m_paranoia = nullptr;
    m_drive = nullptr;
    m_device.reset();
    m_track = 0;
}

int CdAudioStream::GetNumSubStreams() const
{
    return m_drive ? cdio_cddap_tracks(m_drive) : 0;
}

bool CdAudioStream::SetSubStream(int index)
{
    if (!m_drive || index < 0 || index >= GetNumSubStreams()) return false;
    const int track = cdio_get_first_track_num(m_device->Native()) + index;
    if (cdio_cddap_track_audiop(m_drive, static_cast<track_t>(track)) != 1) return false;
    const lsn_t first = cdio_cddap_track_firstsector(m_drive, static_cast<track_t>(track));
    const lsn_t last = cdio_cddap_track_lastsector(m_drive, static_cast<track_t>(track));
    if (first < 0 || last < first) return false;
    m_track = track;
    m_next = first;
    m_last = last;
    return true;
}

void CdAudioStream::SetCapture(CaptureCallback capture, void* userData)
{
    m_capture = capture;
    m_captureData = userData;
}

void CdAudioStream::SetEndCallback(EndCallback end, void* userData)
{
    m_end = end;
    m_endData = userData;
}

bool CdAudioStream::Play()
{
    if (!m_paranoia || m_track == 0) return false;
    cdio_paranoia_seek(m_paranoia, m_next, SEEK_SET);
    m_ended = false;
    skippedReads = 0;
    return true;
}

bool CdAudioStream::Update()
{
    if (m_ended || m_track == 0) return true;
    if (m_next > m_last) {
        m_ended = true;
        if (skippedReads > 0)
            LogMessage(1, "Track %d: %ld blocks could not be read exactly even after retries", m_track, skippedReads);
        if (m_end) m_end(this, nullptr, 0, m_endData);
        return true;
    }
    int16_t* block = cdio_paranoia_read_limited(m_paranoia, CountSkips, kReadRetries);
    if (!block) {
        LogMessage(2, "Track %d: sector %d cannot be read", m_track, static_cast<int>(m_next));
        return false;
    }
    ++m_next;
    if (m_capture) m_capture(block, block, kFramesPerSector, m_captureData);
    return true;
}

}  // namespace MediaLibrary::Audio
