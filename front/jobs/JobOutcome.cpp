#include "JobOutcome.h"

#include "log/Log.h"
#include "paths/PathParts.h"

#include <filesystem>
#include <system_error>

namespace velmora::front {

bool JobOutcome::Check(const std::string& input, const std::string& output, const std::string& reason)
{
    // A failed conversion leaves an earlier file of the name as it was: the reason decides first.
    std::error_code error;
    if (reason.empty() && !output.empty() && std::filesystem::exists(output, error)) {
        ++converted_;
        return true;
    }
    const std::string why = reason.empty() ? std::string("no output was made") : reason;
    LogMessage(1, "No output %s from %s: %s", output.c_str(), input.c_str(), why.c_str());
    const QString name = QString::fromStdString(std::string(platform::FileNamePart(input)));
    failures_ << name + ": " + QString::fromStdString(why);
    host_.SetStatusText(host_.Strings()[kRowFileFailed].arg(name, QString::fromStdString(why)));
    return false;
}

bool JobOutcome::Ripped(const std::string& input, const std::string& output, const std::string& verdict,
                        const std::string& reason)
{
    if (!Check(input, output, reason)) return false;
    verdicts_ << QString::fromStdString(std::string(platform::FileNamePart(output)) + ": " + verdict);
    host_.SetStatusText(verdicts_.back());
    return true;
}

void JobOutcome::StepFailed(int what, const std::string& reason)
{
    stepFailure_ = host_.Strings()[what] + ": " + QString::fromStdString(reason.empty() ? "it made nothing" : reason);
    LogMessage(1, "%s", stepFailure_.toUtf8().constData());
}

bool JobOutcome::Joined(const std::string& result, const std::string& reason)
{
    std::error_code error;
    if (reason.empty() && std::filesystem::exists(result, error)) {
        destination_ = result;
        return true;
    }
    StepFailed(kRowNotJoined, reason);
    return false;
}

QString JobOutcome::Summary() const
{
    // Ripped tracks end it with their verdicts: " - AccurateRip: 01 - One.wav: accurate (confidence 5, v2); ...".
    if (cancelled_ || verdicts_.isEmpty()) return Outcomes();
    const QString verdicts = " - AccurateRip: " + verdicts_.join("; ");
    return Outcomes() + verdicts;
}

QString JobOutcome::Outcomes() const
{
    if (cancelled_) return QStringLiteral("User Canceled!");
    const UiStrings& strings = host_.Strings();
    if (!stepFailure_.isEmpty()) return stepFailure_;
    if (failures_.size() == 1) return strings[kRowOneFailed].arg(failures_.front());
    if (!failures_.isEmpty()) return strings[kRowManyFailed].arg(failures_.size()).arg(failures_.join("; "));
    const QString count = converted_ == 1 ? strings[kRowOneConverted] : strings[kRowManyConverted].arg(converted_);
    return destination_.empty() ? count : strings[kRowConvertedInto].arg(count, QString::fromStdString(destination_));
}

}  // namespace velmora::front
