#include "LibburnParts.h"

#include <cstdlib>

namespace velmora::discburn {
namespace {

struct Hashed {
    burn::burn_source* inner;
    std::shared_ptr<TrackHash> hash;
};

Hashed& HashedOf(burn::burn_source* source) { return *static_cast<Hashed*>(source->data); }

int ReadHashed(burn::burn_source* source, unsigned char* buffer, int size)
{
    Hashed& hashed = HashedOf(source);
    burn::burn_source* inner = hashed.inner;
    const int read = inner->read ? inner->read(inner, buffer, size) : inner->read_xt(inner, buffer, size);
    if (read > 0) hashed.hash->Add(buffer, static_cast<std::size_t>(read));
    return read;
}

off_t SizeOfHashed(burn::burn_source* source)
{
    burn::burn_source* inner = HashedOf(source).inner;
    return inner->get_size(inner);
}

int SetSizeOfHashed(burn::burn_source* source, off_t size)
{
    burn::burn_source* inner = HashedOf(source).inner;
    return inner->set_size(inner, size);
}

int CancelHashed(burn::burn_source* source)
{
    burn::burn_source* inner = HashedOf(source).inner;
    return inner->version > 0 && inner->cancel ? inner->cancel(inner) : 1;
}

void FreeHashed(burn::burn_source* source)
{
    Hashed* hashed = &HashedOf(source);
    burn::burn_source_free(hashed->inner);
    delete hashed;
}

}  // namespace

void TrackHash::Add(const unsigned char* data, std::size_t size)
{
    hash_.Add(data, size);
    bytes_ += size;
}

WrittenTrack TrackHash::Result()
{
    return {bytes_, hash_.Finish()};
}

burn::burn_source* HashedSource(burn::burn_source* inner, std::shared_ptr<TrackHash> hash)
{
    // libburn frees a stream's struct with free() when its last reference goes.
    auto* source = static_cast<burn::burn_source*>(std::calloc(1, sizeof(burn::burn_source)));
    if (!source) return nullptr;
    ++inner->refcount;
    source->refcount = 1;
    source->version = 1;
    source->read_xt = ReadHashed;
    source->get_size = SizeOfHashed;
    source->set_size = SetSizeOfHashed;
    source->free_data = FreeHashed;
    source->cancel = CancelHashed;
    source->data = new Hashed{inner, std::move(hash)};
    return source;
}

}  // namespace velmora::discburn
