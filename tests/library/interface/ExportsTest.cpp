#include "FakeTool.h"
#include "LumetraLibrary.h"
#include "Media.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

namespace {

using MediaLibrary::Header::MEDIACONVERSIONINFO;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

class ExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Runs once for this suite and once for the conversion suite built on it; the library is loaded once.
        if (!library) library = new velmora::test::LumetraLibrary(LUMETRA_LIBRARY);
        clips = new ScratchFolder;
        ASSERT_TRUE(velmora::test::MakeClip(*clips / "clip.avi", 2));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    static MEDIACONVERSIONINFO Request(const std::filesystem::path& source, const std::filesystem::path& output)
    {
        MEDIACONVERSIONINFO request;
        std::strncpy(request.szSourceFile, source.c_str(), sizeof request.szSourceFile - 1);
        std::strncpy(request.szOutputFile, output.c_str(), sizeof request.szOutputFile - 1);
        return request;
    }

    static MEDIACONVERSIONINFO Probe(const std::filesystem::path& file)
    {
        MEDIACONVERSIONINFO facts;
        std::strncpy(facts.szSourceFile, file.c_str(), sizeof facts.szSourceFile - 1);
        EXPECT_EQ(library->Bind<Lumetra::GetDefaultParaFn>("GetDefaultPara")(&facts), 1);
        return facts;
    }

    static inline velmora::test::LumetraLibrary* library = nullptr;
    static inline ScratchFolder* clips = nullptr;
    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
};

TEST_F(ExportsTest, ProbeReadsTheGeneratedClip)
{
    const auto facts = Probe(*clips / "clip.avi");
    EXPECT_EQ(facts.nWidth, 320);
    EXPECT_EQ(facts.nHeight, 240);
    EXPECT_EQ(facts.nFrameRate, 25);
    EXPECT_EQ(facts.nSampleRate, 44100);
    EXPECT_GT(facts.nVideoBitRate, 0);
    EXPECT_EQ(facts.nAudioChannels, 0);
    EXPECT_STREQ(facts.szSourceFile, "");
    EXPECT_STREQ(facts.szOutputFile, "");
    EXPECT_EQ(facts.nOutputFormat, 0);

    char length[20];
    std::memset(length, 'z', sizeof length);
    EXPECT_EQ(library->Bind<Lumetra::GetPlayLengthFn>("GetPlayLength")((*clips / "clip.avi").c_str(), length), 0);
    EXPECT_STREQ(length, " 00:00:02.00");
}

struct Target {
    const char* exportName;
    const char* extension;
    const char* container;   // as the encoder names it when reading the output back
    int width, height;
};

class ConversionTest : public ExportsTest, public ::testing::WithParamInterface<Target> {};

TEST_P(ConversionTest, ConvertsTheClipToTheTarget)
{
    const auto& target = GetParam();
    const auto output = scratch / (std::string("out.") + target.extension);
    velmora::test::WriteFile(output, "stale output of an earlier run");

    auto convert = library->Bind<Lumetra::ConvertFn>(target.exportName);
    EXPECT_EQ(convert(Request(*clips / "clip.avi", output)), 0);

    ASSERT_TRUE(std::filesystem::exists(output));
    const auto facts = Probe(output);
    EXPECT_EQ(facts.nWidth, target.width);
    EXPECT_EQ(facts.nHeight, target.height);
    const auto report = velmora::test::DescribeWithFfmpeg(output);
    EXPECT_TRUE(std::regex_search(report, std::regex(std::string("Input #0, ") + target.container + ", from")))
        << report;
}

INSTANTIATE_TEST_SUITE_P(
    EveryTarget, ConversionTest,
    ::testing::Values(Target{"Convert_Video_TO_AVI", "avi", "avi", 320, 240},
                      Target{"Convert_Video_TO_MPG", "mpg", "mpeg", 320, 240},
                      Target{"Convert_Video_TO_FLV", "flv", "flv", 320, 240},
                      Target{"Convert_Video_TO_M4V", "m4v", "mov,mp4,m4a,3gp,3g2,mj2", 320, 240},
                      Target{"Convert_Video_TO_MP4", "mp4", "mov,mp4,m4a,3gp,3g2,mj2", 320, 240},
                      Target{"Convert_Video_TO_MOV", "mov", "mov,mp4,m4a,3gp,3g2,mj2", 320, 240},
                      Target{"Convert_Video_TO_VOB", "vob", "mpeg", 320, 240},
                      Target{"Convert_Video_TO_DVD", "mpg", "mpeg", 720, 576}),
    [](const auto& info) { return std::string(info.param.exportName).substr(17); });

TEST_F(ExportsTest, QualityOptionsReachTheEncoder)
{
    auto request = Request(*clips / "clip.avi", scratch / "small.mp4");
    request.nWidth = 160;
    request.nHeight = 120;
    request.nFrameRate = 10;
    request.nSampleRate = 22050;
    request.nAudioChannels = 1;
    library->Bind<Lumetra::ConvertFn>("Convert_Video_TO_MP4")(request);
    const auto facts = Probe(scratch / "small.mp4");
    EXPECT_EQ(facts.nWidth, 160);
    EXPECT_EQ(facts.nHeight, 120);
    EXPECT_EQ(facts.nFrameRate, 10);
    EXPECT_EQ(facts.nSampleRate, 22050);
}

