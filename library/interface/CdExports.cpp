// The audio-CD exports: the track list of a disc and the rip of one track to WAV or MP3.

#include "audio/CdioLog.h"
#include "audio/CdTrack.h"
#include "audio/CdTrackTable.h"
#include "audio/RipProgress.h"
#include "Failure.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "MessageBox.h"
#include "RecordText.h"
#include "RequestPaths.h"
#include "temp/ScopedTempFolder.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>

using MediaLibrary::Header::CD_TEXT_INFO;
using MediaLibrary::Header::MEDIACONVERSIONINFO;
using MediaLibrary::Refuse;
namespace Result = MediaLibrary::Result;

namespace {

constexpr std::uint64_t kSectorBytes = velmora::platform::kAudioSectorBytes;

// From the moment the library is loaded: the command line reads the drive table before any export.
__attribute__((constructor)) void RouteCdioMessages()
{
    MediaLibrary::Audio::RouteCdioMessagesToLog();
}

void FillTrackRecord(char drive, const MediaLibrary::Audio::TrackExtent& extent, CD_TEXT_INFO& record)
{
    if (const auto title = MediaLibrary::FieldText(record.szTitle)) {
        const std::string path = std::string{drive, ':', '\\'} + std::string(*title);
        MediaLibrary::SetFieldText(record.szPath, path);
        record.nTrackNo = MediaLibrary::Audio::ReadCdaTrackNumber(path.c_str());
    } else {
        LogMessage(1, "GET_CD_TEXT_INFO: a track file name fills its field with no end; no path for it");
        record.szPath[0] = '\0';
        record.nTrackNo = -1;
    }
    const unsigned seconds = extent.length / velmora::platform::kFramesPerSecond;
    std::snprintf(record.szLength, sizeof record.szLength, "%i:%.2i", static_cast<int>(seconds / 60),
                  static_cast<int>(seconds % 60));
    // Six digits hold any disc; the cap only keeps the text inside its field.
    const auto megabytes = std::min<std::uint64_t>((extent.length * kSectorBytes) >> 20, 999999);
    std::snprintf(record.szSize, sizeof record.szSize, "%d MB", static_cast<int>(megabytes));
}

int ReadTrackTexts(char drive, CD_TEXT_INFO* tracks, unsigned* count)
{
    MediaLibrary::Audio::CCDTrackTable table;
    std::string problem;
    if (!table.ReadTrackTable(drive, &problem)) {
        *count = 0;
        return Refuse(problem.empty() ? std::string("the disc in drive ") + drive + ": has no tracks" : problem,
                      Result::kCdDriveNotAccessible);
    }
    const auto& extents = table.Extents();
    if (!tracks || *count < extents.size()) {
        *count = static_cast<unsigned>(extents.size());
        return Result::kCdArrayTooSmall;
    }
    *count = static_cast<unsigned>(extents.size());
    for (std::size_t at = 0; at < extents.size(); ++at) FillTrackRecord(drive, extents[at], tracks[at]);
    return 0;
}

int Rip(const MEDIACONVERSIONINFO& request, MediaLibrary::Audio::RipProgress& progress)
{
    MediaLibrary::Audio::CCDTrack ripper(request);
    ripper.SetProgress(progress);
    ripper.Prepare();
    return ripper.Convert();
}

// The WAV is ripped into a folder of this rip's own, which goes with everything in it.
int RipToMp3(const MEDIACONVERSIONINFO& info)
{
    const velmora::platform::ScopedTempFolder folder("rip");
    if (!folder.Notice().empty()) LogMessage(1, "%s", folder.Notice().c_str());
    const auto wav = folder.Path() / "track.wav";
    MEDIACONVERSIONINFO ripRequest = info;
    if (folder.Path().empty() || !MediaLibrary::SetFieldText(ripRequest.szOutputFile, wav.string()))
        return Refuse("no temporary WAV file can be made for the MP3", Result::kRipNotInitialised);
    MediaLibrary::Audio::RipProgress progress(true);
    if (const int ripped = Rip(ripRequest, progress); ripped != 0) return ripped;
    progress.Encoding();
    MEDIACONVERSIONINFO encodeRequest = info;
    MediaLibrary::SetFieldText(encodeRequest.szSourceFile, wav.string());
    // 0 whatever the encoder did, as for any conversion: the last failure says why there is no MP3.
    return Convert_Wav_TO_MP3(encodeRequest);
}

int RipTrack(const MEDIACONVERSIONINFO& info)
{
    if (!MediaLibrary::RequestPathsUsable(info, "Convert_CD_TO_MP3")) return Result::kRipNotInitialised;
    LogMessage(4, "Entering Convert_CD_TO_MP3 with (%s) to (%s)", info.szSourceFile, info.szOutputFile);
    // The finished file is renamed onto the output, which would replace a device or the like.
    std::error_code error;
    const auto existing = std::filesystem::status(info.szOutputFile, error).type();
    if (existing != std::filesystem::file_type::not_found && existing != std::filesystem::file_type::regular)
        return Refuse(std::string("the output ") + info.szOutputFile + " is not a regular file",
                      Result::kRipNotInitialised);
    // A WAV goes straight to the output, through a hidden file beside it.
    if (info.nOutputFormat == MediaLibrary::Header::kFormatWav) {
        MediaLibrary::Audio::RipProgress progress(false);
        return Rip(info, progress);
    }
    return RipToMp3(info);
}

}  // namespace

extern "C" {

LUMETRA_API int GET_CD_TEXT_INFO(char drive, CD_TEXT_INFO* tracks, unsigned* count)
{
    MediaLibrary::ClearFailure();
    LogMessage(4, "Entering GET_CD_TEXT_INFO with Drive (%c) and count (%d)", drive,
               count ? static_cast<int>(*count) : 0);
    if (!count) return Refuse("no place for the number of tracks was given", Result::kCdDriveNotAccessible);
    try {
        return ReadTrackTexts(drive, tracks, count);
    } catch (const std::exception& exception) {
        const std::string text = std::string("CD Drive is not ready or cannot read cd. Details: ") + exception.what();
        MediaLibrary::Fail(text);
        MediaLibrary::ShowMessageBox(text, "Error");
    } catch (...) {
        MediaLibrary::Fail(std::string("the tracks of drive ") + drive + ": cannot be read");
    }
    // No record was filled for sure, so none is offered to the caller.
    *count = 0;
    return 0;
}

LUMETRA_API int Convert_CD_TO_MP3(MEDIACONVERSIONINFO info)
{
    MediaLibrary::ClearFailure();
    try {
        return RipTrack(info);
    } catch (const std::exception& exception) {
        return Refuse(std::string("the track cannot be ripped: ") + exception.what(), Result::kRipNotInitialised);
    } catch (...) {
        return Refuse("the track cannot be ripped", Result::kRipNotInitialised);
    }
}

}  // extern "C"
