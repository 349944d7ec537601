// velmora-burn: the burn engine from the command line, with the window's recorders and jobs.

#include "ConsoleWindow.h"
#include "Lumetra.h"
#include "Options.h"
#include "jobs/BurnFlow.h"
#include "jobs/AudioDiscCopy.h"
#include "jobs/DataDiscCopy.h"
#include "jobs/DiscCopy.h"
#include "image/IsoCheck.h"
#include "jobs/TrackSources.h"
#include "log/Log.h"
#include "process/EndSignals.h"
#include "recorders/RecorderEnum.h"
#include "temp/ScopedTempFolder.h"

#include <cctype>
#include <cstdio>
#include <ctime>

namespace {

using namespace velmora::discburn;
using velmora::discburn::cli::Command;
using velmora::discburn::cli::ConsoleWindow;
using velmora::discburn::cli::Options;

constexpr int kFailed = 1;
constexpr int kWrongWords = 2;

int Fail(const std::string& why)
{
    std::fprintf(stderr, "velmora-burn: %s\n", why.c_str());
    return kFailed;
}

std::string Today()
{
    char stamp[16] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%Y_%m_%d", &local);
    return stamp;
}

// "E", "E:" or "E:\" as the root "E:\"; empty for any other word.
std::string DriveRoot(const std::string& word)
{
    const bool letter = !word.empty() && std::isalpha(static_cast<unsigned char>(word[0]));
    if (!letter || word.size() > 3 || (word.size() > 1 && word[1] != ':') || (word.size() == 3 && word[2] != '\\'))
        return {};
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])))) + ":\\";
}

std::vector<RecorderEntry> MachineRecorders()
{
    return ListMachineRecorders([](const std::string& text) { Fail(text); });
}

// The unique id of the recorder the word names: a pseudo recorder as it is, a drive letter as the
// recorder list names it. Empty (after saying why) when there is none.
std::string FindRecorder(const std::string& word)
{
    if (RecorderAddress::Parse(word) && (word.starts_with(RecorderAddress::kImagePrefix) ||
                                         word.starts_with(RecorderAddress::kCuePrefix)))
        return word;
    const std::string root = DriveRoot(word);
    for (const auto& entry : MachineRecorders())
        for (std::size_t at = 0; at < entry.device->VolumePathCount(); ++at)
            if (entry.device->VolumePath(at) == root) return entry.device->uniqueId;
    Fail("no recorder is drive " + root + " ('velmora-burn recorders' lists them)");
    return {};
}

bool IsRecorderWord(const std::string& word)
{
    return word.starts_with(RecorderAddress::kImagePrefix) || word.starts_with(RecorderAddress::kCuePrefix)
               ? RecorderAddress::Parse(word).has_value()
               : !DriveRoot(word).empty();
}

int ListRecorders()
{
    const auto entries = MachineRecorders();
    for (const auto& entry : entries)
        std::printf("%-12s %s\n", entry.text.empty() ? "-" : entry.text.c_str(), entry.device->uniqueId.c_str());
    return entries.empty() ? kFailed : 0;
}

// The window's end of a job: the result, and the exit status it makes.
int Finish(HResult hr, const ConsoleWindow& window)
{
    if (hr >= 0) {
        std::printf("%s\n", window.ResultText().c_str());
        return 0;
    }
    return Fail(window.ResultText());
}

int BurnAudio(const Options& options, const std::string& recorder)
{
    const velmora::platform::ScopedTempFolder conversions("burn");
    const auto prepared = PrepareAudioDisc({options.paths.begin(), options.paths.end()}, conversions.Path(),
                                           LibraryMp3Decoder(Convert_MP3_TO_WAV, GetLastFailure));
    if (const auto* refused = std::get_if<TrackRefusal>(&prepared))
        return Fail("nothing was written: " + refused->file.string() + ": " + refused->reason);
    const auto& disc = std::get<AudioDisc>(prepared);
    ConsoleWindow window(Today(), true);
    return Finish(BurnFlow(window).BurnAudioDisc(recorder, disc.tracks, disc.text, options.verify), window);
}

