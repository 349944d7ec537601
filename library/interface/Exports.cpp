// The conversion exports: thin frames that build a converter from the caller's request, run it
// and report as the callers expect (they judge conversions by the files they find).

#include "log/Log.h"
#include "Lumetra.h"
#include "RecordText.h"
#include "RequestPaths.h"
#include "video/Video.h"

#include <filesystem>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace {

// The library's log starts when the library is loaded into a process.
__attribute__((constructor)) void AttachLibrary()
{
    LogInit("RozeduZededir");
}

int ConvertVideo(MEDIACONVERSIONINFO request, MediaLibrary::Header::OutputFormat format, const char* exportName)
{
    if (!MediaLibrary::RequestPathsUsable(request, exportName)) return 0;
    LogMessage(4, "Entering %s with (%s) to (%s)", exportName, request.szSourceFile, request.szOutputFile);
    request.nOutputFormat = format;
    MediaLibrary::Video::CAVI converter(request);
    std::error_code ignored;
    std::filesystem::remove(request.szOutputFile, ignored);
    return converter.Convert();
}

}  // namespace

extern "C" {

LUMETRA_API void SetLogEcho(int echo)
{
    LogEcho(echo != 0);
}

LUMETRA_API int GetDefaultPara(MEDIACONVERSIONINFO* info)
{
    if (!info) return 1;
    MEDIACONVERSIONINFO request;
    const auto source = MediaLibrary::FieldText(info->szSourceFile);
    if (!source) {
        LogMessage(1, "GetDefaultPara: the source path is longer than %zu bytes",
                   MediaLibrary::Header::kPathCapacity - 1);
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
    LogMessage(2, "Entering GetPlayLength");
    if (!source || !output) return 0;
    MEDIACONVERSIONINFO request;
    if (!MediaLibrary::SetFieldText(request.szSourceFile, source)) {
        LogMessage(1, "GetPlayLength: the source path is longer than %zu bytes",
                   MediaLibrary::Header::kPathCapacity - 1);
        return 0;
    }
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
