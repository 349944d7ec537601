#include "Lumetra.h"

#include <cstring>

namespace MediaLibrary::Header {

static_assert(sizeof(MEDIACONVERSIONINFO) == 552);
static_assert(offsetof(MEDIACONVERSIONINFO, szSourceFile) == 0);
static_assert(offsetof(MEDIACONVERSIONINFO, nAudioBitRate) == 260);
static_assert(offsetof(MEDIACONVERSIONINFO, nAudioChannels) == 264);
static_assert(offsetof(MEDIACONVERSIONINFO, nSampleRate) == 268);
static_assert(offsetof(MEDIACONVERSIONINFO, nVideoBitRate) == 272);
static_assert(offsetof(MEDIACONVERSIONINFO, nWidth) == 276);
static_assert(offsetof(MEDIACONVERSIONINFO, nHeight) == 280);
static_assert(offsetof(MEDIACONVERSIONINFO, nFrameRate) == 284);
static_assert(offsetof(MEDIACONVERSIONINFO, szOutputFile) == 288);
static_assert(offsetof(MEDIACONVERSIONINFO, nOutputFormat) == 548);

static_assert(sizeof(CD_TEXT_INFO) == 456);
static_assert(offsetof(CD_TEXT_INFO, nTrackNo) == 0);
static_assert(offsetof(CD_TEXT_INFO, szLength) == 4);
static_assert(offsetof(CD_TEXT_INFO, szSize) == 24);
static_assert(offsetof(CD_TEXT_INFO, szTitle) == 34);
static_assert(offsetof(CD_TEXT_INFO, szArtist) == 134);
static_assert(offsetof(CD_TEXT_INFO, szPath) == 194);

MEDIACONVERSIONINFO::MEDIACONVERSIONINFO()
{
    std::memset(static_cast<void*>(this), 0, sizeof *this);
}

MEDIACONVERSIONINFO& MEDIACONVERSIONINFO::operator=(const MEDIACONVERSIONINFO& other)
{
    std::memmove(static_cast<void*>(this), &other, sizeof *this);
    return *this;
}

CD_TEXT_INFO::CD_TEXT_INFO()
{
    std::memset(static_cast<void*>(this), 0, sizeof *this);
}

CD_TEXT_INFO& CD_TEXT_INFO::operator=(const CD_TEXT_INFO& other)
{
    std::memmove(static_cast<void*>(this), &other, sizeof *this);
    return *this;
}

}  // namespace MediaLibrary::Header
static_assert(sizeof(MediaLibrary::Header::RIP_TRACK_REPORT) == 400);
