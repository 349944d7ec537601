#include "CdImage.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>

namespace velmora::test {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kFramesPerSecond = 75;

void PutSample(std::string& pcm, std::size_t at, double value)
{
    const auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value)));
    pcm[at] = static_cast<char>(sample & 0xFF);
    pcm[at + 1] = static_cast<char>(sample >> 8);
}

std::string Tone(const ImageTrack& track)
{
    const std::size_t frames = static_cast<std::size_t>(track.seconds) * kSampleRate;
    std::string pcm(frames * 4, '\0');
    if (track.pitch <= 0) return pcm;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const double time = static_cast<double>(frame) / kSampleRate;
        PutSample(pcm, frame * 4, 12000 * std::sin(2 * std::numbers::pi * track.pitch * time));
        PutSample(pcm, frame * 4 + 2, -9000 * std::sin(2 * std::numbers::pi * track.pitch * 1.5 * time));
    }
    return pcm;
}

std::string Msf(int sectors)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", sectors / kFramesPerSecond / 60,
                  sectors / kFramesPerSecond % 60, sectors % kFramesPerSecond);
    return text;
}

}  // namespace

CdImage WriteCdImage(const std::filesystem::path& folder, const std::string& name,
                     const std::vector<ImageTrack>& tracks)
{
    CdImage image;
    image.cue = folder / (name + ".cue");
    std::ofstream bin(folder / (name + ".bin"), std::ios::binary);
    std::ofstream cue(image.cue);
    cue << "FILE \"" << name << ".bin\" BINARY\n";
    int start = 0;
    for (std::size_t at = 0; at < tracks.size(); ++at) {
        image.tracks.push_back(Tone(tracks[at]));
        bin.write(image.tracks.back().data(), static_cast<std::streamsize>(image.tracks.back().size()));
        char number[12];
        std::snprintf(number, sizeof number, "%02d", static_cast<int>(at + 1));
        cue << "  TRACK " << number << " AUDIO\n    INDEX 01 " << Msf(start) << "\n";
        start += tracks[at].seconds * kFramesPerSecond;
    }
    return image;
}

std::string DriveList(const std::vector<std::pair<char, std::filesystem::path>>& drives)
{
    std::string list;
    for (const auto& [letter, source] : drives) {
        if (!list.empty()) list += ';';
        list += std::string(1, letter) + "=" + source.string();
    }
    return list;
}

std::uint32_t Little32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte) value = value << 8 | static_cast<unsigned char>(bytes[at + byte]);
    return value;
}

}  // namespace velmora::test
