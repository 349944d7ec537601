#include "IsoCheck.h"

#include <cstring>
#include <fstream>

namespace velmora::discburn {

bool IsIso9660Image(const std::filesystem::path& file)
{
    constexpr std::streamoff kSignatureOffset = 16 * 2048 + 1;
    std::ifstream in(file, std::ios::binary);
    char signature[5] = {};
    return in.seekg(kSignatureOffset) && in.read(signature, sizeof signature) && std::memcmp(signature, "CD001", 5) == 0;
}

}  // namespace velmora::discburn
