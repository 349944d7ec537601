#include "CdImage.h"
#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "jobs/AudioJob.h"
#include "jobs/ConversionThread.h"
#include "jobs/DvdAuthoringJob.h"
#include "jobs/VideoJob.h"

#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include <unistd.h>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;
using Request = FakeHost::Request;

TEST(ConversionJobs, ACancelledFolderOrFileChoiceRunsNothing)
{
    const std::vector<ConvertRow> rows{{.sourcePath = "/nowhere/a.avi", .checked = true}};
    const std::pair<void (*)(JobHost&, const JobInput&), JobInput> cases[] = {
        {RunAudioJob, {.mode = kModeAudioConverter, .rows = rows}},
        {RunVideoJob, {.mode = kModeVideoConverter, .rows = rows, .formatRadio = kMp4Radio}},
        {RunVideoJob, {.mode = kModeVideoConverter, .rows = rows, .formatRadio = kMp4Radio, .join = true}},
        {RunDvdAuthoringJob, {.mode = kModeDvdCreator, .rows = rows, .formatRadio = kThirdOptionRadio}},
    };
    for (const auto& [run, input] : cases) {
        FakeHost host;
        run(host, input);
        EXPECT_EQ(host.questions, 1);
        EXPECT_TRUE(host.controls.empty() && host.statuses.isEmpty() && host.commands.empty()) << "mode " << input.mode;
    }
}

class JobTest : public ::testing::Test {
protected:
    JobTest()
    {
        BindLibrary();
        host.folder = output.path().string();
    }

    static std::vector<ConvertRow> Clips(std::initializer_list<const char*> names, double seconds = 1)
    {
        std::vector<ConvertRow> rows;
        for (const char* name : names) rows.push_back({.sourcePath = TestClip(name, seconds).string()});
        return rows;
    }

    ScratchFolder output;
    FakeHost host;
};

TEST_F(JobTest, CheckedCdTracksAreRippedAndVerifiedAndAudioFilesConvertedToWavOrMp3AndUnchecked)
{
    ScratchFolder scratch;
    const auto disc = WriteCdImage(scratch.path(), "disc", {{2, 440}, {1, 660}, {1, 880}});
    const ScopedEnvironment drives("VELMORA_DRIVES", "X=" + disc.cue.string());
    const LoopbackHttpServer database([](const auto&) { return LoopbackHttpServer::Reply{"", 404}; });
    WriteFile(scratch / "velmora.conf", "AccurateRipServer=" + database.address() + "\n");
    const ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());
    const auto track = [](int number, bool checked) {
        return ConvertRow{.sourcePath = "X:\\Track0" + std::to_string(number) + ".cda", .kind = SourceKind::CdTrack,
                          .trackNumber = number, .seconds = number == 1 ? 2 : 1, .checked = checked};
    };
    const auto run = [&](MediaLibrary::Header::OutputFormat format, std::vector<ConvertRow> rows) {
        host.collect = [format](Request& request, const Request*) { request.nOutputFormat = format; };
        RunAudioJob(host, {.mode = kModeAudioConverter, .rows = std::move(rows), .cdDrive = "X:"});
    };
    run(MediaLibrary::Header::kFormatWav, {track(1, true), track(2, false), track(3, true), track(5, true)});
    for (const int number : {1, 3}) {
        const std::string wav = ReadFile(output / ("Track0" + std::to_string(number) + ".wav"));
        EXPECT_TRUE(wav.size() > 44 && wav.substr(44) == disc.tracks[static_cast<std::size_t>(number - 1)]) << number;
    }
    EXPECT_FALSE(fs::exists(output / "Track02.wav"));
    EXPECT_TRUE(fs::exists(output / "rip.log"));
    EXPECT_EQ(host.unchecked, (std::vector<int>{0, 2, 3}));
    // The bar goes by play length: the second checked track starts half-way.
    EXPECT_EQ(host.positions.front(), 0);
    EXPECT_NE(std::find(host.positions.begin(), host.positions.end(), 500), host.positions.end());
    EXPECT_TRUE(host.Shown("Converting Track - 3....  File 2 of 3 - "));
    // Each track's verdict at once and in the summary; the track that is not there, with the reason.
    EXPECT_TRUE(host.statuses.contains("Track03.wav: not in the database")) << host.statuses.join("|").toStdString();
    EXPECT_TRUE(host.statuses.contains("Track05.cda - failed: there is no audio track X:5"));
    EXPECT_EQ(host.LastStatus(), "1 file failed: Track05.cda: there is no audio track X:5 - AccurateRip: Track01.wav: "
                                 "not in the database; Track03.wav: not in the database");
    // The job holds the window busy while it runs and gives it back at the end.
    EXPECT_EQ(host.controls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(host.state.Busy());

    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440", "-t", "1", (scratch / "tone.wav").string()}));
    run(MediaLibrary::Header::kFormatMp3,
        {track(2, true), {.sourcePath = (scratch / "tone.wav").string(), .checked = true}});
    EXPECT_NE(DescribeWithFfmpeg(output / "Track02.mp3").find("Audio: mp3"), std::string::npos);
    EXPECT_NE(DescribeWithFfmpeg(output / "tone.mp3").find("Audio: mp3"), std::string::npos);
    EXPECT_TRUE(host.Shown("Converting - " + Q(scratch / "tone.wav") + "....  File 2 of 2"));
}

