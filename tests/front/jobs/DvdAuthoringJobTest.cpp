#include "FrontTesting.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "jobs/AudioJob.h"
#include "jobs/AuthoringText.h"
#include "jobs/ConversionThread.h"
#include "jobs/DvdAuthoringJob.h"
#include "jobs/VideoJob.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;

constexpr const char* kWorkFolder = "06759715-1134-4d2b-B902-58192E53501F";

TEST(AuthoringText, ListsTheFilesInOrderAndEscapesEveryPath)
{
    AuthoringText text("/videos/Tom & Jerry");
    text.AddVob("/work/a.mpg");
    text.AddVob("/work/<b> \"quoted\" 'single'.mpg");
    EXPECT_EQ(text.Close(),
              "<dvdauthor dest=\"/videos/Tom &amp; Jerry\" ><vmgm /><titleset><titles><pgc>"
              "<vob file=\"/work/a.mpg\" />"
              "<vob file=\"/work/&lt;b&gt; &quot;quoted&quot; &apos;single&apos;.mpg\" />"
              "</pgc></titles></titleset></dvdauthor>");
}

TEST(ConversionJobs, NeedTheExportsTheyCall)
{
    using enum Export;
    const std::pair<JobInput, std::vector<Export>> cases[] = {
        {{.mode = kModeAudioConverter}, {Convert_CD_TO_MP3, Convert_Wav_TO_MP3}},
        {{.mode = kModeVideoConverter, .formatRadio = kMovRadio}, {GeTThumbNailForVideoFile, Convert_Video_TO_MOV}},
        {{.mode = kModeVideoConverter, .formatRadio = kSecondOptionRadio, .join = true},
         {GeTThumbNailForVideoFile, Convert_Video_TO_MPG, GetDefaultPara, Convert_Join_To_Single}},
        {{.mode = kModeVideoConverter, .formatRadio = -1}, {GeTThumbNailForVideoFile}},   // no format checked
        {{.mode = kModeDvdCreator}, {Convert_Video_TO_VOB, Convert_Video_TO_DVD, GenerateDVDFiles}},
        {{.mode = kModeAudioBurner}, {}},
    };
    for (const auto& [input, needed] : cases)
        EXPECT_EQ(ConversionThread::ExportsNeeded(input), needed) << "mode " << input.mode;
}

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

class DvdAuthoringJobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        for (const char* name : {"a.avi", "b.avi"}) ASSERT_TRUE(MakeClip(*clips / name, 1, 160, 120));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    DvdAuthoringJobTest() { BindLibrary(); }

    void Run(int option, const fs::path& folder)
    {
        fs::create_directories(folder);
        host.folder = folder.string();
        RunDvdAuthoringJob(host, {.mode = kModeDvdCreator,
                                  .rows = {{.sourcePath = (*clips / "a.avi").string()},
                                           {.sourcePath = (*clips / "b.avi").string()}},
                                  .formatRadio = option});
        EXPECT_EQ(host.controls, (std::vector<bool>{true, false}));
    }

    static inline ScratchFolder* clips = nullptr;
    ScratchFolder output;
    FakeHost host;
};

TEST_F(DvdAuthoringJobTest, OnlyVobFilesLeavesOneVobPerFile)
{
    Run(kFirstOptionRadio, output.path());
    EXPECT_TRUE(fs::exists(output / "a.vob"));
    EXPECT_TRUE(fs::exists(output / "b.vob"));
    EXPECT_FALSE(fs::exists(output / kWorkFolder));
    EXPECT_FALSE(fs::exists(output / "VIDEO_TS"));
    EXPECT_EQ(host.LastStatus(), "Converting - " + QString::fromStdString((*clips / "b.avi").string()) + "....");
}

TEST_F(DvdAuthoringJobTest, AllDvdFilesAuthorsTheFolderSetInAnyFolderAndRemovesTheWorkFolder)
{
    const fs::path folder = output / "Tom & Jerry <'quoted'>";
    // A work folder left by an interrupted run is reused and removed.
    fs::create_directories(folder / kWorkFolder);
    Run(kSecondOptionRadio, folder);
    EXPECT_TRUE(fs::exists(folder / "VIDEO_TS" / "VIDEO_TS.IFO"));
    EXPECT_TRUE(fs::exists(folder / "VIDEO_TS" / "VTS_01_1.VOB"));
    EXPECT_FALSE(fs::exists(folder / kWorkFolder));
    EXPECT_EQ(host.LastStatus(), "Generating DVD Files....");
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(DvdAuthoringJobTest, ConvertAndBurnHandsBothFoldersOn)
{
    host.state.AddPendingOutput("left by an earlier job");
    Run(kThirdOptionRadio, output.path());
    const auto outputs = host.state.TakePendingOutputs();
    EXPECT_EQ(outputs, (std::vector<std::string>{(output / "VIDEO_TS").string(), (output / "AUDIO_TS").string()}));
    for (const auto& folder : outputs) EXPECT_TRUE(fs::is_directory(folder)) << folder;
    EXPECT_EQ(host.commands, (std::vector<int>{command::kBurnPendingOutputs}));
}

}  // namespace
}  // namespace velmora::front
