// The disc rip exports: a disc's tracks into named, tagged and verified files, and the rip log.

#include "Failure.h"
#include "Lumetra.h"
#include "RecordText.h"
#include "log/Log.h"
#include "rip/DiscRip.h"

#include <exception>
#include <memory>

using MediaLibrary::Header::MEDIACONVERSIONINFO;
using MediaLibrary::Header::RIP_TRACK_REPORT;
using MediaLibrary::Refuse;
namespace Result = MediaLibrary::Result;

struct LumetraDiscRip {
    std::unique_ptr<MediaLibrary::Rip::DiscRip> rip;
};

namespace {

MediaLibrary::Header::RipVerdict VerdictCode(AccurateRip::Verdict verdict)
{
    switch (verdict) {
    case AccurateRip::Verdict::Accurate: return MediaLibrary::Header::kRipAccurate;
    case AccurateRip::Verdict::NotAccurate: return MediaLibrary::Header::kRipNotAccurate;
    case AccurateRip::Verdict::NotInDatabase: return MediaLibrary::Header::kRipNotInDatabase;
    case AccurateRip::Verdict::NoAnswer: break;
    }
    return MediaLibrary::Header::kRipNotVerified;
}

void Report(const MediaLibrary::Rip::RippedTrack& ripped, RIP_TRACK_REPORT& report)
{
    report = RIP_TRACK_REPORT{};
    report.nTrackNo = ripped.number;
    report.nResult = ripped.result;
    report.nVerdict = ripped.result == 0 ? VerdictCode(ripped.verdict.verdict) : MediaLibrary::Header::kRipNotRipped;
    report.nConfidence = ripped.verdict.confidence;
    report.nArVersion = ripped.verdict.version;
    report.nCrc32 = ripped.crc32;
    report.nAccurateRipV1 = ripped.arV1;
    report.nAccurateRipV2 = ripped.arV2;
    report.nSampleFrames = ripped.frames;
    MediaLibrary::SetFieldText(report.szOutputFile, ripped.file.string());
    MediaLibrary::AppendFieldTextCut(report.szVerdict, ripped.verdictText);
}

}  // namespace

extern "C" {

LUMETRA_API LumetraDiscRip* BeginDiscRip(char drive, const char* folder, MEDIACONVERSIONINFO quality)
{
    MediaLibrary::ClearFailure();
    if (!folder || !*folder) return Refuse<LumetraDiscRip*>("no output folder was given", nullptr);
    LogMessage(4, "Entering BeginDiscRip with drive (%c) into (%s)", drive, folder);
    try {
        auto rip = MediaLibrary::Rip::DiscRip::Begin(drive, folder, quality);
        return rip ? new LumetraDiscRip{std::move(rip)} : nullptr;
    } catch (const std::exception& exception) {
        return Refuse<LumetraDiscRip*>(std::string("the disc cannot be ripped: ") + exception.what(), nullptr);
    }
}

LUMETRA_API int RipDiscTrack(LumetraDiscRip* rip, int track, RIP_TRACK_REPORT* report)
{
    MediaLibrary::ClearFailure();
    if (!rip || !report) return Refuse("no disc rip or no report was given", Result::kRipNotInitialised);
    try {
        const auto ripped = rip->rip->RipTrack(track);
        Report(ripped, *report);
        return ripped.result;
    } catch (const std::exception& exception) {
        *report = RIP_TRACK_REPORT{};
        report->nTrackNo = track;
        report->nResult = Result::kRipNotInitialised;
        return Refuse(std::string("the track cannot be ripped: ") + exception.what(), Result::kRipNotInitialised);
    }
}

LUMETRA_API int EndDiscRip(LumetraDiscRip* rip, char* logFile, unsigned capacity)
{
    MediaLibrary::ClearFailure();
    if (logFile && capacity > 0) logFile[0] = '\0';
    if (!rip) return Refuse("no disc rip was given", Result::kRipNotInitialised);
    const std::unique_ptr<LumetraDiscRip> closing(rip);
    try {
        const auto log = closing->rip->Finish();
        if (log.empty()) return Result::kRipNotInitialised;
        if (logFile && log.string().size() < capacity) std::snprintf(logFile, capacity, "%s", log.c_str());
        return 0;
    } catch (const std::exception& exception) {
        return Refuse(std::string("the rip log cannot be written: ") + exception.what(), Result::kRipNotInitialised);
    }
}

}  // extern "C"