TEST_F(JobTest, EachVideoIsConvertedIntoTheChosenContainerAndAFailureIsNamedAndCounted)
{
    WriteFile(output / "broken.avi", "not a video at all");
    auto rows = Clips({"a.avi", "b.avi"});
    rows.push_back({.sourcePath = (output / "broken.avi").string()});
    RunVideoJob(host, {.mode = kModeVideoConverter, .rows = rows, .formatRadio = kMp4Radio});
    for (const char* name : {"a.mp4", "b.mp4"}) {
        const std::string description = DescribeWithFfmpeg(output / name);
        EXPECT_NE(description.find("mov,mp4"), std::string::npos) << description;
        EXPECT_NE(description.find("Duration: 00:00:01"), std::string::npos) << description;
    }
    EXPECT_FALSE(fs::exists(output / "broken.mp4"));
    // The failure is named with the encoder's reason, at once and at the end.
    const QString reason = "ffmpeg failed: file:" + Q(output / "broken.avi") + ": Invalid data found when processing input";
    EXPECT_TRUE(host.statuses.contains("broken.avi - failed: " + reason)) << host.statuses.join("|").toStdString();
    EXPECT_EQ(host.LastStatus(), "1 file failed: broken.avi: " + reason);
    EXPECT_EQ(host.progressMaximum, 1000);
    EXPECT_EQ(host.controls, (std::vector<bool>{true, false}));
    // Quick conversions end within one slice: no preview copy, no picture, no preview.
    EXPECT_FALSE(fs::exists(output / "a_tmp.mp4"));
    EXPECT_TRUE(host.previews.empty());

    RunVideoJob(host, {.mode = kModeVideoConverter, .rows = Clips({"a.avi"}), .formatRadio = kMovRadio});
    EXPECT_NE(DescribeWithFfmpeg(output / "a.mov").find("mov,mp4"), std::string::npos);

    // An earlier output of the name does not make a failed conversion a success; a path longer
    // than the library takes is a failure with its reason, never a file skipped in silence.
    WriteFile(output / "broken.mov", "an earlier conversion");
    const std::string longName = std::string(250, 'x') + ".avi";
    RunVideoJob(host, {.mode = kModeVideoConverter,
                       .rows = {{.sourcePath = (output / "broken.avi").string()},
                                {.sourcePath = (output / "deep" / longName).string()}},
                       .formatRadio = kMovRadio});
    EXPECT_EQ(ReadFile(output / "broken.mov"), "an earlier conversion");
    EXPECT_TRUE(host.LastStatus().startsWith("2 files failed: broken.avi: ffmpeg failed")) << host.LastStatus().toStdString();
    EXPECT_TRUE(host.LastStatus().endsWith(Q(longName) + ": its path is longer than the 259 bytes the converter takes"))
        << host.LastStatus().toStdString();
}

