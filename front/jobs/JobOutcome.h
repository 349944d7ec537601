#pragma once

#include "JobHost.h"

#include <QString>
#include <QStringList>

#include <string>

namespace velmora::front {

// What a job did with its files: each one converted, or failed with its reason in the library's
// words; the file's own status line at once, and a summary at the end of the job.
class JobOutcome {
public:
    explicit JobOutcome(JobHost& host) : host_(host) {}

    // Where the outputs go, for the summary.
    void SetDestination(std::string folder) { destination_ = std::move(folder); }
    // True when the library gave no reason and the output is there; else the file failed, with
    // the reason (a general one when the library gave none): "<name> - failed: <reason>".
    bool Check(const std::string& input, const std::string& output, const std::string& reason);
    // A CD track ripped into output, with its AccurateRip verdict ("<file>: <verdict>" at once and
    // in the summary); with no output it failed, as in Check.
    bool Ripped(const std::string& input, const std::string& output, const std::string& verdict,
                const std::string& reason);
    // A step for all the files that failed (the DVD authoring): the job made nothing. `what` is
    // a row of the window's texts.
    void StepFailed(int what, const std::string& reason);
    // The files joined into one: the summary names it; false (a failed step) when the library
    // gave a reason or it is not there.
    bool Joined(const std::string& result, const std::string& reason);
    void Cancelled() { cancelled_ = true; }

    // "3 files converted into <folder>"; "2 files failed: a.avi: <reason>; b.avi: <reason>";
    // "User Canceled!".
    QString Summary() const;

private:
    QString Outcomes() const;

    JobHost& host_;
    std::string destination_;
    int converted_ = 0;
    QStringList failures_;   // "<name>: <reason>"
    QStringList verdicts_;   // "<file>: <verdict>"
    QString stepFailure_;
    bool cancelled_ = false;
};

}  // namespace velmora::front
