// The conversion exports: thin frames that build a converter from the caller's request, run it
// and report as the callers expect (they judge conversions by the files they find).

#include "Failure.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "process/Process.h"
#include "RecordText.h"
#include "RequestPaths.h"
#include "audio/RipProgress.h"
#include "video/EncodeProgress.h"
#include "video/Video.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace {

// The library's log starts when the library is loaded into a process.
__attribute__((constructor)) void AttachLibrary()
{
    LogInit("RozeduZededir");
}

int ConvertVideo(MEDIACONVERSIONINFO request, MediaLibrary::Header::OutputFormat format, const char* exportName)
{
    MediaLibrary::ClearFailure();
    if (!MediaLibrary::RequestPathsUsable(request, exportName)) return 0;
    LogMessage(4, "Entering %s with (%s) to (%s)", exportName, request.szSourceFile, request.szOutputFile);
    request.nOutputFormat = format;
    MediaLibrary::Video::CAVI converter(request);
    return converter.Convert();
}

// The source of a request, checked: its text when it fits its field, else none, reason recorded.
std::optional<std::string_view> UsableSource(const char* field, std::size_t capacity)
{
    const std::size_t length = strnlen(field, capacity);
    if (length == capacity)
        return MediaLibrary::Refuse("the source's path is longer than " + std::to_string(capacity - 1) + " bytes",
                                    std::optional<std::string_view>());
    return std::string_view(field, length);
}

}  // namespace

extern "C" {

LUMETRA_API void SetLogEcho(int echo)
{
    LogEcho(echo != 0);
}

LUMETRA_API const char* GetLastFailure(void)
{
    return MediaLibrary::LastFailure().c_str();
}

LUMETRA_API double GetEncodedSeconds(void)
{
    const double encoded = MediaLibrary::Video::EncodeProgress::Seconds();
    return MediaLibrary::Audio::RipProgress::Seconds(encoded).value_or(encoded);
}

LUMETRA_API void CancelConversions(void)
{
    LogMessage(2, "Cancelling the running conversions");
    MediaLibrary::Audio::RipProgress::CancelRips();
    velmora::platform::CancelRunningChildren();
}

LUMETRA_API int GetMediaFacts(const char* source, MEDIACONVERSIONINFO* facts, char* playLength)
{
    MediaLibrary::ClearFailure();
    if (!source || !facts || !playLength) return MediaLibrary::Refuse("GetMediaFacts needs a source and two results", 0);
    *facts = MEDIACONVERSIONINFO{};
    playLength[0] = '\0';
    MEDIACONVERSIONINFO request;
    if (!MediaLibrary::SetFieldText(request.szSourceFile, source))
        return MediaLibrary::Refuse("the source's path is longer than " +
                                        std::to_string(sizeof request.szSourceFile - 1) + " bytes",
                                    0);
    LogMessage(4, "Entering GetMediaFacts with (%s)", source);
    MediaLibrary::Video::CAVI converter(request);
    return converter.ReadMediaFacts(*facts, playLength) ? 1 : 0;
}

LUMETRA_API int GetDefaultPara(MEDIACONVERSIONINFO* info)
{
    MediaLibrary::ClearFailure();
    if (!info) return 1;
    MEDIACONVERSIONINFO request;
    const auto source = UsableSource(info->szSourceFile, sizeof info->szSourceFile);
    if (!source) {
        *info = MEDIACONVERSIONINFO{};
        return 1;
    }
    LogMessage(4, "Entering GetDefaultPara with (%s)", info->szSourceFile);
    MediaLibrary::SetFieldText(request.szSourceFile, *source);
    MediaLibrary::Video::CAVI converter(request);
    MEDIACONVERSIONINFO found;
    converter.Probe(&found);
    *info = found;
    return 1;
}

LUMETRA_API int GetPlayLength(const char* source, char* output)
{
    MediaLibrary::ClearFailure();
    LogMessage(2, "Entering GetPlayLength");
    if (!source || !output) return 0;
    MEDIACONVERSIONINFO request;
    if (!MediaLibrary::SetFieldText(request.szSourceFile, source))
        return MediaLibrary::Refuse("the source's path is longer than " +
                                        std::to_string(sizeof request.szSourceFile - 1) + " bytes",
                                    0);
    MediaLibrary::Video::CMPG converter(request);
    return converter.ReadPlayLength(output);
}

LUMETRA_API int Convert_Video_TO_AVI(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatAvi, "Convert_Video_TO_AVI");
}

LUMETRA_API int Convert_Video_TO_MPG(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatMpg, "Convert_Video_TO_MPG");
}

LUMETRA_API int Convert_Video_TO_FLV(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatFlv, "Convert_Video_TO_FLV");
}

LUMETRA_API int Convert_Video_TO_M4V(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatM4v, "Convert_Video_TO_M4V");
}

LUMETRA_API int Convert_Video_TO_MP4(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatMp4, "Convert_Video_TO_MP4");
}

LUMETRA_API int Convert_Video_TO_MOV(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatMov, "Convert_Video_TO_MOV");
}

LUMETRA_API int Convert_Video_TO_VOB(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatVob, "Convert_Video_TO_VOB");
}

LUMETRA_API int Convert_Video_TO_DVD(MEDIACONVERSIONINFO info)
{
    return ConvertVideo(info, MediaLibrary::Header::kFormatDvd, "Convert_Video_TO_DVD");
}

}  // extern "C"
