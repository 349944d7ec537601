#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velmora::discburn {

// The volume's space as the primary volume descriptor (a 2048-byte sector) declares it; none when
// the sector is no primary volume descriptor.
struct VolumeSpace {
    std::uint32_t blocks = 0;
    std::uint16_t blockBytes = 0;
};
std::optional<VolumeSpace> PrimaryVolumeSpace(const unsigned char* sector);

// Why the file is no whole ISO 9660 image, in words that go before its path: no "CD001" in the
// first volume descriptor (byte 32769), or fewer bytes than its primary volume descriptor
// declares (a download cut short would make a broken disc). None when it is one.
std::optional<std::string> WhyNotWholeIsoImage(const std::filesystem::path& file);

}  // namespace velmora::discburn
