#include "MediaLibrary.h"

#include "EncodeProgress.h"
#include "ReportParser.h"
#include "ToolRunner.h"
#include "files/FileDescriptor.h"
#include "files/PendingFile.h"
#include "interface/Failure.h"
#include "log/Log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace MediaLibrary {
namespace {

// Seconds between the encoder's progress reports: twice its own pace, so short files still show where they are.
constexpr const char* kReportPeriod = "0.25";

void AppendIfGiven(CommandLine& command, const char* option, int value, const char* suffix = "")
{
    if (value > 0) command.Add(option).Add(std::to_string(value) + suffix);
}

// The program's own words for why it failed: the last line of what it wrote.
std::string LastLine(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
    const auto start = text.find_last_of("\r\n");
    return std::string(start == std::string_view::npos ? text : text.substr(start + 1));
}

std::string FileArgument(std::string_view path)
{
    return "file:" + std::string(path);
}

}  // namespace

CMediaLibrary::CMediaLibrary(const Header::MEDIACONVERSIONINFO& request) : m_request(request)
{
}

int CMediaLibrary::RunDvdAuthor()
{
    return 0;
}

void CMediaLibrary::GetAudioOptions(CommandLine& command) const
{
    AppendIfGiven(command, "-ab", m_request.nAudioBitRate, "k");
    AppendIfGiven(command, "-ac", m_request.nAudioChannels);
    AppendIfGiven(command, "-ar", m_request.nSampleRate);
}

void CMediaLibrary::GetVideoOptions(CommandLine& command) const
{
    AppendIfGiven(command, "-b", m_request.nVideoBitRate, "k");
    AppendIfGiven(command, "-r", m_request.nFrameRate);
    if (m_request.nWidth > 0 && m_request.nHeight > 0)
        command.Add("-s").Add(std::to_string(m_request.nWidth) + "x" + std::to_string(m_request.nHeight));
}

CommandLine CMediaLibrary::GetAudioCommand() const
{
    CommandLine command;
    command.Add("-i").AddQuoted(m_request.szSourceFile);
    GetAudioOptions(command);
    command.AddQuoted(m_request.szOutputFile);
    return command;
}

CommandLine CMediaLibrary::GetVideoCommand() const
{
    CommandLine command;
    command.Add("-i").AddQuoted(m_request.szSourceFile);
    GetAudioOptions(command);
    GetVideoOptions(command);
    command.AddQuoted(m_request.szOutputFile);
    return command;
}

CommandLine CMediaLibrary::GetDvdCommand() const
{
    CommandLine command;
    command.Add("-i").AddQuoted(m_request.szSourceFile);
    GetAudioOptions(command);
    command.Add("-acodec").Add("mp2");
    GetVideoOptions(command);
    command.Add("-target").Add("pal-dvd").Add("-aspect").Add("4:3");
    command.AddQuoted(m_request.szOutputFile);
    return command;
}

int CMediaLibrary::Prepare()
{
    return 0;
}

int CMediaLibrary::Convert()
{
    return 0;
}

int CMediaLibrary::RunCommand(CommandLine command, bool prefixWithEncoder,
                              const velmora::platform::SpawnOptions& options)
{
    lastOutcome_ = {};
    if (prefixWithEncoder) {
        const auto encoder = GetToolPath(kEncoderTool);
        if (encoder.empty()) {
            LogMessage(2, "Not run: %s", command.Text().c_str());
            Fail(std::string(kEncoderTool) + " was not found beside the program or on PATH");
            return Result::kToolNotStarted;
        }
        command.Prepend(encoder.string());
    }
    LogMessage(4, "Running %s", command.Text().c_str());
    lastOutcome_ = velmora::platform::RunAndWait(command.Arguments(), options);
    const std::string program = command.Arguments().empty() ? std::string() : command.Arguments().front();
    if (!lastOutcome_.started) {
        Fail(std::filesystem::path(program).filename().string() + " could not be started: " + lastOutcome_.failure);
        return Result::kToolNotStarted;
    }
    if (lastOutcome_.exitStatus != 0 && !lastOutcome_.errorTail.empty())
        LogMessage(1, "%s ended with status %d: %s", program.c_str(), lastOutcome_.exitStatus,
                   lastOutcome_.errorTail.c_str());
    else
        LogMessage(4, "%s ended with status %d", program.c_str(), lastOutcome_.exitStatus);
    return 0;
}

