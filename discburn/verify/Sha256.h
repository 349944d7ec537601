#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct evp_md_ctx_st;   // OpenSSL's EVP_MD_CTX

namespace velmora::discburn {

using Digest = std::array<unsigned char, 32>;

// A SHA-256 of bytes given piece by piece.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(const void* data, std::size_t size);
    // The digest of everything added; the hash starts over afterwards.
    Digest Finish();

private:
    evp_md_ctx_st* context_;
};

// What went onto the recorder for one track: its bytes, counted and hashed as they were written.
struct WrittenTrack {
    std::uint64_t bytes = 0;
    Digest sha256{};
};

}  // namespace velmora::discburn
