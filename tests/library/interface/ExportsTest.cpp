// The exports as the window reaches them: by name through dlopen, with the records crossing by value
// and by pointer, on media made by ffmpeg, CD images and a loopback CDDB server. What the tools make
// is tested in the unit tests.

#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "LumetraLibrary.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using MediaLibrary::Header::CD_TEXT_INFO;
using MediaLibrary::Header::MEDIACONVERSIONINFO;
using velmora::platform::DriveTable;
using namespace velmora::test;

bool IsZero(const MEDIACONVERSIONINFO& record)
{
    const MEDIACONVERSIONINFO zero;
    return std::memcmp(&record, &zero, sizeof record) == 0;
}

int Convert(const std::string& exportName, const MEDIACONVERSIONINFO& request)
{
    return reinterpret_cast<decltype(&Convert_Video_TO_AVI)>(LumetraSymbol(exportName.c_str()))(request);
}

MEDIACONVERSIONINFO Probe(const std::filesystem::path& file)
{
    MEDIACONVERSIONINFO facts = LumetraRequest(file, {});
    EXPECT_EQ(LUMETRA(GetDefaultPara)(&facts), 1);
    return facts;
}

std::string PlayLength(const std::string& file, std::string buffer = std::string(20, '\0'))
{
    EXPECT_EQ(LUMETRA(GetPlayLength)(file.c_str(), buffer.data()), 0);
    return buffer;
}

class ExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        ASSERT_TRUE(MakeClip(*clips / "clip.avi", 2) && MakeTone(*clips / "tone.mp3", 2));
    }
    static void TearDownTestSuite() { delete clips; }

    static inline ScratchFolder* clips = nullptr;
    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
};

TEST_F(ExportsTest, RecordsCrossWholeAndProbeAndPlayLengthFillOnlyWhatIsTheirs)
{
    const auto check = [](auto* type) {
        using Record = std::remove_pointer_t<decltype(type)>;
        alignas(Record) unsigned char storage[sizeof(Record)];
        std::memset(storage, 0xAB, sizeof storage);
        auto* record = new (storage) Record;
        EXPECT_EQ(std::count(storage, storage + sizeof storage, 0), static_cast<long>(sizeof storage));
        Record other;
        std::memset(static_cast<void*>(&other), 0x5C, sizeof other);
        *record = other;
        EXPECT_EQ(std::memcmp(record, &other, sizeof other), 0);
    };
    check(static_cast<MEDIACONVERSIONINFO*>(nullptr));
    check(static_cast<CD_TEXT_INFO*>(nullptr));
    EXPECT_THROW(LumetraSymbol("_ZN12MediaLibrary5Video11ParseReportESt17basic_string_viewIcSt11char_traitsIcEE"),
                 std::runtime_error);

    // A probe fills only the stream facts, and the play length takes twenty bytes at most.
    const auto facts = Probe(*clips / "clip.avi");
    EXPECT_EQ(std::tuple(facts.nWidth, facts.nHeight, facts.nFrameRate, facts.nSampleRate, facts.nAudioChannels,
                         facts.nOutputFormat, facts.szSourceFile[0], facts.szOutputFile[0]),
              std::tuple(320, 240, 25, 44100, 0, 0, '\0', '\0'));
    EXPECT_GT(facts.nVideoBitRate, 0);
    EXPECT_STREQ(PlayLength(*clips / "clip.avi").c_str(), " 00:00:02.00");

    const auto fake = FakeTool(scratch.path(), "ffmpeg", "echo '  Duration: 00:00:02.00 and much more, start: 0' >&2");
    const std::string written(" 00:00:02.00 and mu\0", 20);
    EXPECT_EQ(PlayLength(*clips / "clip.avi", std::string(64, '#')), written + std::string(44, '#'));
}

