// The conversion and media-tool exports as the window reaches them: by name through dlopen, with
// the records crossing by value and by pointer. What the tools make is tested in the unit tests.

#include "LumetraLibrary.h"
#include "Media.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

namespace {

using MediaLibrary::Header::MEDIACONVERSIONINFO;
using velmora::test::ReadFile;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

bool IsZero(const MEDIACONVERSIONINFO& record)
{
    const MEDIACONVERSIONINFO zero;
    return std::memcmp(&record, &zero, sizeof record) == 0;
}

class ExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The log's lines on standard error too, where the tests read them.
        library.Bind<Lumetra::SetLogEchoFn>("SetLogEcho")(1);
        clips = new ScratchFolder;
        ASSERT_TRUE(velmora::test::MakeClip(*clips / "clip.avi", 2));
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100", "-t", "2", "-ac", "2",
                                              (*clips / "tone.mp3").string()}));
    }
    static void TearDownTestSuite() { delete clips; }

    static MEDIACONVERSIONINFO Request(const std::filesystem::path& source, const std::filesystem::path& output)
    {
        MEDIACONVERSIONINFO request;
        std::strncpy(request.szSourceFile, source.c_str(), sizeof request.szSourceFile - 1);
        std::strncpy(request.szOutputFile, output.c_str(), sizeof request.szOutputFile - 1);
        return request;
    }
    static MEDIACONVERSIONINFO Probe(const std::filesystem::path& file)
    {
        MEDIACONVERSIONINFO facts = Request(file, {});
        EXPECT_EQ(library.Bind<Lumetra::GetDefaultParaFn>("GetDefaultPara")(&facts), 1);
        return facts;
    }
    static std::string PlayLength(const std::string& file, std::string buffer = std::string(20, '\0'))
    {
        EXPECT_EQ(library.Bind<Lumetra::GetPlayLengthFn>("GetPlayLength")(file.c_str(), buffer.data()), 0);
        return buffer;
    }
    static int Convert(const char* exportName, const MEDIACONVERSIONINFO& request)
    {
        return library.Bind<Lumetra::ConvertFn>(exportName)(request);
    }
    static int Join(const MEDIACONVERSIONINFO& request, const std::vector<std::filesystem::path>& files)
    {
        std::vector<const char*> paths;
        for (const auto& file : files) paths.push_back(file.c_str());
        return library.Bind<Lumetra::JoinFn>("Convert_Join_To_Single")(request, paths.data(), static_cast<unsigned>(paths.size()));
    }
    // A stand-in encoder first on PATH that only records that it ran.
    void UseRecordingEncoder()
    {
        std::filesystem::create_directories(scratch / "bin");
        velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg", "echo \"$*\" >> \"$TMPDIR/encoder-ran\"");
        path.emplace("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");
    }

    static inline const velmora::test::LumetraLibrary& library = velmora::test::LumetraLibrary::Instance();
    static inline ScratchFolder* clips = nullptr;
    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    std::optional<ScopedEnvironment> path;
};

TEST_F(ExportsTest, RecordsStartZeroedAndCopyEveryByte)
{
    alignas(MEDIACONVERSIONINFO) unsigned char storage[sizeof(MEDIACONVERSIONINFO)];
    std::memset(storage, 0xAB, sizeof storage);
    auto* record = new (storage) MEDIACONVERSIONINFO;
    EXPECT_EQ(std::count(storage, storage + sizeof storage, 0), static_cast<long>(sizeof storage));
    MEDIACONVERSIONINFO source = Request("/in", "/out");
    source.nFrameRate = 7;
    *record = source;
    EXPECT_EQ(std::memcmp(record, &source, sizeof source), 0);

    MediaLibrary::Header::CD_TEXT_INFO track, copy;
    track.nTrackNo = 3;
    std::strcpy(track.szPath, "D:\\Track03.cda");
    copy = track;
    EXPECT_EQ(std::memcmp(&copy, &track, sizeof track), 0);
    // Only the exports are visible; the library's internals are not.
    EXPECT_THROW(library.Bind<void (*)()>("_ZN12MediaLibrary5Video11ParseReportESt17basic_string_viewIcSt11char_traitsIcEE"),
                 std::runtime_error);
}

