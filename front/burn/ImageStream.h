#pragma once

#include "burn/Mastering.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace velmora::discburn {

// The result of an image build: the ISO image as a stream that libisofs produces while it is
// read. Reading it to the end, or writing it with libburn, consumes it; once.
class ImageStream {
public:
    // Takes over the stream's reference.
    explicit ImageStream(BurnSource* source);
    ~ImageStream();
    ImageStream(const ImageStream&) = delete;
    ImageStream& operator=(const ImageStream&) = delete;

    std::uint64_t Size() const { return size_; }
    std::uint64_t Done() const { return done_; }
    // Up to count bytes (never past the end); 0 at the end, negative on failure.
    long Read(void* buffer, std::size_t count);
    // Stops the image production early.
    void Cancel();
    BurnSource* Source() const { return source_; }

private:
    BurnSource* source_;
    std::uint64_t size_;
    std::uint64_t done_ = 0;
    bool cancelled_ = false;
};

}  // namespace velmora::discburn
