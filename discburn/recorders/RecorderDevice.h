#pragma once

#include "mastering/BurnResult.h"
#include "mastering/Mastering.h"
#include "RecorderAddress.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::discburn {

// The client name every writer and exclusive-access request of the window uses.
inline constexpr const char* kClientName = "RuveRI";

// 1 to 63 characters, each alphanumeric or one of " .,:;-_".
bool IsValidClientName(const std::string& name);

// One recorder, opened by its unique id. Opening holds nothing: the drive itself is taken
// when exclusive access is acquired or a writer needs it, and given back when the record goes.
class CRecorderDevice {
public:
    CRecorderDevice() = default;
    ~CRecorderDevice();
    CRecorderDevice(const CRecorderDevice&) = delete;
    CRecorderDevice& operator=(const CRecorderDevice&) = delete;

    bool Open(const std::string& uniqueId);
    bool AcquireExclusive(const std::string& clientName);
    bool ReleaseExclusive();
    bool Eject();
    // The client holding the recorder exclusively; empty when none is known.
    std::string ExclusiveOwner();
    std::string VolumePath(std::size_t index) const;
    std::size_t VolumePathCount() const { return volumePaths.size(); }

    // For the writers.
    const std::optional<RecorderAddress>& Address() const { return address_; }
    // The held drive of a libburn recorder, taken now if need be; null with hr set when it cannot be.
    HeldDrive* Drive();
    // Gives the drive back without ejecting (a pseudo recorder's file is then free to be replaced).
    void LetGoOfDrive() { drive_.reset(); }
    bool HoldsDrive() const { return drive_ != nullptr; }

    HResult hr = kOk;
    std::string uniqueId;
    std::vector<std::string> volumePaths;

private:
    std::optional<RecorderAddress> address_;
    std::unique_ptr<HeldDrive> drive_;
    bool exclusive_ = false;
};

}  // namespace velmora::discburn
