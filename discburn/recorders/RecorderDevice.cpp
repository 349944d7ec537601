#include "RecorderDevice.h"

#include "log/Log.h"
#include "drives/DriveTable.h"

#include <cctype>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace velmora::discburn {
namespace {

// Which client holds which recorder in this process: libburn's own lock only keeps other
// programs out, and pseudo recorders have none.
class ExclusiveHolders {
public:
    static ExclusiveHolders& Instance()
    {
        static ExclusiveHolders holders;
        return holders;
    }
    bool Take(const std::string& id, const std::string& client)
    {
        std::lock_guard lock(mutex_);
        return holders_.emplace(id, client).second;
    }
    void Give(const std::string& id)
    {
        std::lock_guard lock(mutex_);
        holders_.erase(id);
    }
    std::string Holder(const std::string& id)
    {
        std::lock_guard lock(mutex_);
        const auto found = holders_.find(id);
        return found == holders_.end() ? std::string() : found->second;
    }

private:
    std::mutex mutex_;
    std::map<std::string, std::string> holders_;
};

bool IsClientNameCharacter(unsigned char c)
{
    // Bytes of multi-byte UTF-8 characters count as letters.
    return std::isalnum(c) || c >= 0x80 || c == ' ' || c == '.' || c == ',' || c == ':' || c == ';' || c == '-' ||
           c == '_';
}

// A recorder that can be used: a block device, or a pseudo recorder's file (existing or not)
// in an existing folder.
bool CanOpen(const RecorderAddress& address)
{
    struct stat status{};
    if (address.kind == RecorderKind::Drive) return ::stat(address.path.c_str(), &status) == 0 && S_ISBLK(status.st_mode);
    if (::stat(address.path.c_str(), &status) == 0) return !S_ISDIR(status.st_mode);
    return ::stat(address.path.parent_path().c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The drive roots of the table that stand for this recorder's device or image.
std::vector<std::string> DriveRootsOf(const RecorderAddress& address)
{
    std::vector<std::string> roots;
    std::error_code error;
    const auto wanted = std::filesystem::weakly_canonical(address.path, error);
    const auto table = platform::DriveTable::Load();
    for (const auto& drive : table.Drives()) {
        const auto source = std::filesystem::weakly_canonical(drive.source, error);
        if (!error && source == wanted) roots.push_back(drive.Root());
    }
    return roots;
}

}  // namespace

bool IsValidClientName(const std::string& name)
{
    if (name.empty() || name.size() > 63) return false;
    for (const unsigned char c : name)
        if (!IsClientNameCharacter(c)) return false;
    return true;
}

CRecorderDevice::~CRecorderDevice()
{
    ReleaseExclusive();
}

bool CRecorderDevice::Open(const std::string& id)
{
    ReleaseExclusive();
    uniqueId = id;
    volumePaths.clear();
    drive_.reset();
    address_ = RecorderAddress::Parse(id);
    if (!address_ || !CanOpen(*address_)) {
        LogMessage(1, "No recorder at %s", id.c_str());
        address_.reset();
        hr = kNoSuchRecorder;
        return false;
    }
    volumePaths = DriveRootsOf(*address_);
    if (volumePaths.empty() && address_->kind != RecorderKind::Drive) volumePaths.push_back(address_->path.string());
    hr = kOk;
    return true;
}

bool CRecorderDevice::AcquireExclusive(const std::string& clientName)
{
    if (!IsValidClientName(clientName)) {
        hr = kInvalidArgument;
        return false;
    }
    if (!address_) {
        hr = kNoSuchRecorder;
        return false;
    }
    if (exclusive_) return true;
    if (!ExclusiveHolders::Instance().Take(uniqueId, clientName)) {
        hr = kRecorderBusy;
        return false;
    }
    exclusive_ = true;
    if (address_->kind != RecorderKind::CueImage && !Drive()) {
        ReleaseExclusive();
        return false;
    }
    hr = kOk;
    return true;
}

bool CRecorderDevice::ReleaseExclusive()
{
    if (!address_) return false;
    if (exclusive_) ExclusiveHolders::Instance().Give(uniqueId);
    exclusive_ = false;
    return true;
}

bool CRecorderDevice::Eject()
{
    if (!address_) return false;
    if (drive_) drive_->EjectOnRelease();
    drive_.reset();
    hr = kOk;
    return true;
}

std::string CRecorderDevice::ExclusiveOwner()
{
    if (!address_) return {};
    return ExclusiveHolders::Instance().Holder(uniqueId);
}

std::string CRecorderDevice::VolumePath(std::size_t index) const
{
    return index < volumePaths.size() ? volumePaths[index] : std::string();
}

HeldDrive* CRecorderDevice::Drive()
{
    if (!address_ || address_->kind == RecorderKind::CueImage) {
        hr = kNotSupported;
        return nullptr;
    }
    if (!drive_) drive_ = HeldDrive::Acquire(address_->kind == RecorderKind::Drive ? address_->path.string() : uniqueId, hr);
    return drive_.get();
}

}  // namespace velmora::discburn
