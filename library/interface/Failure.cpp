#include "Failure.h"

#include "log/Log.h"

namespace MediaLibrary {
namespace {

thread_local std::string lastFailure;

}  // namespace

void ClearFailure()
{
    lastFailure.clear();
}

void Fail(std::string reason)
{
    LogMessage(1, "%s", reason.c_str());
    lastFailure = std::move(reason);
}

const std::string& LastFailure()
{
    return lastFailure;
}

}  // namespace MediaLibrary
