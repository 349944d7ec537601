#include "FailureCount.h"

#include "JobPaths.h"
#include "log/Log.h"

#include <filesystem>
#include <system_error>

namespace velmora::front {

bool FailureCount::Check(const std::string& input, const std::string& output)
{
    std::error_code error;
    if (!output.empty() && std::filesystem::exists(output, error)) return true;
    ++failed_;
    LogMessage(1, "No output %s from %s", output.c_str(), input.c_str());
    host_.SetStatusText(QString::fromUtf8(platform::FileNamePart(input)) + " - failed");
    return false;
}

void FailureCount::Report() const
{
    if (failed_ == 0) return;
    host_.SetStatusText(failed_ == 1 ? QStringLiteral("1 file failed") : QString("%1 files failed").arg(failed_));
}

}  // namespace velmora::front
