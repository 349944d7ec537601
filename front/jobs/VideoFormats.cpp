#include "VideoFormats.h"
#include "core/ControlIds.h"

namespace velmora::front {
namespace {

constexpr VideoFormat kVideoFormats[] = {
    {control::kFirstOptionRadio, "Convert_Video_TO_AVI", "avi"}, {control::kSecondOptionRadio, "Convert_Video_TO_MPG", "mpg"},
    {control::kThirdOptionRadio, "Convert_Video_TO_FLV", "flv"}, {control::kM4vRadio, "Convert_Video_TO_M4V", "m4v"},
    {control::kMp4Radio, "Convert_Video_TO_MP4", "mp4"}, {control::kMovRadio, "Convert_Video_TO_MOV", "mov"},
};

}  // namespace

const VideoFormat* FindVideoFormat(int radio)
{
    for (const VideoFormat& format : kVideoFormats)
        if (format.radio == radio) return &format;
    return nullptr;
}

}  // namespace velmora::front