TEST_F(ExportsTest, HostileFileNamesConvertLikeAnyOtherAndRunNothingElse)
{
    velmora::test::WriteFile(scratch / "y.avi", "must survive");
    const std::vector<std::string> names{
        "a \"b\" $(touch pwned); rm -f y.avi", "clip\nwith newline.mp4", "`touch pwned2`;x.avi",
        "ünïcödé clip — ü.avi"};
    for (const auto& name : names) {
        std::filesystem::copy_file(*clips / "clip.avi", scratch / name);
        const auto output = scratch / (name + ".converted.mp4");
        library->Bind<Lumetra::ConvertFn>("Convert_Video_TO_MP4")(Request(scratch / name, output));
        EXPECT_EQ(Probe(output).nWidth, 320) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "pwned"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "pwned2"));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
    EXPECT_EQ(velmora::test::ReadFile(scratch / "y.avi"), "must survive");
}

TEST_F(ExportsTest, AMissingEncoderGivesQuietResultsAndALogLine)
{
    ScopedEnvironment path("PATH", (scratch / "nothing-here").string());
    const auto output = scratch / "out.avi";
    velmora::test::WriteFile(output, "stale");

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(library->Bind<Lumetra::ConvertFn>("Convert_Video_TO_AVI")(Request(*clips / "clip.avi", output)), 0);
    const auto facts = Probe(*clips / "clip.avi");
    char length[20] = "as it was";
    EXPECT_EQ(library->Bind<Lumetra::GetPlayLengthFn>("GetPlayLength")((*clips / "clip.avi").c_str(), length), 0);
    const auto said = ::testing::internal::GetCapturedStderr();

    EXPECT_FALSE(std::filesystem::exists(output));
    const MEDIACONVERSIONINFO zero;
    EXPECT_EQ(std::memcmp(&facts, &zero, sizeof facts), 0);
    EXPECT_STREQ(length, "as it was");
    EXPECT_NE(said.find("ffmpeg was not found beside the executable or on PATH"), std::string::npos) << said;
}

TEST_F(ExportsTest, PlayLengthNeverWritesPastTwentyBytes)
{
    std::filesystem::create_directories(scratch / "bin");
    velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg",
                                 "echo '  Duration: 00:00:02.00 and then a great deal more text, start: 0' >&2");
    ScopedEnvironment path("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");

    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    library->Bind<Lumetra::GetPlayLengthFn>("GetPlayLength")("any.avi", buffer);
    EXPECT_EQ(std::string(buffer), " 00:00:02.00 and th");
    EXPECT_EQ(std::strlen(buffer), 19u);
    for (std::size_t at = 20; at < sizeof buffer; ++at) EXPECT_EQ(buffer[at], '#') << at;
}

TEST_F(ExportsTest, RequestsThatCannotBeTrustedAreRefused)
{
    // An output path that fills its field with no terminator is not guessed at.
    auto request = Request(*clips / "clip.avi", "");
    std::memset(request.szOutputFile, 'o', sizeof request.szOutputFile);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    library->Bind<Lumetra::ConvertFn>("Convert_Video_TO_AVI")(request);
    std::filesystem::current_path(before);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));

    const std::string tooLong(300, 'p');
    char length[20] = "kept";
    library->Bind<Lumetra::GetPlayLengthFn>("GetPlayLength")(tooLong.c_str(), length);
    EXPECT_STREQ(length, "kept");

    MEDIACONVERSIONINFO unterminated;
    std::memset(unterminated.szSourceFile, 's', sizeof unterminated.szSourceFile);
    unterminated.nWidth = 5;
    library->Bind<Lumetra::GetDefaultParaFn>("GetDefaultPara")(&unterminated);
    const MEDIACONVERSIONINFO zero;
    EXPECT_EQ(std::memcmp(&unterminated, &zero, sizeof unterminated), 0);
}

TEST_F(ExportsTest, EveryExportIsBoundByItsExactName)
{
    for (const char* name : {"GetDefaultPara", "GetPlayLength", "Convert_Video_TO_AVI", "Convert_Video_TO_MPG",
                             "Convert_Video_TO_FLV", "Convert_Video_TO_M4V", "Convert_Video_TO_MP4",
                             "Convert_Video_TO_MOV", "Convert_Video_TO_VOB", "Convert_Video_TO_DVD",
                             "SetMessageBoxHandler", "_ZN12MediaLibrary6Header12CD_TEXT_INFOC1Ev",
                             "_ZN12MediaLibrary6Header19MEDIACONVERSIONINFOC1Ev"})
        EXPECT_NO_THROW(library->Bind<void (*)()>(name)) << name;
    // Internals stay hidden.
    EXPECT_THROW(library->Bind<void (*)()>("_ZN12MediaLibrary5Video11ParseReportESt17basic_string_viewIcSt11char_traitsIcEE"),
                 std::runtime_error);
}

}  // namespace
