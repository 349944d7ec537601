#pragma once

#include "mastering/Mastering.h"

#include <cstddef>
#include <cstdint>
#include <memory>

struct Iso_Image;   // libisofs's IsoImage

namespace velmora::discburn {

// The result of an image build: the ISO image as a stream that libisofs produces while it is
// read. Reading it to the end, or writing it with libburn, consumes it; once.
class ImageStream {
public:
    // Takes over the references to the stream and to the tree it is made from. A tree and the
    // block where its files' contents start let WriteImageFile copy the contents directly.
    explicit ImageStream(BurnSource* source, Iso_Image* tree = nullptr, std::uint32_t dataStartBlock = 0);
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
    Iso_Image* Tree() const { return tree_; }
    std::uint32_t DataStartBlock() const { return dataStartBlock_; }

private:
    BurnSource* source_;
    Iso_Image* tree_;
    std::uint32_t dataStartBlock_;
    std::uint64_t size_;
    std::uint64_t done_ = 0;
    bool cancelled_ = false;
};

}  // namespace velmora::discburn
