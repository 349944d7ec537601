#pragma once

#include <string>

namespace MediaLibrary {

// Why the calling thread's last export call failed, in words its user understands; empty after
// a call that succeeded. Each export clears it when it starts.
void ClearFailure();
// Records the reason, and logs it.
void Fail(std::string reason);
const std::string& LastFailure();

// The reason of a call that refuses at once: records it, and returns value for the caller to return.
template <typename Value>
Value Refuse(std::string reason, Value value)
{
    Fail(std::move(reason));
    return value;
}

}  // namespace MediaLibrary
