#include "JobOutcome.h"

#include "log/Log.h"
#include "paths/PathParts.h"

#include <filesystem>
#include <system_error>

namespace velmora::front {

bool JobOutcome::Check(const std::string& input, const std::string& output, const std::string& reason)
{
    std::error_code error;
    if (!output.empty() && std::filesystem::exists(output, error)) {
        ++converted_;
        return true;
    }
    const std::string why = reason.empty() ? std::string("no output was made") : reason;
    const std::string name(platform::FileNamePart(input));
    LogMessage(1, "No output %s from %s: %s", output.c_str(), input.c_str(), why.c_str());
    failures_.push_back(name + ": " + why);
    host_.SetStatusText(QString::fromStdString(name + " - failed: " + why));
    return false;
}

bool JobOutcome::Ripped(const std::string& input, const std::string& output, const std::string& verdict,
                        const std::string& reason)
{
    if (!Check(input, output, reason)) return false;
    verdicts_.push_back(std::string(platform::FileNamePart(output)) + ": " + verdict);
    host_.SetStatusText(QString::fromStdString(verdicts_.back()));
    return true;
}

void JobOutcome::StepFailed(const std::string& what, const std::string& reason)
{
    stepFailure_ = what + ": " + (reason.empty() ? std::string("it made nothing") : reason);
    LogMessage(1, "%s", stepFailure_.c_str());
}

bool JobOutcome::Joined(const std::string& result, const std::string& reason)
{
    std::error_code error;
    if (std::filesystem::exists(result, error)) {
        destination_ = result;
        return true;
    }
    StepFailed("The files were not joined", reason);
    return false;
}

QString JobOutcome::Summary() const
{
    if (cancelled_) return QStringLiteral("User Canceled!");
    if (!stepFailure_.empty()) return QString::fromStdString(stepFailure_);
    std::string summary;
    if (!failures_.empty()) {
        summary = failures_.size() == 1 ? "1 file failed: " : std::to_string(failures_.size()) + " files failed: ";
        for (std::size_t at = 0; at < failures_.size(); ++at) summary += (at ? "; " : "") + failures_[at];
    } else {
        summary = converted_ == 1 ? "1 file converted" : std::to_string(converted_) + " files converted";
        if (!destination_.empty()) summary += " into " + destination_;
    }
    for (std::size_t at = 0; at < verdicts_.size(); ++at) summary += (at ? "; " : " - AccurateRip: ") + verdicts_[at];
    return QString::fromStdString(summary);
}

}  // namespace velmora::front