TEST_F(ExportsTest, ConversionsTakeTheQualityAskedForEachExportItsTargetAndWithoutAnEncoderNothingIsGuessed)
{
    WriteFile(scratch / "small.mp4", "stale output of an earlier run");
    auto small = LumetraRequest(*clips / "clip.avi", scratch / "small.mp4");
    std::tie(small.nWidth, small.nHeight, small.nFrameRate, small.nSampleRate, small.nAudioChannels) =
        std::tuple(160, 120, 10, 22050, 1);
    EXPECT_EQ(LUMETRA(Convert_Video_TO_MP4)(small), 0);
    const auto facts = Probe(scratch / "small.mp4");
    EXPECT_EQ(std::tuple(facts.nWidth, facts.nHeight, facts.nFrameRate, facts.nSampleRate),
              std::tuple(160, 120, 10, 22050));
    EXPECT_NE(DescribeWithFfmpeg(scratch / "small.mp4").find("Input #0, mov,mp4"), std::string::npos);

    // Without an encoder nothing is converted, the earlier output stays, and the caller is told why.
    const auto converted = ReadFile(scratch / "small.mp4");
    const ScopedEnvironment nothing("PATH", (scratch / "nothing-here").string());
    EXPECT_EQ(Convert("Convert_Video_TO_AVI", LumetraRequest(*clips / "clip.avi", scratch / "small.mp4")), 0);
    EXPECT_EQ(ReadFile(scratch / "small.mp4"), converted);
    EXPECT_STREQ(LUMETRA(GetLastFailure)(), "ffmpeg was not found beside the program or on PATH");
    EXPECT_TRUE(IsZero(Probe(*clips / "clip.avi")));
    EXPECT_EQ(PlayLength(*clips / "clip.avi", "as it was"), "as it was");

    // Every video export runs the encoder, and only the DVD one asks for the DVD target.
    const auto fake = FakeTool(scratch.path(), "ffmpeg", "echo \"$*\" > \"$TMPDIR/encoder-ran\"");
    for (const std::string target : {"AVI", "MPG", "FLV", "M4V", "MP4", "MOV", "VOB", "DVD"}) {
        std::filesystem::remove(scratch / "encoder-ran");
        Convert("Convert_Video_TO_" + target, LumetraRequest(*clips / "clip.avi", scratch / "out"));
        const auto words = ReadFile(scratch / "encoder-ran");
        EXPECT_NE(words.find("file:" + (scratch / ".out.").string()), std::string::npos) << target;
        EXPECT_EQ(words.find("-target pal-dvd") != std::string::npos, target == "DVD") << target;
    }
}

TEST_F(ExportsTest, RequestsThatCannotBeTrustedAreRefusedAndTheDestFolderFitsTheCallersRoom)
{
    const auto fake = FakeTool(scratch.path(), "ffmpeg", "echo \"$*\" >> \"$TMPDIR/encoder-ran\"");
    WriteFile(scratch / "out.wav", "stale");
    // An output path that fills its field with no terminator is not guessed at.
    auto unterminated = LumetraRequest(*clips / "clip.avi", "");
    std::memset(unterminated.szOutputFile, 'o', sizeof unterminated.szOutputFile);
    Convert("Convert_Video_TO_AVI", unterminated);
    Convert("Convert_Wav_TO_MP3", unterminated);
    // The output is deleted first: it must not be the source, under any name.
    const auto tone = scratch / "tone.mp3";
    std::filesystem::copy_file(*clips / "tone.mp3", tone);
    std::filesystem::create_symlink(tone, scratch / "same.mp3");
    Convert("Convert_MP3_TO_WAV", LumetraRequest(tone, tone));
    Convert("Convert_Wav_TO_MP3", LumetraRequest(tone, scratch / "same.mp3"));
    Convert("Convert_Video_TO_MP4", LumetraRequest(scratch / "same.mp3", tone));
    EXPECT_EQ(ReadFile(tone), ReadFile(*clips / "tone.mp3"));
    // A join list with a hole, or none at all, joins nothing.
    const char* withAHole[] = {tone.c_str(), nullptr};
    LUMETRA(Convert_Join_To_Single)(LumetraRequest(scratch / "joined", scratch / "out.wav"), withAHole, 2);
    LUMETRA(Convert_Join_To_Single)(LumetraRequest(scratch / "joined", scratch / "out.wav"), nullptr, 3);
    EXPECT_EQ(ReadFile(scratch / "out.wav"), "stale");
    EXPECT_FALSE(std::filesystem::exists(scratch / "encoder-ran") || std::filesystem::exists(scratch / "joined"));

    EXPECT_EQ(PlayLength(std::string(300, 'p'), "kept"), "kept");
    MEDIACONVERSIONINFO unterminatedSource;
    std::memset(unterminatedSource.szSourceFile, 's', sizeof unterminatedSource.szSourceFile);
    unterminatedSource.nWidth = 5;
    LUMETRA(GetDefaultPara)(&unterminatedSource);
    EXPECT_TRUE(IsZero(unterminatedSource));

    // The DVD exports name the dest folder within the caller's room, or say why there is none.
    WriteFile(scratch / "disc.xml", "<dvdauthor jumppad='1' dest='" + (scratch / "my &amp; disc").string() + "'>");
    const std::string expected = (scratch / "my & disc").string();
    char small[8] = "old", room[300] = "";
    EXPECT_EQ(LUMETRA(GetDVDFilesFolder)((scratch / "disc.xml").c_str(), small, sizeof small), expected.size());
    EXPECT_STREQ(small, "");
    EXPECT_EQ(LUMETRA(GetDVDFilesFolder)((scratch / "disc.xml").c_str(), room, sizeof room), expected.size());
    EXPECT_EQ(room, expected);
    EXPECT_EQ(LUMETRA(GetDVDFilesFolder)((scratch / "absent.xml").c_str(), room, sizeof room), 0u);
    EXPECT_EQ(LUMETRA(GetLastFailure)(), (scratch / "absent.xml").string() + " cannot be read");
    EXPECT_EQ(LUMETRA(GetDVDFilesFolder)(nullptr, room, sizeof room), 0u);
    EXPECT_EQ(LUMETRA(GenerateDVDFiles)(nullptr), 1);
}

