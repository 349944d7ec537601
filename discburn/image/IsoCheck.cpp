#include "IsoCheck.h"

#include "files/PlainFile.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <unistd.h>

namespace velmora::discburn {
namespace {

constexpr off_t kFirstDescriptor = 16 * 2048;
constexpr unsigned char kPrimaryDescriptor = 1;
constexpr std::size_t kSignatureAt = 1, kVolumeBlocksAt = 80, kBlockSizeAt = 128;
constexpr std::uint64_t kKilobyte = 1024, kMegabyte = 1024 * kKilobyte;

std::uint32_t LittleEndian(const unsigned char* bytes, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t at = count; at-- > 0;) value = (value << 8) | bytes[at];
    return value;
}

// KB below 10 MB, so that small images do not read "0 of 1 MB".
std::string Amount(std::uint64_t bytes)
{
    if (bytes < 10 * kMegabyte) return std::to_string(bytes / kKilobyte) + " KB";
    return std::to_string(bytes / kMegabyte) + " MB";
}

}  // namespace

std::optional<VolumeSpace> PrimaryVolumeSpace(const unsigned char* sector)
{
    if (sector[0] != kPrimaryDescriptor || std::memcmp(sector + kSignatureAt, "CD001", 5) != 0) return std::nullopt;
    return VolumeSpace{LittleEndian(sector + kVolumeBlocksAt, 4),
                       static_cast<std::uint16_t>(LittleEndian(sector + kBlockSizeAt, 2))};
}

std::optional<std::string> WhyNotWholeIsoImage(const std::filesystem::path& file)
{
    const platform::PlainFile image = platform::OpenPlainFile(file);
    std::array<unsigned char, 2048> descriptor{};
    if (!image.fd.valid() ||
        ::pread(image.fd.get(), descriptor.data(), descriptor.size(), kFirstDescriptor) !=
            static_cast<ssize_t>(descriptor.size()) ||
        std::memcmp(descriptor.data() + kSignatureAt, "CD001", 5) != 0)
        return "not an ISO 9660 image";
    const auto space = PrimaryVolumeSpace(descriptor.data());
    const std::uint64_t declared = space ? std::uint64_t{space->blocks} * space->blockBytes : 0;
    if (image.size < declared)
        return "an ISO 9660 image cut short (it holds " + Amount(image.size) + " of the " + Amount(declared) +
               " it declares)";
    return std::nullopt;
}

}  // namespace velmora::discburn