TEST_F(ExportsTest, ProbeFillsOnlyTheStreamFactsAndPlayLengthItsText)
{
    const auto facts = Probe(*clips / "clip.avi");
    EXPECT_EQ(std::tuple(facts.nWidth, facts.nHeight, facts.nFrameRate, facts.nSampleRate, facts.nAudioChannels,
                         facts.nOutputFormat, facts.szSourceFile[0], facts.szOutputFile[0]),
              std::tuple(320, 240, 25, 44100, 0, 0, '\0', '\0'));
    EXPECT_GT(facts.nVideoBitRate, 0);
    EXPECT_STREQ(PlayLength(*clips / "clip.avi").c_str(), " 00:00:02.00");
}

TEST_F(ExportsTest, PlayLengthNeverWritesPastTwentyBytes)
{
    std::filesystem::create_directories(scratch / "bin");
    velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg",
                                 "echo '  Duration: 00:00:02.00 and then a great deal more text, start: 0' >&2");
    ScopedEnvironment fake("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");
    const auto buffer = PlayLength("any.avi", std::string(64, '#'));
    EXPECT_EQ(buffer, std::string(" 00:00:02.00 and th") + '\0' + std::string(44, '#'));
}

struct Target {
    const char* exportName;
    const char* extension;
    const char* container;   // as the encoder names it when reading the output back
    int width, height, frameRate, sampleRate;
    bool small = false;      // asks for 160x120 at 10 fps, mono 22 050 Hz
};

class ConversionTest : public ExportsTest, public ::testing::WithParamInterface<Target> {};

TEST_P(ConversionTest, ConvertsTheClipToTheTargetInPlaceOfAnOldOutput)
{
    const auto& target = GetParam();
    const auto output = scratch / (std::string("out.") + target.extension);
    WriteFile(output, "stale output of an earlier run");
    auto request = Request(*clips / "clip.avi", output);
    if (target.small) {
        request.nWidth = 160;
        request.nHeight = 120;
        request.nFrameRate = 10;
        request.nSampleRate = 22050;
        request.nAudioChannels = 1;
    }
    EXPECT_EQ(Convert(target.exportName, request), 0);

    const auto facts = Probe(output);
    EXPECT_EQ(std::tuple(facts.nWidth, facts.nHeight, facts.nFrameRate, facts.nSampleRate),
              std::tuple(target.width, target.height, target.frameRate, target.sampleRate));
    const auto report = velmora::test::DescribeWithFfmpeg(output);
    EXPECT_TRUE(std::regex_search(report, std::regex(std::string("Input #0, ") + target.container + ", from"))) << report;
}

constexpr const char* kIsoMedia = "mov,mp4,m4a,3gp,3g2,mj2";

INSTANTIATE_TEST_SUITE_P(
    EveryTarget, ConversionTest,
    ::testing::Values(Target{"Convert_Video_TO_AVI", "avi", "avi", 320, 240, 25, 44100},
                      Target{"Convert_Video_TO_MPG", "mpg", "mpeg", 320, 240, 25, 44100},
                      Target{"Convert_Video_TO_FLV", "flv", "flv", 320, 240, 25, 44100},
                      Target{"Convert_Video_TO_M4V", "m4v", kIsoMedia, 320, 240, 25, 44100},
                      Target{"Convert_Video_TO_MP4", "mp4", kIsoMedia, 320, 240, 25, 44100},
                      Target{"Convert_Video_TO_MOV", "mov", kIsoMedia, 320, 240, 25, 44100},
                      Target{"Convert_Video_TO_VOB", "vob", "mpeg", 320, 240, 25, 44100},
                      Target{"Convert_Video_TO_DVD", "mpg", "mpeg", 720, 576, 25, 48000},
                      Target{"Convert_Video_TO_MP4", "mp4", kIsoMedia, 160, 120, 10, 22050, true}),
    [](const auto& instance) { return std::string(instance.param.exportName).substr(17) + (instance.param.small ? "Small" : ""); });

