#pragma once

#include "FileDescriptor.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace velmora::platform {

// Renames a file, but never onto an existing one: false with errno EEXIST when the name is taken.
bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// A file written under a temporary name beside its target and renamed onto it when complete, so
// that a cancelled or failed write never leaves something that looks like a finished file and
// never harms an earlier file of that name. The temporary name is hidden and ends in the
// target's extension, for writers that choose a format by it. Removed when it goes without
// having been committed.
class PendingFile {
public:
    explicit PendingFile(std::filesystem::path target);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // False when the temporary file could not be made; Failure() says why.
    bool IsOpen() const { return !temporary_.empty(); }
    const std::filesystem::path& Target() const { return target_; }
    const std::filesystem::path& TemporaryPath() const { return temporary_; }
    // Why the last step failed, in words.
    const std::string& Failure() const { return failure_; }

    // For writes at an offset; Write appends at the current position.
    int Descriptor() const { return file_.get(); }
    bool Write(const void* bytes, std::size_t count);
    bool WriteZeros(std::size_t count);
    // Lets a program of its own write the temporary file by its name: ours is closed.
    void HandOver() { file_.reset(); }
    // Closes (when still open) and renames onto the target.
    bool Commit();
    // As Commit, but never onto an existing file: false, with Exists() true, when the target is
    // taken; the file stays pending and can be committed under another name.
    bool CommitNew();
    bool Exists() const { return exists_; }
    // Another target for CommitNew, in the same folder.
    void Retarget(std::filesystem::path target) { target_ = std::move(target); }

private:
    bool Failed(const std::string& what);
    bool Close();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    FileDescriptor file_;
    std::string failure_;
    bool committed_ = false;
    bool exists_ = false;
};

}  // namespace velmora::platform
