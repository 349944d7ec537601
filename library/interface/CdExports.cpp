// The audio-CD exports: the track list of a disc and the rip of one track to WAV or MP3.

#include "audio/CdTrack.h"
#include "audio/CdTrackTable.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "MessageBox.h"
#include "RecordText.h"
#include "video/ToolRunner.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>

using MediaLibrary::Header::CD_TEXT_INFO;
using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace {

constexpr std::string_view kRipFileName = "temp_xyz_media.wav";
constexpr std::uint64_t kSectorBytes = velmora::platform::kAudioSectorBytes;

// The temporary WAV has one fixed name, so rips take turns.
std::mutex ripMutex;

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
    if (!table.ReadTrackTable(drive)) {
        table.Release();
        *count = 0;
        return MediaLibrary::Result::kCdDriveNotAccessible;
    }
    const auto& extents = table.Extents();
    if (!tracks || *count < extents.size()) {
        *count = static_cast<unsigned>(extents.size());
        return MediaLibrary::Result::kCdArrayTooSmall;
    }
    *count = static_cast<unsigned>(extents.size());
    for (std::size_t at = 0; at < extents.size(); ++at) FillTrackRecord(drive, extents[at], tracks[at]);
    return 0;
}

int KeepRippedWav(const std::filesystem::path& ripped, const char* output)
{
    std::error_code error;
    std::filesystem::remove(output, error);
    if (std::filesystem::copy_file(ripped, output, std::filesystem::copy_options::overwrite_existing, error))
        return 0;
    LogMessage(1, "Convert_CD_TO_MP3: the ripped WAV cannot be copied to %s: %s", output, error.message().c_str());
    std::filesystem::remove(output, error);
    return MediaLibrary::Result::kRipNotInitialised;
}

// The second step of an MP3 rip: the ripped WAV becomes the encoder's source.
int EncodeRippedWav(MEDIACONVERSIONINFO request, const std::filesystem::path& ripped)
{
    MediaLibrary::SetFieldText(request.szSourceFile, ripped.string());
    std::error_code ignored;
    std::filesystem::remove(request.szOutputFile, ignored);
    return Convert_Wav_TO_MP3(request);
}

int RipTrack(const MEDIACONVERSIONINFO& info)
{
    const auto source = MediaLibrary::FieldText(info.szSourceFile);
    const auto output = MediaLibrary::FieldText(info.szOutputFile);
    if (!source || !output || output->empty()) {
        LogMessage(1, "Convert_CD_TO_MP3: the request names no usable track or output file; nothing ripped");
        return MediaLibrary::Result::kRipNotInitialised;
    }
    LogMessage(4, "Entering Convert_CD_TO_MP3 with (%s) to (%s)", info.szSourceFile, info.szOutputFile);

    const auto ripped = MediaLibrary::TempFilePath(kRipFileName);
    MEDIACONVERSIONINFO ripRequest = info;
    if (ripped.empty() || !MediaLibrary::SetFieldText(ripRequest.szOutputFile, ripped.string())) {
        LogMessage(1, "Convert_CD_TO_MP3: no temporary WAV path within %zu bytes",
                   MediaLibrary::Header::kPathCapacity - 1);
        return MediaLibrary::Result::kRipNotInitialised;
    }
    int result = 0;
    {
        MediaLibrary::Audio::CCDTrack ripper(ripRequest);
        ripper.Prepare();
        std::error_code ignored;
        std::filesystem::remove(ripped, ignored);
        result = ripper.Convert();
    }
    if (result != 0) return result;
    if (info.nOutputFormat == MediaLibrary::Header::kFormatWav) return KeepRippedWav(ripped, info.szOutputFile);
    return EncodeRippedWav(info, ripped);
}

}  // namespace

extern "C" {

LUMETRA_API int GET_CD_TEXT_INFO(char drive, CD_TEXT_INFO* tracks, unsigned* count)
{
    LogMessage(4, "Entering GET_CD_TEXT_INFO with Drive (%c) and count (%d)", drive,
               count ? static_cast<int>(*count) : 0);
    if (!count) return MediaLibrary::Result::kCdDriveNotAccessible;
    try {
        return ReadTrackTexts(drive, tracks, count);
    } catch (const std::exception& exception) {
        const std::string text = std::string("CD Drive is not ready or cannot read cd. Details: ") + exception.what();
        LogMessage(1, "%s", text.c_str());
        MediaLibrary::ShowMessageBox(text, "Error");
    } catch (...) {
        LogMessage(4, "Lumetra::GET_CD_TEXT_INFO. Unhandled Exception Caught.");
    }
    // No record was filled for sure, so none is offered to the caller.
    *count = 0;
    return 0;
}

LUMETRA_API int Convert_CD_TO_MP3(MEDIACONVERSIONINFO info)
{
    std::lock_guard lock(ripMutex);
    try {
        return RipTrack(info);
    } catch (const std::exception& exception) {
        LogMessage(1, "Convert_CD_TO_MP3: %s", exception.what());
    }
    return MediaLibrary::Result::kRipNotInitialised;
}

}  // extern "C"
