#include "SharedState.h"

#include <utility>

namespace velmora::front {

void SharedState::AddDiscUsed(std::int64_t amount)
{
    std::uint64_t used = discUsed_.load();
    std::uint64_t next = 0;
    do {
        const auto magnitude = static_cast<std::uint64_t>(amount < 0 ? -amount : amount);
        next = amount >= 0 ? used + magnitude : (used > magnitude ? used - magnitude : 0);
    } while (!discUsed_.compare_exchange_weak(used, next));
}

void SharedState::AddPendingOutput(std::string output)
{
    std::lock_guard guard(lock_);
    pendingOutputs_.push_back(std::move(output));
}

bool SharedState::HasPendingOutputs() const
{
    std::lock_guard guard(lock_);
    return !pendingOutputs_.empty();
}

std::vector<std::string> SharedState::TakePendingOutputs()
{
    std::lock_guard guard(lock_);
    return std::exchange(pendingOutputs_, {});
}

bool SharedState::CancelRequested() const
{
    std::lock_guard guard(lock_);
    return cancelRequest_;
}

void SharedState::SetCancelRequest(bool cancel)
{
    std::lock_guard guard(lock_);
    cancelRequest_ = cancel;
}

std::string SharedState::DateStamp() const
{
    std::lock_guard guard(lock_);
    return dateStamp_;
}

void SharedState::SetDateStamp(std::string stamp)
{
    std::lock_guard guard(lock_);
    dateStamp_ = std::move(stamp);
}

}  // namespace velmora::front
