// The exports that do more than one conversion (still pictures, joining, DVD-Video folders) and
// the MP3/WAV conversions.

#include "audio/Mp3Audio.h"
#include "audio/WaveAudio.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "Failure.h"
#include "RecordText.h"
#include "RequestPaths.h"
#include "video/DvdAuthor.h"
#include "video/Join.h"
#include "video/Thumbnail.h"
#include "video/Video.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

extern "C" {

LUMETRA_API int GeTThumbNailForVideoFile(const char* position, const char* video, const char* picture)
{
    MediaLibrary::ClearFailure();
    if (!position || !video || !picture)
        return MediaLibrary::Refuse("GeTThumbNailForVideoFile needs a position, a video and a picture", 1);
    LogMessage(4, "Entering GeTThumbNailForVideoFile at (%s) of (%s) into (%s)", position, video, picture);
    MediaLibrary::Video::TakeThumbnail(position, video, picture);
    return 1;
}

LUMETRA_API int Convert_Join_To_Single(MEDIACONVERSIONINFO info, const char* const* paths, unsigned count)
{
    MediaLibrary::ClearFailure();
    if (!MediaLibrary::RequestPathsUsable(info, "Convert_Join_To_Single")) return 0;
    if (count > 0 && !paths)
        return MediaLibrary::Refuse(std::to_string(count) + " files to join were announced but none given", 0);
    std::vector<std::string> list;
    list.reserve(count);
    for (unsigned at = 0; at < count; ++at) {
        if (!paths[at]) return MediaLibrary::Refuse("entry " + std::to_string(at) + " of the files to join is missing", 0);
        list.emplace_back(paths[at]);
    }
    LogMessage(4, "Entering Convert_Join_To_Single with %u files via (%s) to (%s)", count, info.szSourceFile,
               info.szOutputFile);
    return MediaLibrary::Video::JoinAndConvert(info, list);
}

LUMETRA_API int GenerateDVDFiles(const char* xmlPath)
{
    MediaLibrary::ClearFailure();
    MEDIACONVERSIONINFO request;
    if (!xmlPath || !MediaLibrary::SetFieldText(request.szSourceFile, xmlPath))
        return MediaLibrary::Refuse("GenerateDVDFiles: no authoring file given, or its path is longer than " +
                                        std::to_string(MediaLibrary::Header::kPathCapacity - 1) + " bytes",
                                    1);
    LogMessage(4, "Entering GenerateDVDFiles with (%s)", xmlPath);
    MediaLibrary::Video::CAVI converter(request);
    return converter.RunDvdAuthor();
}

LUMETRA_API unsigned GetDVDFilesFolder(const char* xmlPath, char* folder, unsigned capacity)
{
    MediaLibrary::ClearFailure();
    if (folder && capacity > 0) folder[0] = '\0';
    if (!xmlPath) return MediaLibrary::Refuse("GetDVDFilesFolder: no authoring file given", 0u);
    const auto [dest, whyNone] = MediaLibrary::Video::AuthoringFileDestination(xmlPath);
    if (!dest) return MediaLibrary::Refuse(std::string(xmlPath) + " " + whyNone, 0u);
    const std::string text = dest->string();
    if (folder && text.size() < capacity) std::memcpy(folder, text.c_str(), text.size() + 1);
    return static_cast<unsigned>(text.size());
}

LUMETRA_API int Convert_MP3_TO_WAV(MEDIACONVERSIONINFO info)
{
    MediaLibrary::ClearFailure();
    if (!MediaLibrary::RequestPathsUsable(info, "Convert_MP3_TO_WAV")) return 0;
    LogMessage(4, "Entering Convert_MP3_TO_WAV with (%s) to (%s)", info.szSourceFile, info.szOutputFile);
    MediaLibrary::Audio::CMp3Audio converter(info);
    return converter.Convert();
}

LUMETRA_API int Convert_Wav_TO_MP3(MEDIACONVERSIONINFO info)
{
    MediaLibrary::ClearFailure();
    if (!MediaLibrary::RequestPathsUsable(info, "Convert_Wav_TO_MP3")) return 0;
    LogMessage(4, "Entering Convert_Wav_TO_MP3 with (%s) to (%s)", info.szSourceFile, info.szOutputFile);
    MediaLibrary::Audio::CWaveAudio converter(info);
    // The encoder reads more than canonical WAV files, so a failed check does not stop it.
    if (const int checked = converter.Prepare(); checked != 0)
        LogMessage(1, "Convert_Wav_TO_MP3: %s is not a plain WAV file (%d); converting it anyway", info.szSourceFile,
                   checked);
    return converter.Convert();
}

}  // extern "C"
