#include "MediaLibrary.h"

#include "FileJoin.h"
#include "files/FileDescriptor.h"
#include "log/Log.h"
#include "ReportParser.h"
#include "ToolRunner.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <sys/file.h>

namespace MediaLibrary {
namespace {

void AppendIfGiven(CommandLine& command, const char* option, int value, const char* suffix = "")
{
    if (value > 0) command.Add(option).Add(std::to_string(value) + suffix);
}

std::string ReadCapped(const std::filesystem::path& file, std::size_t limit)
{
    std::ifstream in(file, std::ios::binary);
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// Capture files have fixed names, so captures take turns: threads of this process through the
// mutex, other processes of the same user through a lock on a file beside the captures.
std::mutex captureMutex;

// Held until it goes: closing the lock file releases the lock.
class CaptureLock {
public:
    explicit CaptureLock(const std::filesystem::path& folder)
        : file_(::open((folder / "57E45765-82E8.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        if (!file_.valid() || ::flock(file_.get(), LOCK_EX) != 0)
            LogMessage(1, "Report captures cannot be locked against other processes");
    }

private:
    velmora::platform::FileDescriptor file_;
};

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

std::filesystem::path CMediaLibrary::WriteJoinScript(const std::vector<std::string>& paths)
{
    if (paths.empty()) return {};
    const std::filesystem::path joined(m_request.szSourceFile);
    if (joined.empty()) {
        LogMessage(1, "No file was named to join %zu files into", paths.size());
        return {};
    }
    if (const auto failure = Video::ConcatenateFiles({paths.begin(), paths.end()}, joined)) {
        LogMessage(1, "Joining %zu files failed: %s", paths.size(), failure->c_str());
        return {};
    }
    LogMessage(4, "Joined %zu files into %s", paths.size(), joined.c_str());
    return joined;
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
    if (prefixWithEncoder) {
        const auto encoder = GetToolPath(kEncoderTool);
        if (encoder.empty()) {
            LogMessage(1, "%.*s was not found beside the executable or on PATH; not run: %s",
                       static_cast<int>(kEncoderTool.size()), kEncoderTool.data(), command.Text().c_str());
            return Result::kToolNotStarted;
        }
        command.Prepend(encoder.string());
    }
    LogMessage(4, "Running %s", command.Text().c_str());
    const auto outcome = velmora::platform::RunAndWait(command.Arguments(), options);
    const char* program = command.Arguments().empty() ? "" : command.Arguments().front().c_str();
    if (!outcome.started) {
        LogMessage(1, "Cannot start %s: %s", program, outcome.failure.c_str());
        return Result::kToolNotStarted;
    }
    if (outcome.exitStatus != 0 && !outcome.errorTail.empty())
        LogMessage(1, "%s ended with status %d: %s", program, outcome.exitStatus, outcome.errorTail.c_str());
    else
        LogMessage(4, "%s ended with status %d", program, outcome.exitStatus);
    return 0;
}

std::optional<std::string> CMediaLibrary::CaptureReport(std::string_view captureName)
{
    std::lock_guard lock(captureMutex);
    const auto capture = TempFilePath(captureName);
    if (capture.empty()) return std::nullopt;
    const CaptureLock otherProcesses(capture.parent_path());
    std::error_code ignored;
    std::filesystem::remove(capture, ignored);

    CommandLine command;
    command.Add("-i").AddQuoted(m_request.szSourceFile);
    velmora::platform::SpawnOptions options;
    options.stderrFile = capture;
    if (RunCommand(command, true, options) != 0) return std::nullopt;

    std::optional<std::string> report;
    if (std::filesystem::exists(capture, ignored)) report = ReadCapped(capture, kReportLimit);
    std::filesystem::remove(capture, ignored);
    return report;
}

Header::MEDIACONVERSIONINFO* CMediaLibrary::Probe(Header::MEDIACONVERSIONINFO* info)
{
    *info = Header::MEDIACONVERSIONINFO{};
    const auto report = CaptureReport(kProbeCapture);
    if (!report) return info;
    const auto facts = Video::ParseReport(*report);
    info->nVideoBitRate = facts.overallBitRate;
    info->nWidth = facts.width;
    info->nHeight = facts.height;
    info->nFrameRate = facts.frameRate;
    info->nSampleRate = facts.sampleRate;
    info->nAudioBitRate = facts.audioBitRate;
    return info;
}

int CMediaLibrary::ReadPlayLength(char* buffer)
{
    const auto report = CaptureReport(kPlayLengthCapture);
    if (!report) return 0;
    const auto duration = Video::ParseReport(*report).duration;
    if (!duration) return 0;
    const std::size_t length = std::min(duration->size(), kPlayLengthLimit);
    std::memcpy(buffer, duration->data(), length);
    buffer[length] = '\0';
    return 0;
}

}  // namespace MediaLibrary
