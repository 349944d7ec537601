#pragma once

#include "mastering/BurnResult.h"
#include "ImageStream.h"
#include "files/PendingFile.h"

#include <cstdint>
#include <functional>

namespace velmora::discburn {

// Asked between pieces of a long write with the bytes of the image dealt with so far; false stops it.
using KeepWriting = std::function<bool(std::uint64_t bytesDone)>;

// Writes a whole image into a file. libisofs produces the file system's own blocks; the files'
// contents are then copied from their sources straight into the extents the written directory
// gives them, in the kernel where it can, instead of passing every block through libisofs.
// An image whose layout cannot be read back that way is streamed whole.
// kOk, kCancelled or kFileError (the log says why).
HResult WriteImageFile(ImageStream& image, platform::PendingFile& file, const KeepWriting& keepWriting);

}  // namespace velmora::discburn
