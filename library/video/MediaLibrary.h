#pragma once

#include "Lumetra.h"
#include "process/CommandLine.h"
#include "process/Process.h"
#include "video/ReportParser.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MediaLibrary {

using velmora::platform::CommandLine;

// Base of the library's converters: one object per export call, built from a copy of the
// caller's request, turning it into encoder arguments and running the encoder.
class CMediaLibrary {
public:
    static constexpr std::size_t kReportLimit = 1 << 20;
    static constexpr std::size_t kPlayLengthLimit = 19;   // bytes copied before the terminator
    // A probe or a still picture that takes longer is stuck (a file that never ends, a device).
    static constexpr std::chrono::seconds kQuickToolLimit{30};

    explicit CMediaLibrary(const Header::MEDIACONVERSIONINFO& request);
    virtual ~CMediaLibrary() = default;
    CMediaLibrary(const CMediaLibrary&) = delete;
    CMediaLibrary& operator=(const CMediaLibrary&) = delete;

    // Authors the DVD-Video folders that the XML file in szSourceFile describes; only the video
    // converter does so, the others return 0.
    virtual int RunDvdAuthor();
    virtual CommandLine GetAudioCommand() const;
    virtual CommandLine GetVideoCommand() const;
    virtual CommandLine GetDvdCommand() const;
    virtual int Prepare();
    virtual int Convert();
    // 0 when the program ran (its exit status is logged), 6101 when it could not be started.
    // With prefixWithEncoder the encoder's path goes in front of the command.
    virtual int RunCommand(CommandLine command, bool prefixWithEncoder,
                           const velmora::platform::SpawnOptions& options = {});
    // How the program of the last RunCommand ended.
    const velmora::platform::ProcessOutcome& LastOutcome() const { return lastOutcome_; }
    // Runs the encoder (given the command without it) into `output` through a hidden file beside
    // it, which replaces `output` only when the encoder exited 0 and wrote something. An earlier
    // file of that name is untouched otherwise, and nothing partial stays. False, reason recorded,
    // when it failed. A conversion's progress is what GetEncodedSeconds reports; a picture's is
    // nobody's business.
    enum class Watch { Progress, Quietly };
    bool EncodeInto(CommandLine command, const std::filesystem::path& output,
                    const velmora::platform::SpawnOptions& options = {}, Watch watch = Watch::Progress);

    void GetAudioOptions(CommandLine& command) const;
    void GetVideoOptions(CommandLine& command) const;

    // Fills *info with the stream facts of the source (everything else zero) and returns info.
    Header::MEDIACONVERSIONINFO* Probe(Header::MEDIACONVERSIONINFO* info);
    // The same; false, reason recorded, when the encoder gave no description of the source.
    bool ProbeFacts(Header::MEDIACONVERSIONINFO& info);
    // Writes the source's play length text into buffer; leaves it alone when there is none.
    int ReadPlayLength(char* buffer);
    // Both from one run of the encoder; false (reason recorded) when the source has no streams
    // or no play length.
    bool ReadMediaFacts(Header::MEDIACONVERSIONINFO& info, char* playLength);

    const Header::MEDIACONVERSIONINFO& Request() const { return m_request; }

protected:
    // The encoder's description of the source. The encoder reads the source through a
    // descriptor, so that no name of the user's reaches the report; none, reason recorded,
    // when there is no report.
    std::optional<std::string> CaptureReport();
    // The facts of the source's report into info, and its play length text into playLength (left
    // as it was without one).
    std::optional<Video::ReportFacts> ReadFacts(Header::MEDIACONVERSIONINFO& info, char* playLength);
    // Judges how the last program ended; false, reason recorded, when it failed.
    bool Succeeded(std::string_view tool);

    Header::MEDIACONVERSIONINFO m_request;

private:
    velmora::platform::ProcessOutcome lastOutcome_;
};

}  // namespace MediaLibrary
