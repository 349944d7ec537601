#include "ImageFile.h"

#include "log/Log.h"
#include "IsofsHandles.h"
#include "files/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmora::discburn {
namespace {

constexpr std::uint64_t kBlockSize = 2048;
constexpr std::size_t kStreamPiece = 1 << 20;
constexpr std::size_t kCopyPiece = 16 << 20;

// Where one source file's content goes: its extents in order, as byte ranges of the image.
struct Extent {
    std::uint64_t offset;
    std::uint64_t size;
};
struct ContentPlacement {
    std::string source;
    std::vector<Extent> extents;
};

HResult StreamUntil(ImageStream& image, platform::PendingFile& file, std::uint64_t end, const KeepWriting& keepWriting)
{
    std::vector<unsigned char> piece(kStreamPiece);
    while (image.Done() < end) {
        if (!keepWriting(image.Done())) {
            image.Cancel();
            return kCancelled;
        }
        const long read = image.Read(piece.data(), static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), end - image.Done())));
        if (read <= 0) {
            LogMessage(1, "The image ended after %llu of %llu bytes", static_cast<unsigned long long>(image.Done()),
                       static_cast<unsigned long long>(image.Size()));
            return kFileError;
        }
        if (!file.Write(piece.data(), static_cast<std::size_t>(read))) {
            LogMessage(1, "%s", file.Failure().c_str());
            image.Cancel();
            return kFileError;
        }
    }
    return kOk;
}

// Every file node below folder.
void CollectFiles(IsoDir* folder, std::vector<IsoFile*>& files)
{
    IsoDirIter* opened = nullptr;
    if (iso_dir_get_children(folder, &opened) < 0) return;
    const IsofsHandle<IsoDirIter> children(opened);
    IsoNode* node = nullptr;
    while (iso_dir_iter_next(children.get(), &node) == 1) {
        if (iso_node_get_type(node) == LIBISO_DIR) CollectFiles(reinterpret_cast<IsoDir*>(node), files);
        else if (iso_node_get_type(node) == LIBISO_FILE) files.push_back(reinterpret_cast<IsoFile*>(node));
    }
}

IsofsHandle<IsoImage> ImportDirectory(const std::filesystem::path& written)
{
    IsoDataSource* source = nullptr;
    if (iso_data_source_new_from_file(written.c_str(), &source) < 0) return nullptr;
    const IsofsHandle<IsoDataSource> heldSource(source);
    IsoReadOpts* options = nullptr;
    if (iso_read_opts_new(&options, 0) < 0) return nullptr;
    const IsofsHandle<IsoReadOpts> heldOptions(options);
    iso_read_opts_set_no_md5(options, 1);
    IsoImage* image = nullptr;
    if (iso_image_new("", &image) < 0) return nullptr;
    IsofsHandle<IsoImage> held(image);
    if (iso_image_import(image, source, options, nullptr) < 0) return nullptr;
    return held;
}

