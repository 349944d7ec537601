#include "DiscRip.h"

#include "Id3Tags.h"
#include "OutputNames.h"
#include "RecordText.h"
#include "audio/RipProgress.h"
#include "audio/TrackRipper.h"
#include "audio/WaveAudio.h"
#include "cddb/DiscId.h"
#include "drives/DriveTable.h"
#include "files/PendingFile.h"
#include "interface/Failure.h"
#include "log/Log.h"
#include "temp/ScopedTempFolder.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace MediaLibrary::Rip {
namespace {

namespace Result = MediaLibrary::Result;
using velmora::platform::CDROM_TOC;

constexpr int kCopiesTried = 1000;
constexpr std::size_t kCopyRoom = 7;   // " (999)"

// Puts the file under the name, or " (2)" and on when it is taken; the name it got, or empty.
std::filesystem::path PlaceWithoutReplacing(const std::function<bool(const std::filesystem::path&)>& place,
                                            const std::filesystem::path& folder, const std::string& name)
{
    for (int copy = 1; copy <= kCopiesTried; ++copy) {
        const auto target = folder / (copy == 1 ? name : CopyName(name, copy));
        if (place(target)) return target;
        if (errno != EEXIST) break;
    }
    return {};
}

// Removes a file of the rip's own unless it was put in place.
class OwnFile {
public:
    explicit OwnFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~OwnFile() { ::unlink(path_.c_str()); }
    OwnFile(const OwnFile&) = delete;
    OwnFile& operator=(const OwnFile&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::filesystem::path HiddenMp3(const std::filesystem::path& folder)
{
    static std::atomic<unsigned> serial{0};
    return folder / (".rip-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".mp3");
}

std::string DriveText(char drive)
{
    const auto table = velmora::platform::DriveTable::Load();
    const auto* found = table.Find(drive);
    std::string text{drive, ':'};
    if (found) text.append(" ").append(found->source.string());
    return text;
}

}  // namespace

DiscRip::DiscRip(char drive, std::filesystem::path folder, const Header::MEDIACONVERSIONINFO& quality)
    : drive_(drive), folder_(std::move(folder)), quality_(quality)
{
}

std::unique_ptr<DiscRip> DiscRip::Begin(char drive, const std::filesystem::path& folder,
                                        const Header::MEDIACONVERSIONINFO& quality)
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return Refuse<std::unique_ptr<DiscRip>>("the output folder " + folder.string() + " is not a folder", nullptr);
    std::unique_ptr<DiscRip> rip(new DiscRip(drive, folder, quality));
    if (!rip->Open()) return nullptr;
    return rip;
}

bool DiscRip::Open()
{
    std::string problem;
    device_ = Audio::OpenLockedDrive(drive_, toc_, &problem);
    if (!device_) return Refuse(problem, false);
    if (!AccurateRip::ComputeDiscIds(toc_, ids_))
        return Refuse("the disc in drive " + std::string{drive_, ':'} + " has no audio tracks", false);
    cddbQuery_ = CDDB::QueryString(CDDB::TocAddresses(toc_));
    if (auto cdText = ReadCdText(device_->Native())) titles_ = std::move(*cdText);
    else if (auto chosen = ChosenTitles(drive_, cddbQuery_)) titles_ = std::move(*chosen);
    lookup_ = AccurateRip::LookUp(ids_);
    log_ = {.version = std::string("Lumetra ") + VELMORA_VERSION,
            .drive = DriveText(drive_),
            .readOffset = Audio::ReadOffsetSetting(),
            .paranoiaMode = "full (overlapped reads, verification); a block not verified after its retries fails its track",
            .discIds = ids_.Text(),
            .cddbQuery = cddbQuery_,
            .titles = titles_.source.empty() ? "none" : titles_.source,
            .database = DatabaseText()};
    LogMessage(2, "Disc rip of %s: %s, titles from %s", log_.drive.c_str(), log_.discIds.c_str(), log_.titles.c_str());
    return true;
}

std::string DiscRip::DatabaseText() const
{
    switch (lookup_.outcome) {
    case AccurateRip::LookupResult::Outcome::Found:
        return std::to_string(lookup_.database.submissions.size()) + " submissions (" + lookup_.url + ")";
    case AccurateRip::LookupResult::Outcome::NotFound: return "the disc is not in the database (" + lookup_.url + ")";
    case AccurateRip::LookupResult::Outcome::NoAnswer: break;
    }
    return lookup_.reason + " - " + lookup_.url;
}

std::string DiscRip::FileName(int number) const
{
    const std::size_t room = Header::kPathCapacity - 2 - std::min(folder_.string().size(), Header::kPathCapacity - 2);
    const std::size_t limit = std::min(kNameLimit, room);
    if (limit <= kCopyRoom) return {};
    const std::string extension = quality_.nOutputFormat == Header::kFormatWav ? "wav" : "mp3";
    const auto position = static_cast<std::size_t>(number - toc_.FirstTrack);
    return TrackFileName(number, titles_.TrackTitle(position), extension, limit - kCopyRoom);
}

AccurateRip::TrackVerdict DiscRip::Verdict(int audioPosition, std::uint32_t v1, std::uint32_t v2) const
{
    switch (lookup_.outcome) {
    case AccurateRip::LookupResult::Outcome::Found: return AccurateRip::Judge(lookup_.database, audioPosition, v1, v2);
    case AccurateRip::LookupResult::Outcome::NotFound: return {AccurateRip::Verdict::NotInDatabase};
    case AccurateRip::LookupResult::Outcome::NoAnswer: break;
    }
    return {AccurateRip::Verdict::NoAnswer};
}

RippedTrack DiscRip::RipTrack(int number)
{
    RippedTrack ripped{.number = number};
    Audio::TrackRead read;
    const std::string name = FileName(number);
    const bool onDisc = number >= toc_.FirstTrack && number <= toc_.LastTrack &&
                        velmora::platform::IsAudio(toc_.TrackData[number - toc_.FirstTrack]);
    if (!onDisc)
        read.result = Refuse("there is no audio track " + std::string{drive_, ':'} + std::to_string(number),
                             Result::kRipTrackOutOfRange);
    else if (name.empty())
        read.result = Refuse("the output folder's path is too long for the track's file name", Result::kRipNotInitialised);
    else if (quality_.nOutputFormat == Header::kFormatWav)
        WriteWav(number, name, read, ripped.file);
    else
        WriteMp3(number, name, read, ripped.file);
    ripped.result = read.result;
    ripped.frames = read.frames;
    ripped.crc32 = read.crc32;
    ripped.arV1 = read.arV1;
    ripped.arV2 = read.arV2;
    if (ripped.result == 0) {
        ripped.verdict = Verdict(read.audioPosition, read.arV1, read.arV2);
        ripped.verdictText = ripped.verdict.Text(lookup_.reason);
    } else {
        ripped.verdictText = "not verified: the track was not ripped";
    }
    log_.tracks.push_back({number, ripped.file.string(), read.frames,
                           ripped.result == 0 ? "exact" : "failed: " + LastFailure(), read.crc32, read.arV1, read.arV2,
                           ripped.verdictText});
    return ripped;
}

int DiscRip::WriteWav(int number, const std::string& name, Audio::TrackRead& read, std::filesystem::path& file)
{
    Audio::WaveWriter output(folder_ / name);
    Audio::RipProgress progress(false);
    read = Audio::ReadTrack(drive_, number, log_.readOffset, output, progress);
    if (read.result != 0) return read.result;
    if (!output.Complete()) return read.result = Refuse(output.Failure(), Result::kRipNotInitialised);
    auto& pending = output.File();
    file = PlaceWithoutReplacing(
        [&pending](const std::filesystem::path& target) {
            pending.Retarget(target);
            return pending.CommitNew();
        },
        folder_, name);
    if (file.empty()) return read.result = Refuse(pending.Failure(), Result::kRipNotInitialised);
    return 0;
}

int DiscRip::WriteMp3(int number, const std::string& name, Audio::TrackRead& read, std::filesystem::path& file)
{
    const velmora::platform::ScopedTempFolder temporary("rip");
    if (temporary.Path().empty())
        return read.result = Refuse("no temporary WAV file can be made for the MP3: " + temporary.Notice(),
                                    Result::kRipNotInitialised);
    Audio::RipProgress progress(true);
    Audio::WaveWriter wav(temporary.Path() / "track.wav");
    read = Audio::ReadTrack(drive_, number, log_.readOffset, wav, progress);
    if (read.result != 0) return read.result;
    if (!wav.Finish()) return read.result = Refuse(wav.Failure(), Result::kRipNotInitialised);
    progress.Encoding();

    const OwnFile mp3(HiddenMp3(folder_));
    Header::MEDIACONVERSIONINFO request = quality_;
    SetFieldText(request.szSourceFile, (temporary.Path() / "track.wav").string());
    if (!SetFieldText(request.szOutputFile, mp3.Path().string()))
        return read.result = Refuse("the output folder's path is too long", Result::kRipNotInitialised);
    Audio::CWaveAudio encoder(request);
    encoder.Prepare();
    encoder.Convert();
    std::error_code error;
    if (std::filesystem::file_size(mp3.Path(), error) == 0 || error)
        return read.result = Refuse(LastFailure().empty() ? "the encoder wrote no MP3" : LastFailure(),
                                    Result::kRipNotInitialised);
    const auto position = static_cast<std::size_t>(number - toc_.FirstTrack);
    const TrackTags tags{titles_.TrackTitle(position), titles_.artist, titles_.album, titles_.year, titles_.genre, number,
                         toc_.LastTrack};
    if (std::string failure; !WriteId3Tags(mp3.Path(), tags, failure))
        return read.result = Refuse(failure, Result::kRipNotInitialised);
    file = PlaceWithoutReplacing(
        [&mp3](const std::filesystem::path& target) { return velmora::platform::RenameWithoutReplacing(mp3.Path(), target); },
        folder_, name);
    if (file.empty()) return read.result = Refuse("cannot write " + (folder_ / name).string(), Result::kRipNotInitialised);
    return 0;
}

std::filesystem::path DiscRip::Finish()
{
    std::string failure;
    const auto written = WriteRipLog(folder_, ComposeRipLog(log_), failure);
    if (written.empty()) Fail("the rip log cannot be written: " + failure);
    return written;
}

}  // namespace MediaLibrary::Rip
