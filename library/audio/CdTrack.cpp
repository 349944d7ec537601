#include "CdTrack.h"

#include "RipProgress.h"
#include "TrackRipper.h"
#include "interface/Failure.h"
#include "log/Log.h"
#include "RecordText.h"
#include "WaveWriter.h"

#include <cstring>
#include <optional>

namespace MediaLibrary::Audio {
namespace {

// Digits only, and no more than a disc can hold; 0 otherwise.
std::int32_t ParseTrackNumber(std::string_view text)
{
    if (text.empty()) return 0;
    std::int32_t number = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') return 0;
        number = number * 10 + (digit - '0');
        if (number > CCDTrack::kMaxTrack) return 0;
    }
    return number;
}

}  // namespace

CCDTrack::CCDTrack(const Header::MEDIACONVERSIONINFO& request) : CMediaLibrary(request)
{
}

int CCDTrack::Prepare()
{
    // A field without its terminator names nothing: "", never a null view for memcpy.
    const auto source = FieldText(m_request.szSourceFile).value_or(std::string_view(""));
    const auto drive = source.substr(0, 2);
    std::memcpy(szDrive, drive.data(), drive.size());
    szDrive[drive.size()] = '\0';
    nTrack = source.size() > 2 ? ParseTrackNumber(source.substr(2)) : 0;
    return 0;
}

int CCDTrack::Convert()
{
    if (szDrive[1] != ':')
        return Refuse(std::string(m_request.szSourceFile) + " names no CD drive", MediaLibrary::Result::kRipNoDisc);
    if (nTrack < 1) {
        const std::string tracks = szDrive;
        return Refuse("there is no audio track " + tracks + (m_request.szSourceFile + 2),
                      MediaLibrary::Result::kRipTrackOutOfRange);
    }
    WaveWriter output(m_request.szOutputFile);
    std::optional<RipProgress> own;
    RipProgress& progress = m_progress ? *m_progress : own.emplace(false);
    // A single track's rip has no log to put its checksums in.
    const TrackRead read = ReadTrack(szDrive[0], nTrack, ReadOffsetSetting(), output, progress, Checksums::Skipped);
    if (read.result != 0) return read.result;
    if (!output.Finish()) return Refuse(output.Failure(), MediaLibrary::Result::kRipNotInitialised);
    LogMessage(2, "Ripped track %s%d: %u bytes", szDrive, static_cast<int>(nTrack), output.DataLength());
    return 0;
}

}  // namespace MediaLibrary::Audio