// Reads the directory back from the blocks written so far and finds where each source file's
// content belongs. Nothing when the layout is not one this writer can fill in: then the image
// must come whole from libisofs.
std::optional<std::vector<ContentPlacement>> ReadPlacements(const ImageStream& image, const std::filesystem::path& written)
{
    const auto readBack = ImportDirectory(written);
    if (!readBack) return std::nullopt;
    std::vector<IsoFile*> files;
    CollectFiles(iso_image_get_root(image.Tree()), files);

    const std::uint64_t dataStart = image.DataStartBlock() * kBlockSize;
    std::vector<ContentPlacement> placements;
    std::set<std::uint64_t> placed;   // hard links share one content
    for (IsoFile* file : files) {
        IsoStream* stream = iso_file_get_stream(file);
        const auto size = static_cast<std::uint64_t>(iso_stream_get_size(stream));
        if (size == 0) continue;
        // Only unfiltered local files that still have the size they were added with; anything
        // else is left to libisofs.
        if (iso_stream_get_input_stream(stream, 0)) return std::nullopt;
        const Allocated<char> source(iso_stream_get_source_path(stream, 0));
        struct stat status{};
        if (!source || ::stat(source.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
            static_cast<std::uint64_t>(status.st_size) != size) {
            return std::nullopt;
        }
        const Allocated<char> path(iso_tree_get_node_path(reinterpret_cast<IsoNode*>(file)));
        IsoNode* found = nullptr;
        if (!path || iso_tree_path_to_node(readBack.get(), path.get(), &found) != 1 || iso_node_get_type(found) != LIBISO_FILE) {
            return std::nullopt;
        }
        int count = 0;
        iso_file_section* sections = nullptr;
        if (iso_file_get_old_image_sections(reinterpret_cast<IsoFile*>(found), &count, &sections, 0) != 1) return std::nullopt;
        const Allocated<iso_file_section> heldSections(sections);
        ContentPlacement placement{source.get(), {}};
        std::uint64_t total = 0;
        for (int at = 0; at < count; ++at) {
            const Extent extent{sections[at].block * kBlockSize, sections[at].size};
            if (extent.offset < dataStart || extent.offset + extent.size > image.Size()) return std::nullopt;
            placement.extents.push_back(extent);
            total += extent.size;
        }
        if (total != size) return std::nullopt;
        if (placed.insert(placement.extents.front().offset).second) placements.push_back(std::move(placement));
    }
    return placements;
}

// Copies up to count bytes from one file offset to another, in the kernel where both files
// allow it. The bytes copied, 0 at the end of the source, -1 on failure (errno says why).
ssize_t CopyPiece(int from, loff_t& fromOffset, int target, loff_t& targetOffset, std::size_t count, bool& inKernel)
{
    if (inKernel) {
        ssize_t copied = 0;
        do copied = ::copy_file_range(from, &fromOffset, target, &targetOffset, count, 0);
        while (copied < 0 && errno == EINTR);
        if (copied >= 0 || (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)) return copied;
        // Different kinds of file system, or an old kernel: through memory from here on.
        inKernel = false;
    }
    static thread_local std::vector<char> buffer(kStreamPiece);
    ssize_t read = 0;
    do read = ::pread(from, buffer.data(), std::min(count, buffer.size()), fromOffset);
    while (read < 0 && errno == EINTR);
    if (read <= 0) return read;
    for (ssize_t written = 0; written < read;) {
        const ssize_t part = ::pwrite(target, buffer.data() + written, static_cast<std::size_t>(read - written), targetOffset + written);
        if (part < 0 && errno == EINTR) continue;
        if (part <= 0) return -1;
        written += part;
    }
    fromOffset += read;
    targetOffset += read;
    return read;
}

// The start of the next stretch of data in the file at or after offset, skipping holes; the
// end of the file when only a hole follows. Where holes cannot be told, everything is data.
loff_t NextData(int fd, loff_t offset, loff_t end)
{
    const off_t data = ::lseek(fd, offset, SEEK_DATA);
    if (data >= 0) return std::min<loff_t>(data, end);
    return errno == ENXIO ? end : offset;
}

loff_t HoleAfter(int fd, loff_t offset, loff_t end)
{
    const off_t hole = ::lseek(fd, offset, SEEK_HOLE);
    return hole >= 0 ? std::min<loff_t>(hole, end) : end;
}

// Copies a source file's content into its extents. The image is all zeros there already, so
// the source's holes are skipped. written counts the bytes dealt with, holes included.
HResult CopyContent(const ContentPlacement& placement, int target, bool& inKernel, std::uint64_t& written,
                    const KeepWriting& keepWriting)
{
    const platform::FileDescriptor from(::open(placement.source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!from.valid()) {
        LogMessage(1, "Cannot read %s for the image: %s", placement.source.c_str(), std::strerror(errno));
        return kFileError;
    }
    loff_t extentStart = 0;   // in the source
    for (const Extent& extent : placement.extents) {
        const loff_t extentEnd = extentStart + static_cast<loff_t>(extent.size);
        for (loff_t at = extentStart; at < extentEnd;) {
            if (!keepWriting(written)) return kCancelled;
            loff_t fromOffset = NextData(from.get(), at, extentEnd);
            written += static_cast<std::uint64_t>(fromOffset - at);
            if (fromOffset == extentEnd) break;
            const loff_t dataEnd = HoleAfter(from.get(), fromOffset, extentEnd);
            const auto piece = static_cast<std::size_t>(std::min<loff_t>(dataEnd - fromOffset, kCopyPiece));
            auto targetOffset = static_cast<loff_t>(extent.offset) + (fromOffset - extentStart);
            const ssize_t copied = CopyPiece(from.get(), fromOffset, target, targetOffset, piece, inKernel);
            if (copied < 0) {
                LogMessage(1, "Copying %s into the image failed: %s", placement.source.c_str(), std::strerror(errno));
                return kFileError;
            }
            if (copied == 0) {
                // Shrunk since it was added: the missing tail stays zeros, as libisofs does it.
                LogMessage(1, "%s became shorter while the image was written", placement.source.c_str());
                return kOk;
            }
            written += static_cast<std::uint64_t>(copied);
            at = fromOffset;
        }
        extentStart = extentEnd;
    }
    return kOk;
}

}  // namespace

HResult WriteImageFile(ImageStream& image, platform::PendingFile& file, const KeepWriting& keepWriting)
{
    const std::uint64_t metadataEnd = image.DataStartBlock() * kBlockSize;
    if (!image.Tree() || metadataEnd == 0 || metadataEnd > image.Size()) return StreamUntil(image, file, image.Size(), keepWriting);

    if (const HResult hr = StreamUntil(image, file, metadataEnd, keepWriting); hr != kOk) return hr;
    // At full length first, so that reading the directory back never runs past the end and the
    // contents' padding reads as zeros.
    if (::ftruncate(file.Descriptor(), static_cast<off_t>(image.Size())) != 0) {
        LogMessage(1, "Cannot size %s: %s", file.TemporaryPath().c_str(), std::strerror(errno));
        image.Cancel();
        return kFileError;
    }
    const auto placements = ReadPlacements(image, file.TemporaryPath());
    if (!placements) {
        LogMessage(2, "The image's layout could not be read back; libisofs writes all of it");
        return StreamUntil(image, file, image.Size(), keepWriting);
    }
    image.Cancel();
    bool inKernel = true;
    std::uint64_t written = metadataEnd;
    for (const auto& placement : *placements) {
        if (const HResult hr = CopyContent(placement, file.Descriptor(), inKernel, written, keepWriting); hr != kOk) return hr;
    }
    return kOk;
}

}  // namespace velmora::discburn
