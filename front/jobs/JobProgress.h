#pragma once

#include "JobHost.h"
#include "lists/ConvertRow.h"

#include <QString>

#include <chrono>
#include <vector>

namespace velmora::front {

// How far a job has got over its files. The bar moves with the encoded time of the current file,
// each file weighted by its play length, and the status says which file it is and the time left.
class JobProgress {
public:
    static constexpr int kScale = 1000;   // the bar's maximum

    // The play length of each file the job converts, in order; 0 where it is not known.
    JobProgress(JobHost& host, std::vector<int> secondsPerFile);

    // The next file begins; the headline says what is done with it.
    void NextFile(const QString& headline);
    // Seconds of the current file written so far.
    void Encoded(double seconds);

private:
    double DoneFraction(double encoded) const;
    QString TimeLeft(double fraction) const;

    JobHost& host_;
    std::vector<int> seconds_;
    bool weighted_ = true;      // by play length, when every file's is known
    double totalSeconds_ = 0;
    std::size_t begun_ = 0;     // files begun so far
    double secondsBefore_ = 0;  // of the files before the current one
    QString headline_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The play lengths of the rows, or of the checked ones only.
std::vector<int> PlayLengthsOf(const std::vector<ConvertRow>& rows, bool checkedOnly = false);

}  // namespace velmora::front
