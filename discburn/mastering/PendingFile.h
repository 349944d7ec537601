#pragma once

#include "files/FileDescriptor.h"

#include <cstddef>
#include <filesystem>

namespace velmora::discburn {

// A file written under a temporary name beside its target and renamed onto it when complete,
// so a cancelled or failed write never leaves something that looks like a finished file.
// Removed when it goes without having been committed.
class PendingFile {
public:
    explicit PendingFile(std::filesystem::path target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // False when the temporary file could not be made (the log says why).
    bool IsOpen() const { return file_.valid(); }
    const std::filesystem::path& TemporaryPath() const { return temporary_; }
    // For writes at an offset; Write appends at the current position.
    int Descriptor() const { return file_.get(); }
    bool Write(const void* bytes, std::size_t count);
    bool WriteZeros(std::size_t count);
    // Flushes, closes and renames onto the target.
    bool Commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    platform::FileDescriptor file_;
    bool committed_ = false;
};

}  // namespace velmora::discburn