TEST_F(ExportsTest, HostilePathsWorkInEveryExportAndRunNothingElse)
{
    WriteFile(scratch / "y", "must survive");
    const std::string name = "a \"b\" $(touch pwned); rm -f y; `touch pwned2` ünï cödé\nline";
    const auto folder = scratch / (name + " folder");
    std::filesystem::create_directories(folder);
    const auto in = folder / (name + ".avi"), dvd = folder / (name + ".mpg"), all = folder / (name + " all.mp4");
    std::filesystem::copy_file(*clips / "clip.avi", in);
    Convert("Convert_Video_TO_DVD", LumetraRequest(in, dvd));
    const auto facts = Probe(dvd);
    EXPECT_EQ(std::tuple(facts.nWidth, facts.nHeight, facts.nSampleRate), std::tuple(720, 576, 48000));
    LUMETRA(GeTThumbNailForVideoFile)("0", dvd.c_str(), (folder / (name + ".png")).c_str());
    EXPECT_EQ(ReadFile(folder / (name + ".png")).substr(1, 3), "PNG");
    // The WAV export encodes what its plain-WAV check refuses, such as an MP3.
    Convert("Convert_Wav_TO_MP3", LumetraRequest(*clips / "tone.mp3", folder / (name + ".mp3")));
    Convert("Convert_MP3_TO_WAV", LumetraRequest(folder / (name + ".mp3"), folder / (name + ".wav")));
    EXPECT_GT(DurationSeconds(folder / (name + ".wav")), 1.9);
    const char* parts[] = {dvd.c_str(), dvd.c_str()};
    LUMETRA(Convert_Join_To_Single)(LumetraRequest(folder / (name + " joined"), all), parts, 2);
    EXPECT_NEAR(DurationSeconds(all), 4.0, 0.3);

    std::filesystem::copy_file(dvd, scratch / "title.mpg");
    WriteFile(folder / (name + ".xml"), "<dvdauthor dest=\"" + scratch.path().string() +
              "/$(touch pwned3) `x` ü &quot;disc&quot;\"><vmgm /><titleset><titles><pgc><vob file=\"" +
              (scratch / "title.mpg").string() + "\" /></pgc></titles></titleset></dvdauthor>");
    LUMETRA(GenerateDVDFiles)((folder / (name + ".xml")).c_str());
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch / "$(touch pwned3) `x` ü \"disc\"/VIDEO_TS/VIDEO_TS.IFO"));

    for (const char* planted : {"pwned", "pwned2", "pwned3"})
        EXPECT_FALSE(std::filesystem::exists(scratch / planted) || std::filesystem::exists(planted)) << planted;
    EXPECT_EQ(ReadFile(scratch / "y"), "must survive");

    // A name that carries report lines of its own tells the encoder nothing: a text file is no video.
    const auto spoof = scratch / "x\n  Duration: 27:46:39.00, start: 0\n"
                                 "  Stream #0:0: Video: h264, yuv420p, 99999x99999, 120 fps\n.avi";
    WriteFile(spoof, "only text");
    MEDIACONVERSIONINFO spoofed;
    char length[20] = "";
    EXPECT_EQ(LUMETRA(GetMediaFacts)(spoof.c_str(), &spoofed, length), 0);
    EXPECT_TRUE(IsZero(spoofed));
    EXPECT_STREQ(length, "");
    EXPECT_NE(std::string(LUMETRA(GetLastFailure)()).find("is not a media file"), std::string::npos);
}

}  // namespace