int BurnData(const Options& options, const std::string& recorder)
{
    std::vector<ImageEntry> entries;
    for (const auto& path : options.paths) {
        std::error_code error;
        if (!std::filesystem::exists(path, error)) return Fail(path + " does not exist");
        entries.push_back({path, std::filesystem::is_directory(path, error)});
    }
    ConsoleWindow window(options.volume.empty() ? Today() : options.volume, false);
    return Finish(BurnFlow(window).BurnDataDisc(recorder, entries, options.verify), window);
}

int BurnIso(const Options& options, const std::string& recorder)
{
    const std::string& image = options.paths.front();
    if (const auto why = WhyNotWholeIsoImage(image)) return Fail(*why + ": " + image);
    ConsoleWindow window(Today(), false);
    return Finish(BurnFlow(window).BurnIsoImage(recorder, image, options.verify), window);
}

// A data disc goes through an image of its data track, an audio CD through a secure rip of every
// track; both wait in a folder of their own until they are burnt.
int CopyDisc(const Options& options, const std::string& recorder)
{
    const std::string root = DriveRoot(options.drive);
    const auto drive = CopyDrive(root);
    if (!drive) return Fail("there is no drive " + root);
    const velmora::platform::ScopedTempFolder copy("copy");
    if (copy.Path().empty()) return Fail("no folder for the copy: " + copy.Notice());
    switch (CopySourceOf(*drive)) {
    case CopySource::NoMedia:
        return Fail("drive " + root + " holds no disc to copy");
    case CopySource::DataDisc: {
        ConsoleWindow window(Today(), false);
        const auto image = copy.Path() / "disc.iso";
        if (CopyDataDisc(*drive, image, window) < 0) return Fail(window.ResultText());
        return Finish(BurnFlow(window).BurnIsoImage(recorder, image, options.verify), window);
    }
    case CopySource::AudioCd:
        break;
    }
    ConsoleWindow window(Today(), true);
    const auto beginWav = [](char letter, const char* folder) {
        MediaLibrary::Header::MEDIACONVERSIONINFO wav;
        wav.nOutputFormat = MediaLibrary::Header::kFormatWav;
        return BeginDiscRip(letter, folder, wav);
    };
    const DiscRipFunctions rip{beginWav, RipDiscTrack, EndDiscRip, GetLastFailure, GetEncodedSeconds, CancelConversions};
    const auto disc = RipAudioDisc(*drive, copy.Path(), rip, window);
    if (!disc) return Fail(window.ResultText());
    return Finish(BurnFlow(window).BurnAudioDisc(recorder, disc->tracks, disc->text, options.verify), window);
}

int Run(const Options& options)
{
    if (options.command == Command::Help) return std::fputs(velmora::discburn::cli::Usage().c_str(), stdout), 0;
    if (options.command == Command::Version) return std::puts("velmora-burn " VELMORA_SHORT_VERSION), 0;
    if (options.command == Command::Recorders) return ListRecorders();
    const std::string recorder = FindRecorder(options.recorder);
    if (recorder.empty()) return kFailed;
    // From now on an interrupt or a termination stops the burn instead of ending the program.
    const velmora::platform::EndSignals interrupts;
    switch (options.command) {
    case Command::Data: return BurnData(options, recorder);
    case Command::Iso: return BurnIso(options, recorder);
    case Command::Audio: return BurnAudio(options, recorder);
    default: return CopyDisc(options, recorder);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const auto parsed = velmora::discburn::cli::ParseArguments({argv + 1, argv + argc});
    std::string wrong = parsed.error;
    if (parsed.options && !parsed.options->recorder.empty() && !IsRecorderWord(parsed.options->recorder))
        wrong = "a RECORDER is a drive letter (E:), stdio:/path or cue:/path, not " + parsed.options->recorder;
    if (parsed.options && parsed.options->command == Command::Copy && DriveRoot(parsed.options->drive).empty())
        wrong = "a DRIVE is a drive letter (E:), not " + parsed.options->drive;
    if (!wrong.empty()) {
        std::fprintf(stderr, "velmora-burn: %s\n%s", wrong.c_str(), velmora::discburn::cli::Usage().c_str());
        return kWrongWords;
    }
    LogInit("velmora-burn");
    return Run(*parsed.options);
}