TEST_F(JobTest, ALongVideoConversionShowsWhereTheEncoderHasGotInThePreviewAndLeavesNoWorkingFiles)
{
    host.state.SetPollInterval(std::chrono::milliseconds(20));
    // Many frames, so that even a fast encoder reports several times before it ends.
    const std::vector<ConvertRow> rows{{.sourcePath = TestClip("long.avi", 30, 320, 240).string(), .seconds = 30}};
    std::vector<bool> pictures;
    host.onPreview = [&](const std::string& picture) { pictures.push_back(!QImage(QString::fromStdString(picture)).isNull()); };
    RunVideoJob(host, {.mode = kModeVideoConverter, .rows = rows, .formatRadio = kMp4Radio});
    EXPECT_TRUE(fs::exists(output / "long.mp4"));
    ASSERT_FALSE(host.previews.empty());
    EXPECT_EQ(std::count(pictures.begin(), pictures.end(), true), static_cast<long>(pictures.size()));
    EXPECT_EQ(fs::path(host.previews.back()).filename(), "last_frame.png");
    EXPECT_FALSE(fs::exists(host.previews.back()));   // the job's pictures go with it
    EXPECT_EQ(host.hidden, 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(output.path()), fs::directory_iterator()), 1);
    // The bar moved inside the file, and the status told the time left.
    EXPECT_TRUE(std::any_of(host.positions.begin(), host.positions.end(), [](int at) { return at > 0 && at < 1000; }));
    EXPECT_TRUE(host.statuses.indexOf(QRegularExpression(R"(.*  File 1 of 1 - \d\d:\d\d left$)")) >= 0)
        << host.statuses.join("|").toStdString();

    // Cancelled while it runs: the encoder ends, and nothing of the file is left.
    fs::remove(output / "long.mp4");
    host.onPreview = [&](const std::string&) {
        host.state.SetCancelRequest(true);
        Lumetra().CancelConversions()();
    };
    RunVideoJob(host, {.mode = kModeVideoConverter, .rows = rows, .formatRadio = kMp4Radio});
    EXPECT_EQ(host.LastStatus(), "User Canceled!");
    EXPECT_TRUE(fs::is_empty(output.path()));
}

TEST_F(JobTest, JoiningMakesOneFileByTheFirstVideosFiguresAndBurningHandsOnlyThatOn)
{
    int defaultWidth = 0;
    host.collect = [&](Request&, const Request* defaults) { defaultWidth = defaults ? defaults->nWidth : -1; };
    host.joinedFile = (output / "joined").string();
    JobInput input{.mode = kModeVideoConverter, .rows = Clips({"a.avi", "b.avi", "c.avi"}), .formatRadio = kMp4Radio,
                   .join = true};
    const fs::path privateFolder = fs::path(std::getenv("TMPDIR")) / ("velmora-" + std::to_string(getuid()));
    const auto entries = [&] {
        std::set<fs::path> found;
        for (const auto& entry : fs::directory_iterator(privateFolder)) found.insert(entry.path());
        return found;
    };
    const auto before = entries();
    RunVideoJob(host, input);
    EXPECT_EQ(defaultWidth, 160);
    EXPECT_NE(DescribeWithFfmpeg(output / "joined.mp4").find("Video: "), std::string::npos);
    EXPECT_EQ(host.questions, 1);   // the save dialog only
    EXPECT_NEAR(DurationSeconds(output / "joined.mp4"), 3.0, 0.5);
    EXPECT_EQ(entries(), before);   // the work of the join goes with it
    EXPECT_EQ(host.LastStatus(), "3 files converted into " + Q(output / "joined.mp4"));
    EXPECT_TRUE(host.commands.empty());

    // A name the user gave with the extension keeps it as it is.
    host.joinedFile = (output / "named.MP4").string();
    RunVideoJob(host, input);
    EXPECT_TRUE(fs::exists(output / "named.MP4"));
    EXPECT_FALSE(fs::exists(output / "named.MP4.mp4"));

    host.joinedFile = (output / "burnt").string();
    input.burn = true;
    RunVideoJob(host, input);
    EXPECT_EQ(host.state.TakePendingOutputs(), (std::vector<std::string>{(output / "burnt.mp4").string()}));
    EXPECT_EQ(std::distance(fs::directory_iterator(output.path()), fs::directory_iterator()), 3);   // no leftovers
    EXPECT_EQ(host.commands, (std::vector<int>{command::kBurnPendingOutputs}));

    // When nothing was made, no burn starts.
    WriteFile(output / "broken.avi", "not a video at all");
    input.rows = {{.sourcePath = (output / "broken.avi").string()}};
    RunVideoJob(host, input);
    EXPECT_EQ(host.commands.size(), 1u);
}

