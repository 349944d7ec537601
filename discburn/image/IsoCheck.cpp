#include "IsoCheck.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace velmora::discburn {
namespace {

constexpr std::streamoff kFirstDescriptor = 16 * 2048;
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

std::optional<std::string> WhyNotWholeIsoImage(const std::filesystem::path& file)
{
    // Only a plain file is opened: a named pipe would block the open for good.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return "not an ISO 9660 image";
    std::ifstream in(file, std::ios::binary);
    std::array<unsigned char, 2048> descriptor{};
    if (!in.seekg(kFirstDescriptor) || !in.read(reinterpret_cast<char*>(descriptor.data()), descriptor.size()) ||
        std::memcmp(descriptor.data() + kSignatureAt, "CD001", 5) != 0)
        return "not an ISO 9660 image";
    if (descriptor[0] != kPrimaryDescriptor) return std::nullopt;
    const std::uint64_t declared = std::uint64_t{LittleEndian(descriptor.data() + kVolumeBlocksAt, 4)} *
                                   LittleEndian(descriptor.data() + kBlockSizeAt, 2);
    const std::uint64_t held = std::filesystem::file_size(file, error);
    if (error) return "not readable: " + error.message();
    if (held < declared)
        return "an ISO 9660 image cut short (it holds " + Amount(held) + " of the " + Amount(declared) +
               " it declares)";
    return std::nullopt;
}

}  // namespace velmora::discburn