TEST_F(ExportsTest, AMissingEncoderGivesQuietResultsAndALogLine)
{
    ScopedEnvironment nothing("PATH", (scratch / "nothing-here").string());
    WriteFile(scratch / "out.avi", "stale");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Convert("Convert_Video_TO_AVI", Request(*clips / "clip.avi", scratch / "out.avi")), 0);
    const auto facts = Probe(*clips / "clip.avi");
    EXPECT_EQ(PlayLength(*clips / "clip.avi", "as it was"), "as it was");
    const auto said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.avi"));
    EXPECT_TRUE(IsZero(facts));
    EXPECT_NE(said.find("ffmpeg was not found beside the executable or on PATH"), std::string::npos) << said;
}

TEST_F(ExportsTest, RequestsThatCannotBeTrustedAreRefused)
{
    UseRecordingEncoder();
    WriteFile(scratch / "out.wav", "stale");
    // An output path that fills its field with no terminator is not guessed at.
    auto unterminated = Request(*clips / "clip.avi", "");
    std::memset(unterminated.szOutputFile, 'o', sizeof unterminated.szOutputFile);
    Convert("Convert_Video_TO_AVI", unterminated);
    Convert("Convert_Wav_TO_MP3", unterminated);
    // The output is deleted first: it must not be the source, under any name.
    std::filesystem::copy_file(*clips / "tone.mp3", scratch / "tone.mp3");
    std::filesystem::create_symlink(scratch / "tone.mp3", scratch / "same.mp3");
    Convert("Convert_MP3_TO_WAV", Request(scratch / "tone.mp3", scratch / "tone.mp3"));
    Convert("Convert_Wav_TO_MP3", Request(scratch / "tone.mp3", scratch / "same.mp3"));
    Convert("Convert_Video_TO_MP4", Request(scratch / "same.mp3", scratch / "tone.mp3"));
    EXPECT_EQ(ReadFile(scratch / "tone.mp3"), ReadFile(*clips / "tone.mp3"));
    // A join list with a hole, or none at all, joins nothing.
    const auto a = scratch / "tone.mp3";
    const char* withAHole[] = {a.c_str(), nullptr};
    library.Bind<Lumetra::JoinFn>("Convert_Join_To_Single")(Request(scratch / "joined", scratch / "out.wav"), withAHole, 2);
    library.Bind<Lumetra::JoinFn>("Convert_Join_To_Single")(Request(scratch / "joined", scratch / "out.wav"), nullptr, 3);
    EXPECT_EQ(ReadFile(scratch / "out.wav"), "stale");
    EXPECT_FALSE(std::filesystem::exists(scratch / "encoder-ran"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "joined"));

    const std::string tooLong(300, 'p');
    EXPECT_EQ(PlayLength(tooLong, "kept"), "kept");
    MEDIACONVERSIONINFO unterminatedSource;
    std::memset(unterminatedSource.szSourceFile, 's', sizeof unterminatedSource.szSourceFile);
    unterminatedSource.nWidth = 5;
    library.Bind<Lumetra::GetDefaultParaFn>("GetDefaultPara")(&unterminatedSource);
    EXPECT_TRUE(IsZero(unterminatedSource));
}

TEST_F(ExportsTest, AudioExportsReplaceOldOutputAndEncodeWhatThePlainWavCheckRefuses)
{
    WriteFile(scratch / "junk.mp3", "not audio");
    WriteFile(scratch / "out.wav", "stale");
    EXPECT_EQ(Convert("Convert_MP3_TO_WAV", Request(scratch / "junk.mp3", scratch / "out.wav")), 0);
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.wav"));

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Convert("Convert_Wav_TO_MP3", Request(*clips / "tone.mp3", scratch / "copy.mp3")), 0);
    const auto said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("is not a plain WAV file (6001)"), std::string::npos) << said;
    EXPECT_GT(velmora::test::DurationSeconds(scratch / "copy.mp3"), 1.9);
}

