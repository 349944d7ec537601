#include "VideoFormats.h"

namespace velmora::front {
namespace {

constexpr VideoFormat kVideoFormats[] = {
    {1034, "Convert_Video_TO_AVI", "avi"}, {1035, "Convert_Video_TO_MPG", "mpg"},
    {1040, "Convert_Video_TO_FLV", "flv"}, {1059, "Convert_Video_TO_M4V", "m4v"},
    {1060, "Convert_Video_TO_MP4", "mp4"}, {1061, "Convert_Video_TO_MOV", "mov"},
};

}  // namespace

const VideoFormat* FindVideoFormat(int radio)
{
    for (const VideoFormat& format : kVideoFormats)
        if (format.radio == radio) return &format;
    return nullptr;
}

}  // namespace velmora::front
