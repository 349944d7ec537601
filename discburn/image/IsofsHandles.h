#pragma once

// Owning handles for libisofs objects; for translation units that use libisofs alone.

#include <stdint.h>
#include <libisofs/libisofs.h>

#include <cstdlib>
#include <memory>

namespace velmora::discburn {

struct IsofsDeleter {
    void operator()(IsoImage* image) const { iso_image_unref(image); }
    void operator()(IsoWriteOpts* options) const { iso_write_opts_free(options); }
    void operator()(IsoReadOpts* options) const { iso_read_opts_free(options); }
    void operator()(IsoDataSource* source) const { iso_data_source_unref(source); }
    void operator()(IsoDirIter* iterator) const { iso_dir_iter_free(iterator); }
};
template <typename T>
using IsofsHandle = std::unique_ptr<T, IsofsDeleter>;

// What libisofs returns for the caller to free().
struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using Allocated = std::unique_ptr<T, FreeDeleter>;

}  // namespace velmora::discburn