bool CMediaLibrary::Succeeded(std::string_view tool)
{
    const auto& outcome = lastOutcome_;
    if (!outcome.started) return false;
    if (outcome.cancelled) return Refuse("cancelled", false);
    if (outcome.timedOut)
        return Refuse(std::string(tool) + " did not finish within " + std::to_string(kQuickToolLimit.count()) +
                          " seconds",
                      false);
    if (outcome.exitStatus == 0) return true;
    const std::string words = LastLine(outcome.errorTail);
    return Refuse(std::string(tool) + " failed" + (words.empty() ? std::string() : ": " + words), false);
}

std::optional<std::string> CMediaLibrary::CaptureReport()
{
    const char* source = m_request.szSourceFile;
    // Opened without waiting, so that a pipe or a device is refused instead of read forever.
    const velmora::platform::FileDescriptor file(::open(source, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat facts {};
    if (!file.valid() || ::fstat(file.get(), &facts) != 0)
        return Refuse(std::string(source) + " cannot be read: " + std::strerror(errno), std::nullopt);
    if (!S_ISREG(facts.st_mode)) return Refuse(std::string(source) + " is not a file", std::nullopt);

    CommandLine command;
    command.Add("-hide_banner").Add("-i").AddQuoted(FileArgument("/dev/fd/3"));
    velmora::platform::SpawnOptions options;
    options.inheritedAsDescriptor3 = file.get();
    options.keptErrorBytes = kReportLimit;
    options.timeout = kQuickToolLimit;
    if (RunCommand(command, true, options) != 0) return std::nullopt;
    // Given no output, the encoder describes its input and ends with a failure status.
    if (lastOutcome_.timedOut || lastOutcome_.cancelled) {
        Succeeded(kEncoderTool);
        return std::nullopt;
    }
    return lastOutcome_.errorText;
}

Header::MEDIACONVERSIONINFO* CMediaLibrary::Probe(Header::MEDIACONVERSIONINFO* info)
{
    ProbeFacts(*info);
    return info;
}

bool CMediaLibrary::ProbeFacts(Header::MEDIACONVERSIONINFO& info)
{
    char ignored[kPlayLengthLimit + 1] = "";
    return ReadFacts(info, ignored).has_value();
}

int CMediaLibrary::ReadPlayLength(char* buffer)
{
    Header::MEDIACONVERSIONINFO ignored;
    ReadFacts(ignored, buffer);
    return 0;
}

bool CMediaLibrary::ReadMediaFacts(Header::MEDIACONVERSIONINFO& info, char* playLength)
{
    const auto facts = ReadFacts(info, playLength);
    if (!facts) return false;
    if (!facts->hasStreams) return Refuse(std::string(m_request.szSourceFile) + " is not a media file", false);
    if (!facts->duration) return Refuse(std::string(m_request.szSourceFile) + " has no play length", false);
    return true;
}

std::optional<Video::ReportFacts> CMediaLibrary::ReadFacts(Header::MEDIACONVERSIONINFO& info, char* playLength)
{
    info = Header::MEDIACONVERSIONINFO{};
    const auto report = CaptureReport();
    if (!report) return std::nullopt;
    auto facts = Video::ParseReport(*report);
    info.nVideoBitRate = facts.overallBitRate;
    info.nWidth = facts.width;
    info.nHeight = facts.height;
    info.nFrameRate = facts.frameRate;
    info.nSampleRate = facts.sampleRate;
    info.nAudioBitRate = facts.audioBitRate;
    if (facts.duration) {
        const std::size_t length = std::min(facts.duration->size(), kPlayLengthLimit);
        std::memcpy(playLength, facts.duration->data(), length);
        playLength[length] = '\0';
    }
    return facts;
}

bool CMediaLibrary::EncodeInto(CommandLine command, const std::filesystem::path& output,
                               const velmora::platform::SpawnOptions& options, Watch watch)
{
    velmora::platform::PendingFile pending(output);
    if (!pending.IsOpen()) return Refuse(pending.Failure(), false);
    pending.HandOver();
    const std::string target = output.string();
    command.RewritePaths([&](std::string_view path) {
        return FileArgument(path == target ? pending.TemporaryPath().string() : std::string(path));
    });
    command.Prepend("-y");
    std::optional<Video::EncodeProgress> progress;
    velmora::platform::SpawnOptions watched = options;
    if (watch == Watch::Progress) {
        command.Prepend(kReportPeriod).Prepend("-stats_period");
        progress.emplace();
        watched.watchErrors = [&progress](std::string_view written) { progress->Read(written); };
    }
    if (RunCommand(command, true, watched) != 0 || !Succeeded(kEncoderTool)) return false;
    std::error_code error;
    if (std::filesystem::file_size(pending.TemporaryPath(), error) == 0 || error)
        return Refuse(std::string(kEncoderTool) + " wrote nothing into " + target, false);
    if (!pending.Commit()) return Refuse(pending.Failure(), false);
    return true;
}

}  // namespace MediaLibrary
