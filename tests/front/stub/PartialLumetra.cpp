// A library that provides only some of Lumetra's exports, to start the window against.

#include "Lumetra.h"

#include <cstring>

extern "C" {

LUMETRA_API int GetDefaultPara(MediaLibrary::Header::MEDIACONVERSIONINFO* info)
{
    std::memset(static_cast<void*>(info), 0, sizeof *info);
    info->nAudioBitRate = 96;
    info->nSampleRate = 22050;   // the rates lie outside the window's lists
    info->nVideoBitRate = 900;
    info->nWidth = 640;
    info->nHeight = 360;
    info->nFrameRate = 29;
    return 1;
}

LUMETRA_API int Convert_Video_TO_AVI(MediaLibrary::Header::MEDIACONVERSIONINFO)
{
    return 0;
}

}  // extern "C"
