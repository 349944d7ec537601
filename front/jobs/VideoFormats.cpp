#include "VideoFormats.h"
#include "core/ControlIds.h"

namespace velmora::front {
namespace {

constexpr VideoFormat kVideoFormats[] = {
    {control::kFirstOptionRadio, Export::Convert_Video_TO_AVI, "avi"}, {control::kSecondOptionRadio, Export::Convert_Video_TO_MPG, "mpg"},
    {control::kThirdOptionRadio, Export::Convert_Video_TO_FLV, "flv"}, {control::kM4vRadio, Export::Convert_Video_TO_M4V, "m4v"},
    {control::kMp4Radio, Export::Convert_Video_TO_MP4, "mp4"}, {control::kMovRadio, Export::Convert_Video_TO_MOV, "mov"},
};

}  // namespace

const VideoFormat* FindVideoFormat(int radio)
{
    for (const VideoFormat& format : kVideoFormats)
        if (format.radio == radio) return &format;
    return nullptr;
}

}  // namespace velmora::front