TEST_F(JobTest, TheDvdCreatorLeavesVobFilesOrAuthorsTheFolderSetAndHandsItOnToBurn)
{
    const fs::path work = "06759715-1134-4d2b-B902-58192E53501F";
    // dvdauthor reads the folder's name, and the work files' in it, from its XML text.
    const fs::path odd = output / "Tom & Jerry <'single' \"double\">";
    fs::create_directories(odd / work);   // left by an interrupted run: reused and removed
    struct Case {
        int option;
        fs::path folder;
        std::vector<fs::path> made;
        QString status;
    };
    // A file whose name XML cannot carry is refused with the reason, and the others authored.
    const QString refused = "1 file failed: esc\x1b.avi: its name cannot be written for dvdauthor: it holds a "
                            "control character (U+001B)";
    const Case cases[] = {
        {kFirstOptionRadio, output / "vob", {"a.vob", "b.vob"}, "2 files converted into " + Q(output / "vob")},
        {kSecondOptionRadio, odd, {"VIDEO_TS/VIDEO_TS.IFO", "VIDEO_TS/VTS_01_1.VOB"}, refused},
        {kThirdOptionRadio, output / "burn", {"VIDEO_TS", "AUDIO_TS"}, "2 files converted into " + Q(output / "burn")},
    };
    const auto rows = Clips({"a.avi", "b.avi"});
    auto withUnwritable = rows;
    withUnwritable.push_back({.sourcePath = (output / "esc\x1b.avi").string()});
    const std::vector<std::string> earlier{"left by an earlier job"};
    for (const Case& dvd : cases) {
        FakeHost creator;
        fs::create_directories(dvd.folder);
        creator.folder = dvd.folder.string();
        creator.state.AddPendingOutput(earlier[0]);
        RunDvdAuthoringJob(creator, {.mode = kModeDvdCreator,
                                     .rows = dvd.folder == odd ? withUnwritable : rows,
                                     .formatRadio = dvd.option});
        EXPECT_EQ(creator.controls, (std::vector<bool>{true, false}));
        for (const auto& made : dvd.made) EXPECT_TRUE(fs::exists(dvd.folder / made)) << made;
        EXPECT_FALSE(fs::exists(dvd.folder / work));
        EXPECT_EQ(fs::exists(dvd.folder / "VIDEO_TS"), dvd.option != kFirstOptionRadio);
        EXPECT_EQ(creator.LastStatus(), dvd.status);
        EXPECT_EQ(creator.statuses.contains("Generating DVD Files...."), dvd.option != kFirstOptionRadio);
        // Convert and Burn hands both folders on, in place of what an earlier job left.
        const bool burn = dvd.option == kThirdOptionRadio;
        const std::vector<std::string> handed{(dvd.folder / "VIDEO_TS").string(), (dvd.folder / "AUDIO_TS").string()};
        EXPECT_EQ(creator.state.TakePendingOutputs(), burn ? handed : earlier);
        EXPECT_EQ(creator.commands, burn ? std::vector{command::kBurnPendingOutputs} : std::vector<int>{});
    }
    // An authoring that fails leaves the earlier disc as it was, says so and hands nothing on.
    WriteFile(output / "broken.avi", "not a video at all");
    const std::string earlierDisc = ReadFile(output / "burn/VIDEO_TS/VIDEO_TS.IFO");
    FakeHost failing;
    failing.folder = (output / "burn").string();
    RunDvdAuthoringJob(failing, {.mode = kModeDvdCreator, .rows = {{.sourcePath = (output / "broken.avi").string()}},
                                 .formatRadio = kThirdOptionRadio});
    EXPECT_TRUE(failing.LastStatus().startsWith("No DVD files were made")) << failing.LastStatus().toStdString();
    EXPECT_EQ(ReadFile(output / "burn/VIDEO_TS/VIDEO_TS.IFO"), earlierDisc);
    EXPECT_TRUE(failing.commands.empty());

    // A folder whose name XML cannot carry stops the job before anything is converted.
    const fs::path bell = output / "bell\a";
    fs::create_directories(bell);
    host.folder = bell.string();
    RunDvdAuthoringJob(host, {.mode = kModeDvdCreator, .rows = rows, .formatRadio = kSecondOptionRadio});
    EXPECT_EQ(host.LastStatus(), "No DVD files were made: the folder's name cannot be written for dvdauthor: it holds "
                                 "a control character (U+0007)");
    EXPECT_TRUE(fs::is_empty(bell));
}

}  // namespace
}  // namespace velmora::front
