#include "JobProgress.h"

#include "lists/Entries.h"

#include <algorithm>
#include <numeric>

namespace velmora::front {
namespace {

// Before this much of the job is done, a guess of the time left says nothing.
constexpr double kLeastForEstimate = 0.01;

}  // namespace

JobProgress::JobProgress(JobHost& host, std::vector<int> secondsPerFile) : host_(host), seconds_(std::move(secondsPerFile))
{
    weighted_ = std::none_of(seconds_.begin(), seconds_.end(), [](int seconds) { return seconds <= 0; });
    totalSeconds_ = std::accumulate(seconds_.begin(), seconds_.end(), 0.0);
}

void JobProgress::NextFile(const QString& headline)
{
    if (begun_ > 0 && begun_ <= seconds_.size()) secondsBefore_ += seconds_[begun_ - 1];
    ++begun_;
    headline_ = headline;
    Encoded(0);
}

void JobProgress::Encoded(double seconds)
{
    const double fraction = DoneFraction(seconds);
    host_.SetProgress(static_cast<int>(fraction * kScale));
    QString status = headline_ + "  " + host_.Strings()[kRowFileProgress].arg(begun_).arg(seconds_.size());
    if (const QString left = TimeLeft(fraction); !left.isEmpty()) status += " - " + left;
    host_.SetStatusText(status);
}

double JobProgress::DoneFraction(double encoded) const
{
    if (seconds_.empty() || begun_ == 0) return 0;
    const std::size_t current = std::min(begun_, seconds_.size()) - 1;
    if (!weighted_) return static_cast<double>(current) / static_cast<double>(seconds_.size());
    const double withinFile = std::clamp(encoded, 0.0, static_cast<double>(seconds_[current]));
    return std::min(1.0, (secondsBefore_ + withinFile) / totalSeconds_);
}

QString JobProgress::TimeLeft(double fraction) const
{
    if (fraction < kLeastForEstimate) return {};
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const auto left = static_cast<std::int64_t>(elapsed * (1 - fraction) / fraction + 0.5);
    return host_.Strings()[kRowTimeLeft].arg(QString::fromStdString(FormatDuration(left)));
}

std::vector<int> PlayLengthsOf(const std::vector<ConvertRow>& rows, bool checkedOnly)
{
    std::vector<int> seconds;
    for (const ConvertRow& row : rows)
        if (row.checked || !checkedOnly) seconds.push_back(row.seconds);
    return seconds;
}

}  // namespace velmora::front
