#include "Sha256.h"

#include <openssl/evp.h>

#include <new>

namespace velmora::discburn {

Sha256::Sha256() : context_(EVP_MD_CTX_new())
{
    if (!context_ || EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) != 1) throw std::bad_alloc();
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(context_);
}

void Sha256::Add(const void* data, std::size_t size)
{
    EVP_DigestUpdate(context_, data, size);
}

Digest Sha256::Finish()
{
    Digest digest{};
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_, digest.data(), &length);
    EVP_DigestInit_ex(context_, EVP_sha256(), nullptr);
    return digest;
}

}  // namespace velmora::discburn
