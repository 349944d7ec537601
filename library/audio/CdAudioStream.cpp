#include "CdAudioStream.h"

#include "CdDrive.h"
#include "SectorReads.h"
#include "log/Log.h"

#include <cdio/paranoia/paranoia.h>

#include <algorithm>
#include <cstdio>

namespace MediaLibrary::Audio {
namespace {

constexpr int kReadRetries = 20;
const std::int16_t kSilence[CDIO_CD_FRAMESIZE_RAW / 2] = {};

// The sectors of the track being read that the reader could not read exactly.
struct Unexact {
    std::vector<std::int32_t>* sectors = nullptr;
    std::int32_t first = 0, last = -1;
};

// The reader reports through a callback without user data; one rip runs per thread.
thread_local Unexact unexact;

// A block the reader gave up on, and a read error of the drive: the reader fills in what the
// drive did not deliver and may pass it on as verified, so neither is taken as exact.
void RecordUnexact(long position, paranoia_cb_mode_t mode)
{
    if ((mode != PARANOIA_CB_SKIP && mode != PARANOIA_CB_READERR) || !unexact.sectors) return;
    const auto sector = static_cast<std::int32_t>(position / CD_FRAMEWORDS);
    if (sector < unexact.first || sector > unexact.last) return;   // read ahead beyond the track
    auto& sectors = *unexact.sectors;
    if (std::find(sectors.begin(), sectors.end(), sector) == sectors.end())
        sectors.insert(std::upper_bound(sectors.begin(), sectors.end(), sector), sector);
}

// Division that rounds towards minus infinity, for offsets before the disc's start.
std::int64_t FloorDivide(std::int64_t value, std::int64_t by)
{
    return value >= 0 ? value / by : -((-value + by - 1) / by);
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
    FilterSectorReads(m_drive);
    m_paranoia = cdio_paranoia_init(m_drive);
    if (!m_paranoia) return OpenResult::ReaderNotInitialised;
    cdio_paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    m_discFirst = cdio_cddap_disc_firstsector(m_drive);
    m_discLast = cdio_cddap_disc_lastsector(m_drive);
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
    m_first = first;
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
    const std::int64_t firstSample = static_cast<std::int64_t>(m_first) * kFramesPerSector + m_offset;
    m_next = static_cast<std::int32_t>(FloorDivide(firstSample, kFramesPerSector));
    m_skipFrames = static_cast<int>(firstSample - static_cast<std::int64_t>(m_next) * kFramesPerSector);
    m_framesLeft = TrackFrames();
    if (m_next <= m_discLast) cdio_paranoia_seek(m_paranoia, std::max(m_next, m_discFirst), SEEK_SET);
    m_ended = false;
    m_skipped.clear();
    return true;
}

// The next sector's samples: read through the paranoia reader, or silence outside the disc's
// audio. None when the disc cannot be read any more.
const std::int16_t* CdAudioStream::ReadSector()
{
    if (m_next < m_discFirst || m_next > m_discLast) return kSilence;
    unexact = {&m_skipped, m_first, m_last};
    const std::int16_t* block = cdio_paranoia_read_limited(m_paranoia, RecordUnexact, kReadRetries);
    unexact = {};
    return block;
}

bool CdAudioStream::Update()
{
    if (m_ended || m_track == 0) return true;
    if (m_framesLeft <= 0) {
        m_ended = true;
        if (!m_skipped.empty())
            LogMessage(1, "Track %d: %zu sectors could not be read exactly, the first at sector %d",
                       m_track, m_skipped.size(), static_cast<int>(m_skipped.front()));
        if (m_end) m_end(this, nullptr, 0, m_endData);
        return true;
    }
    const std::int16_t* block = ReadSector();
    if (!block) {
        LogMessage(2, "Track %d: sector %d cannot be read", m_track, static_cast<int>(m_next));
        return false;
    }
    ++m_next;
    const auto frames = static_cast<int>(std::min<std::int64_t>(kFramesPerSector - m_skipFrames, m_framesLeft));
    auto* samples = const_cast<std::int16_t*>(block) + 2 * m_skipFrames;
    m_skipFrames = 0;
    m_framesLeft -= frames;
    if (m_capture) m_capture(samples, samples, frames, m_captureData);
    return true;
}

}  // namespace MediaLibrary::Audio
