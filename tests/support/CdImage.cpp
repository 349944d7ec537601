#include "CdImage.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>

namespace velmora::test {

std::string TonePcm(std::size_t frames, double pitch)
{
    std::string pcm;
    pcm.reserve(frames * 4);
    const auto put = [&pcm](double value) {
        const auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value)));
        pcm += static_cast<char>(sample & 0xFF);
        pcm += static_cast<char>(sample >> 8);
    };
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const double phase = 2 * std::numbers::pi * pitch * static_cast<double>(frame) / 44100;
        put(12000 * std::sin(phase));
        put(-9000 * std::sin(phase * 1.5));
    }
    return pcm;
}

CdImage WriteCdImage(const std::filesystem::path& folder, const std::string& name,
                     const std::vector<ImageTrack>& tracks, const ImageText& text)
{
    CdImage image{folder / (name + ".cue"), {}};
    std::ofstream bin(folder / (name + ".bin"), std::ios::binary), cue(image.cue);
    if (!text.performer.empty()) cue << "PERFORMER \"" << text.performer << "\"\n";
    if (!text.album.empty()) cue << "TITLE \"" << text.album << "\"\n";
    cue << "FILE \"" << name << ".bin\" BINARY\n";
    int start = 0;   // in frames of 1/75 s
    for (const auto& track : tracks) {
        image.tracks.push_back(TonePcm(static_cast<std::size_t>(track.seconds) * 44100, track.pitch));
        bin << image.tracks.back();
        char entry[64];
        std::snprintf(entry, sizeof entry, "  TRACK %02zu AUDIO\n    INDEX 01 %02d:%02d:%02d\n", image.tracks.size(),
                      start / 4500, start / 75 % 60, start % 75);
        cue << entry;
        if (image.tracks.size() <= text.titles.size() && !text.titles[image.tracks.size() - 1].empty())
            cue << "    TITLE \"" << text.titles[image.tracks.size() - 1] << "\"\n";
        start += track.seconds * 75;
    }
    return image;
}

std::filesystem::path WriteMixedCdImage(const std::filesystem::path& folder)
{
    std::ofstream(folder / "mixed.bin", std::ios::binary) << std::string(2 * 75 * 2352 + 2 * 176400, '\x11');
    std::ofstream(folder / "mixed.cue") << "FILE \"mixed.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                                           "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n";
    return folder / "mixed.cue";
}

std::filesystem::path WriteDataCdImage(const std::filesystem::path& folder, const std::string& name,
                                       const std::string& userData)
{
    const auto bcd = [](int value) { return static_cast<char>(value / 10 << 4 | value % 10); };
    std::string raw;
    for (std::size_t at = 0; at < userData.size(); at += 2048) {
        const int address = static_cast<int>(at / 2048) + 150;
        raw += std::string("\0\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\0", 12);
        raw += {bcd(address / 4500), bcd(address / 75 % 60), bcd(address % 75), '\1'};
        raw += userData.substr(at, 2048) + std::string(288, '\0');   // EDC and ECC left blank
    }
    std::ofstream(folder / (name + ".bin"), std::ios::binary) << raw;
    std::ofstream(folder / (name + ".cue")) << "FILE \"" << name << ".bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n";
    return folder / (name + ".cue");
}

std::string DriveList(const std::vector<std::pair<char, std::filesystem::path>>& drives)
{
    std::string list;
    for (const auto& [letter, source] : drives) {
        if (!list.empty()) list += ';';
        list += letter;
        list += '=';
        list += source.string();
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
