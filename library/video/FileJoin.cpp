#include "FileJoin.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace MediaLibrary::Video {
namespace {

constexpr std::size_t kChunkBytes = 1 << 20;

std::optional<std::string> CheckParts(const std::vector<std::filesystem::path>& parts,
                                      const std::filesystem::path& joined)
{
    for (const auto& part : parts) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(part, error)) return part.string() + " is not a file";
        if (std::filesystem::equivalent(part, joined, error))
            return "the joined file " + joined.string() + " is also one of the files to join";
    }
    return std::nullopt;
}

std::optional<std::string> AppendParts(const std::vector<std::filesystem::path>& parts,
                                       const std::filesystem::path& joined)
{
    std::ofstream out(joined, std::ios::binary | std::ios::trunc);
    if (!out) return "cannot write " + joined.string() + ": " + std::strerror(errno);
    std::vector<char> chunk(kChunkBytes);
    for (const auto& part : parts) {
        std::ifstream in(part, std::ios::binary);
        if (!in) return "cannot read " + part.string() + ": " + std::strerror(errno);
        while (in) {
            in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            if (in.gcount() > 0 && !out.write(chunk.data(), in.gcount()))
                return "cannot write " + joined.string() + ": " + std::strerror(errno);
        }
        if (in.bad()) return "reading " + part.string() + " failed";
    }
    out.close();
    if (!out) return "cannot finish " + joined.string() + ": " + std::strerror(errno);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ConcatenateFiles(const std::vector<std::filesystem::path>& parts,
                                            const std::filesystem::path& joined)
{
    if (auto refused = CheckParts(parts, joined)) return refused;
    auto failure = AppendParts(parts, joined);
    if (failure) {
        // A partial join would convert into a plausible but wrong file.
        std::error_code ignored;
        std::filesystem::remove(joined, ignored);
    }
    return failure;
}

}  // namespace MediaLibrary::Video
