#pragma once

#include "Lumetra.h"
#include "process/CommandLine.h"
#include "process/Process.h"

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
    // Capture files of the encoder's report, in the private temporary folder.
    static constexpr std::string_view kProbeCapture = "57E45765-82E8_Default";
    static constexpr std::string_view kPlayLengthCapture = "57E45765-82E8";
    static constexpr std::size_t kReportLimit = 1 << 20;
    static constexpr std::size_t kPlayLengthLimit = 19;   // bytes copied before the terminator

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
    // Joins the listed files byte for byte, in list order, into szSourceFile. Returns that file,
    // or an empty path when the list is empty (nothing written) or the join failed (logged).
    virtual std::filesystem::path WriteJoinScript(const std::vector<std::string>& paths);
    virtual int Prepare();
    virtual int Convert();
    // 0 when the program ran (its exit status is logged), 6101 when it could not be started.
    // With prefixWithEncoder the encoder's path goes in front of the command.
    virtual int RunCommand(CommandLine command, bool prefixWithEncoder,
                           const velmora::platform::SpawnOptions& options = {});

    void GetAudioOptions(CommandLine& command) const;
    void GetVideoOptions(CommandLine& command) const;

    // Fills *info with the stream facts of the source (everything else zero) and returns info.
    Header::MEDIACONVERSIONINFO* Probe(Header::MEDIACONVERSIONINFO* info);
    // Writes the source's play length text into buffer; leaves it alone when there is none.
    int ReadPlayLength(char* buffer);

    const Header::MEDIACONVERSIONINFO& Request() const { return m_request; }

protected:
    // The encoder's description of the source, captured through the named file.
    std::optional<std::string> CaptureReport(std::string_view captureName);

    Header::MEDIACONVERSIONINFO m_request;
};

}  // namespace MediaLibrary
