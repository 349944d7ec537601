// The ISO file the user picks to burn: any file may be named so. The input is what follows the
// 32 KiB system area, so that the first volume descriptor and the file's length are the fuzzer's.

#include "FuzzTarget.h"
#include "image/IsoCheck.h"

#include <cstdint>

namespace {

constexpr std::size_t kSystemArea = 16 * 2048;

std::uint64_t LittleEndian(std::string_view bytes)
{
    std::uint64_t value = 0;
    for (auto at = bytes.size(); at-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at]);
    return value;
}

}  // namespace

VELMORA_FUZZ_TARGET(iso_image)
{
    const auto why = velmora::discburn::WhyNotWholeIsoImage(velmora::fuzz::InputFile("image.iso", input, kSystemArea));
    const bool signed_ = input.size() >= 2048 && input.substr(1, 5) == "CD001";
    if (!signed_) {
        FUZZ_CHECK(why == "not an ISO 9660 image");
        return;
    }
    const bool primary = input[0] == 1;
    const std::uint64_t declared = LittleEndian(input.substr(80, 4)) * LittleEndian(input.substr(128, 2));
    const bool whole = !primary || kSystemArea + input.size() >= declared;
    FUZZ_CHECK(whole == !why.has_value());
    FUZZ_CHECK(whole || why->starts_with("an ISO 9660 image cut short (it holds "));
}
