#include "ImageStream.h"

// libisofs's own copy of libburn's struct burn_source, with the same layout.
#define LIBISOFS_WITHOUT_LIBBURN
#include <stdint.h>
#include <libisofs/libisofs.h>

#include <algorithm>
#include <climits>

namespace velmora::discburn {
namespace {

::burn_source* IsofsSource(BurnSource* source) { return reinterpret_cast<::burn_source*>(source); }

}  // namespace

ImageStream::ImageStream(BurnSource* source, Iso_Image* tree, std::uint32_t dataStartBlock)
    : source_(source),
      tree_(tree),
      dataStartBlock_(dataStartBlock),
      size_(static_cast<std::uint64_t>(IsofsSource(source)->get_size(IsofsSource(source))))
{
}

ImageStream::~ImageStream()
{
    // An image not read to its end still has libisofs's writer thread waiting on it.
    if (done_ < size_) Cancel();
    FreeBurnSource(source_);
    if (tree_) iso_image_unref(tree_);
}

long ImageStream::Read(void* buffer, std::size_t count)
{
    // libisofs drops the tail of a read that asks for more than remains.
    const auto wanted = std::min<std::uint64_t>({count, size_ - done_, INT_MAX});
    if (wanted == 0) return 0;
    ::burn_source* source = IsofsSource(source_);
    const int read = source->read_xt(source, static_cast<unsigned char*>(buffer), static_cast<int>(wanted));
    if (read > 0) done_ += static_cast<std::uint64_t>(read);
    return read;
}

void ImageStream::Cancel()
{
    if (cancelled_) return;
    cancelled_ = true;
    ::burn_source* source = IsofsSource(source_);
    if (source->cancel) source->cancel(source);
}

}  // namespace velmora::discburn