TEST_F(ExportsTest, DvdExportsNameTheDestFolderAndRefuseNoFile)
{
    WriteFile(scratch / "disc.xml", "<dvdauthor jumppad='1' dest='" + (scratch / "my &amp; disc").string() + "'>");
    const auto folder = library.Bind<Lumetra::GetDvdFilesFolderFn>("GetDVDFilesFolder");
    const std::string expected = (scratch / "my & disc").string();
    char small[8] = "old", room[300] = "";
    EXPECT_EQ(folder((scratch / "disc.xml").c_str(), small, sizeof small), expected.size());
    EXPECT_STREQ(small, "");
    EXPECT_EQ(folder((scratch / "disc.xml").c_str(), room, sizeof room), expected.size());
    EXPECT_EQ(room, expected);
    EXPECT_EQ(folder((scratch / "absent.xml").c_str(), room, sizeof room), 0u);
    EXPECT_EQ(folder(nullptr, room, sizeof room), 0u);

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(library.Bind<Lumetra::GenerateDvdFilesFn>("GenerateDVDFiles")(nullptr), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("GenerateDVDFiles: no authoring file given"), std::string::npos);
}

TEST_F(ExportsTest, HostilePathsWorkInEveryExportAndRunNothingElse)
{
    WriteFile(scratch / "y", "must survive");
    const std::vector<std::string> names{"a \"b\" $(touch pwned); rm -f y", "`touch pwned2`;x", "ünï cödé — ü",
                                         "clip\nwith newline"};
    std::vector<std::filesystem::path> converted;
    for (const auto& name : names) {
        const auto folder = scratch / (name + " folder");
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(*clips / "clip.avi", folder / (name + ".avi"));
        converted.push_back(folder / (name + ".mpg"));
        Convert("Convert_Video_TO_DVD", Request(folder / (name + ".avi"), converted.back()));
        EXPECT_EQ(Probe(converted.back()).nWidth, 720) << name;
        const auto picture = folder / (name + ".png");
        library.Bind<Lumetra::ThumbnailFn>("GeTThumbNailForVideoFile")("0", converted.back().c_str(), picture.c_str());
        EXPECT_EQ(ReadFile(picture).substr(1, 3), "PNG") << name;
        Convert("Convert_MP3_TO_WAV", Request(*clips / "tone.mp3", folder / (name + ".wav")));
        Convert("Convert_Wav_TO_MP3", Request(folder / (name + ".wav"), folder / (name + ".mp3")));
        EXPECT_GT(velmora::test::DurationSeconds(folder / (name + ".mp3")), 1.9) << name;
    }
    Join(Request(scratch / (names[2] + " joined.mpg"), scratch / (names[0] + " all.mp4")), {converted[0], converted[1]});
    EXPECT_NEAR(velmora::test::DurationSeconds(scratch / (names[0] + " all.mp4")), 4.0, 0.3);

    const auto disc = scratch / "$(touch pwned3) `x` ü &quot;disc&quot;";
    WriteFile(scratch / "disc.xml", "<dvdauthor dest=\"" + disc.string() + "\"><vmgm /><titleset><titles><pgc><vob file=\"" +
                                        converted[1].string() + "\" /></pgc></titles></titleset></dvdauthor>");
    library.Bind<Lumetra::GenerateDvdFilesFn>("GenerateDVDFiles")((scratch / "disc.xml").c_str());
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch / "$(touch pwned3) `x` ü \"disc\"" / "VIDEO_TS" / "VIDEO_TS.IFO"));

    for (const char* planted : {"pwned", "pwned2", "pwned3"})
        EXPECT_FALSE(std::filesystem::exists(scratch / planted) || std::filesystem::exists(planted)) << planted;
    EXPECT_EQ(ReadFile(scratch / "y"), "must survive");
}

}  // namespace
