#include "LumetraLibrary.h"
#include "Media.h"
#include "audio/Mp3Audio.h"
#include "audio/WaveAudio.h"
#include "interface/Failure.h"
#include "ScratchFolder.h"
#include "video/DvdAuthor.h"
#include "video/Join.h"
#include "video/Thumbnail.h"
#include "video/Video.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace MediaLibrary::Video {
namespace {

using namespace velmora::test;

bool MakeMpegClip(const std::filesystem::path& file, double seconds, bool dvd = false)
{
    return RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25", "-f", "lavfi", "-i", "sine", "-t",
                      std::to_string(seconds), dvd ? "-target" : "-c:v", dvd ? "pal-dvd" : "mpeg1video",
                      dvd ? "-aspect" : "-c:a", dvd ? "4:3" : "mp2", file.string()});
}

// A PNG's size from its header, as "WxH", when ffmpeg decodes its pixels whole.
std::string Picture(const std::filesystem::path& png, const ScratchFolder& scratch)
{
    const auto bytes = ReadFile(png), raw = (scratch / "decoded.rgb").string();
    std::uint32_t size[2];
    if (!bytes.starts_with("\x89PNG\r\n\x1a\n") || bytes.size() < 24 ||
        !RunFfmpeg({"-i", png.string(), "-f", "rawvideo", "-pix_fmt", "rgb24", raw}))
        return "no picture";
    std::memcpy(size, bytes.data() + 16, sizeof size);
    const auto whole = std::filesystem::file_size(raw) == std::uintmax_t{ntohl(size[0])} * ntohl(size[1]) * 3;
    return std::to_string(ntohl(size[0])) + "x" + std::to_string(ntohl(size[1])) + (whole ? "" : " cut short");
}

class MediaToolsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        ASSERT_TRUE(MakeClip(*clips / "clip.avi", 1) && MakeMpegClip(*clips / "one.mpg", 1));
        ASSERT_TRUE(MakeTone(*clips / "tone.mp3", 2));
    }
    static void TearDownTestSuite() { delete clips; }

    static inline ScratchFolder* clips = nullptr;
    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
};

TEST_F(MediaToolsTest, AThumbnailIsAWholePngOfHalfTheVideosSizeOrNoNewFileAtAll)
{
    TakeThumbnail("0.5", (*clips / "clip.avi").string(), scratch / "half.png");
    EXPECT_EQ(Picture(scratch / "half.png", scratch), "160x120");
    ASSERT_TRUE(MakeClip(scratch / "odd.avi", 0.2, 721, 577));
    TakeThumbnail("0", (scratch / "odd.avi").string(), scratch / "odd.png");
    EXPECT_EQ(Picture(scratch / "odd.png", scratch), "360x288");

    // A negative position is the first frame.
    TakeThumbnail("-3", (*clips / "clip.avi").string(), scratch / "negative.png");
    TakeThumbnail("0", (*clips / "clip.avi").string(), scratch / "first.png");
    TakeThumbnail("0.8", (*clips / "clip.avi").string(), scratch / "later.png");
    EXPECT_EQ(ReadFile(scratch / "negative.png"), ReadFile(scratch / "first.png"));
    EXPECT_NE(ReadFile(scratch / "later.png"), ReadFile(scratch / "first.png"));

    // No frame means no new picture: an earlier one stays as it was, nothing partial is left, and
    // the reason is told.
    ASSERT_TRUE(MakeTone(scratch / "tone.wav", 0.5));
    for (const auto& [position, video, reason] : std::vector<std::tuple<std::string, std::filesystem::path, std::string>>{
             {"30", *clips / "clip.avi", "there is no picture at 30"},
             {"0", scratch / "tone.wav", "shows no picture"},
             {"0", scratch / "absent.avi", "cannot be read"}}) {
        WriteFile(scratch / "picture.png", "a picture of an earlier call");
        ClearFailure();
        TakeThumbnail(position, video.string(), scratch / "picture.png");
        EXPECT_EQ(ReadFile(scratch / "picture.png"), "a picture of an earlier call") << video << " at " << position;
        EXPECT_NE(LastFailure().find(reason), std::string::npos) << LastFailure();
    }
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    std::filesystem::copy_file(*clips / "clip.avi", scratch / "clip.avi");
    TakeThumbnail("0", (scratch / "clip.avi").string(), scratch / "clip.avi");
    EXPECT_EQ(ReadFile(scratch / "clip.avi"), ReadFile(*clips / "clip.avi"));
}

TEST_F(MediaToolsTest, JoinedClipsLastAsLongAsAllOfThemInEveryFormatWhateverTheirFormOrNothingRuns)
{
    // Clips of different sizes, rates and sample rates, one without sound.
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f", "lavfi", "-i",
                           "sine=r=44100", "-t", "2", (scratch / "a.avi").string()}) &&
                RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x90:rate=15", "-f", "lavfi", "-i", "sine=r=22050",
                           "-t", "3", (scratch / "b.mp4").string()}) &&
                RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=176x144:rate=30", "-t", "1.5", (scratch / "c.mpg").string()}));
    const std::vector<std::string> parts{(scratch / "a.avi").string(), (scratch / "b.mp4").string(),
                                         (scratch / "c.mpg").string()};
    for (const char* extension : {".avi", ".mpg", ".flv", ".m4v", ".mp4", ".mov"}) {
        const auto joined = scratch / (std::string("joined") + extension);
        ClearFailure();
        JoinAndConvert(LumetraRequest("", joined), parts);
        EXPECT_EQ(LastFailure(), "") << extension;
        EXPECT_NEAR(DurationSeconds(joined), 6.5, 0.5) << extension;
    }

    const auto fake = FakeTool(scratch.path(), "ffmpeg", "echo \"$*\" >> \"$TMPDIR/encoder-ran\"");
    WriteFile(scratch / "out.avi", "stale");
    const auto a = (scratch / "a.avi").string();
    JoinAndConvert(LumetraRequest("", scratch / "out.avi"), {});
    JoinAndConvert(LumetraRequest("", scratch / "out.avi"), {a, (scratch / "missing").string()});
    JoinAndConvert(LumetraRequest("", scratch / "a.avi"), {a});   // the output is a part
    EXPECT_EQ(ReadFile(scratch / "encoder-ran").find("-filter_complex"), std::string::npos);   // no join ran
    EXPECT_EQ(ReadFile(scratch / "out.avi"), "stale");   // an earlier output stays when nothing replaces it
}

TEST_F(MediaToolsTest, DvdAuthoredTwiceGivesOneTitleSetWhereTheAuthoringToolReadsTheDestAndNeedsTheTool)
{
    ASSERT_TRUE(MakeMpegClip(scratch / "a.mpg", 1, true) && MakeMpegClip(scratch / "b.mpg", 0.5, true));
    const std::string titles = "><vmgm /><titleset><titles><pgc><vob file=\"" + (scratch / "a.mpg").string() +
                               "\" /><vob file=\"" + (scratch / "b.mpg").string() +
                               "\" /></pgc></titles></titleset></dvdauthor>";
    const auto disc = scratch / "disc";
    std::filesystem::create_directories(disc);
    WriteFile(disc / "notes.txt", "the user's own file");
    WriteFile(scratch / "disc.xml", "<dvdauthor dest=\"" + disc.string() + "\"" + titles);
    CAVI author(LumetraRequest(scratch / "disc.xml", {}));
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(author.RunDvdAuthor(), 1);
        EXPECT_TRUE(std::filesystem::is_regular_file(disc / "VIDEO_TS" / "VIDEO_TS.IFO"));
        EXPECT_TRUE(std::filesystem::is_directory(disc / "AUDIO_TS"));
        EXPECT_FALSE(std::filesystem::exists(disc / "VIDEO_TS" / "VTS_02_0.IFO")) << "a second title set";
    }
    const auto inputs = std::filesystem::file_size(scratch / "a.mpg") + std::filesystem::file_size(scratch / "b.mpg");
    EXPECT_NEAR(static_cast<double>(std::filesystem::file_size(disc / "VIDEO_TS" / "VTS_01_1.VOB")) /
                    static_cast<double>(inputs), 1.0, 0.1);
    EXPECT_EQ(ReadFile(disc / "notes.txt"), "the user's own file");

    // Dests written in ways a loose reading gets wrong.
    const std::string s = scratch.path().string();
    for (const auto& root : {"<dvdauthor dest='" + s + "/say \"hi\" &amp; &#233;&#x41;'",
                             "<dvdauthor provider=\"dest='/wrong'\"\n  dest = \"" + s + "/right\""}) {
        WriteFile(scratch / "disc.xml", root + titles);
        const auto dest = AuthoringFileDestination(scratch / "disc.xml").folder;
        ASSERT_TRUE(dest) << root;
        EXPECT_EQ(CAVI(LumetraRequest(scratch / "disc.xml", {})).RunDvdAuthor(), 1);
        EXPECT_TRUE(std::filesystem::is_regular_file(*dest / "VIDEO_TS" / "VIDEO_TS.IFO")) << *dest;
    }

    // A run that fails leaves the earlier disc as it was and nothing beside it, and makes no folder.
    const auto earlier = ReadFile(disc / "VIDEO_TS" / "VIDEO_TS.IFO");
    WriteFile(scratch / "broken.xml", "<dvdauthor dest=\"" + disc.string() + "\"><titleset>");
    EXPECT_EQ(CAVI(LumetraRequest(scratch / "broken.xml", {})).RunDvdAuthor(), 1);
    EXPECT_EQ(ReadFile(disc / "VIDEO_TS" / "VIDEO_TS.IFO"), earlier);
    const auto entries = [](const std::filesystem::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
        return names;
    };
    EXPECT_EQ(entries(disc), (std::set<std::string>{"AUDIO_TS", "VIDEO_TS", "notes.txt"}));
    WriteFile(scratch / "broken.xml", "<dvdauthor dest=\"" + (scratch / "fresh").string() + "\"><titleset>");
    EXPECT_EQ(CAVI(LumetraRequest(scratch / "broken.xml", {})).RunDvdAuthor(), 1);
    EXPECT_FALSE(std::filesystem::exists(scratch / "fresh"));
    // A link in VIDEO_TS's place is replaced itself; what it points to stays.
    std::filesystem::rename(disc / "VIDEO_TS", scratch / "elsewhere");
    std::filesystem::create_directory_symlink(scratch / "elsewhere", disc / "VIDEO_TS");
    WriteFile(scratch / "disc.xml", "<dvdauthor dest=\"" + disc.string() + "\"" + titles);
    EXPECT_EQ(author.RunDvdAuthor(), 1);
    EXPECT_FALSE(std::filesystem::is_symlink(disc / "VIDEO_TS"));
    EXPECT_TRUE(std::filesystem::is_regular_file(disc / "VIDEO_TS" / "VIDEO_TS.IFO"));
    EXPECT_EQ(ReadFile(scratch / "elsewhere" / "VIDEO_TS.IFO"), earlier);

    // Without the authoring tool the earlier disc stays, and the user is told why.
    const ScopedEnvironment nothing("PATH", (scratch / "nothing-here").string());
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(author.RunDvdAuthor(), 1);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("dvdauthor was not found"), std::string::npos);
    EXPECT_EQ(ReadFile(disc / "VIDEO_TS" / "VIDEO_TS.IFO"), earlier);
}

TEST_F(MediaToolsTest, Mp3ToWavAndBackKeepsThePlayLengthAndTheBitRateAndTheWavCheckNamesWhatIsWrong)
{
    const double original = DurationSeconds(*clips / "tone.mp3");
    ASSERT_GT(original, 1.9);
    EXPECT_EQ(Audio::CMp3Audio(LumetraRequest(*clips / "tone.mp3", scratch / "tone.wav")).Convert(), 0);
    EXPECT_NEAR(DurationSeconds(scratch / "tone.wav"), original, 0.1);
    auto request = LumetraRequest(scratch / "tone.wav", scratch / "again.mp3");
    request.nAudioBitRate = 96;
    EXPECT_EQ(Audio::CWaveAudio(request).Convert(), 0);
    EXPECT_NEAR(DurationSeconds(scratch / "again.mp3"), original, 0.1);
    EXPECT_NE(DescribeWithFfmpeg(scratch / "again.mp3").find("96 kb/s"), std::string::npos);

    WriteFile(scratch / "notes.txt", "just some text, long enough to fill a header of forty-four bytes");
    WriteFile(scratch / "riff only", "RIFF");
    for (const auto& [file, result] : std::vector<std::pair<std::filesystem::path, int>>{
             {scratch / "tone.wav", 0}, {scratch / "notes.txt", 6001}, {scratch / "riff only", 6002},
             {*clips / "clip.avi", 6002}, {scratch / "absent.wav", 6100}, {scratch.path(), 6100}})
        EXPECT_EQ(Audio::CWaveAudio(LumetraRequest(file, {})).Prepare(), result) << file;
}

TEST(AuthoringDestinationTest, IsTheDestOfTheRootElementAsTheAuthoringToolReadsItAndClearedBeforeAuthoring)
{
    for (const auto& [xml, dest] : std::vector<std::pair<std::string, std::optional<std::filesystem::path>>>{
             {"<?xml version=\"1.0\"?>\n<dvdauthor\n  jumppad='yes' note=\"a > b\"\n"
              "  dest = '/o/it&apos;s &quot;x&quot; &lt;&amp;&gt; &#233;&#xe9;&amp;lt;'>",
              "/o/it's \"x\" <&> éé&lt;"},
             // a bad character reference stays as it was written
             {"<dvdauthor dest=\"/a&#xzz;&#99999999999;b\">", "/a&#xzz;&#99999999999;b"},
             // written tabs and line ends are blanks, as the XML reader takes them; references keep them
             {"<dvdauthor dest=\"/a\tb\r\nc\nd&#9;&#10;\">", "/a b c d\t\n"},
             {"", std::nullopt},
             {"<dvdauthor><vmgm /></dvdauthor>", std::nullopt},
             {"<dvdauthorx dest=\"/wrong\"><vmgm /></dvdauthorx>", std::nullopt},
             {"<dvdauthor dest=\"\">", std::nullopt},
             {"<dvdauthor dest=\"/unclosed>", std::nullopt},
             {"<dvdauthor><vob dest=\"/inner\" /></dvdauthor>", std::nullopt}})
        EXPECT_EQ(AuthoringDestination(xml).folder, dest) << xml;

    // Text XML cannot carry is no dest, and the reason says what it holds: the authoring tool
    // would refuse the description, and nothing may be removed in a folder it never meant.
    for (const auto& [dest, why] : std::vector<std::pair<std::string, std::string>>{
             {"/dvd/&#xD800;", "it refers to half of a UTF-16 pair (U+D800), which is no character"},
             {"/dvd/&#0;&#1;", "it refers to a control character (U+0000)"},
             {"/dvd/&#xFFFF;", "it refers to U+FFFF, which is no character"},
             {"/dvd/\x7f", "it holds a control character (U+007F)"},
             {"/dvd/\xc2\x85", "it holds a control character (U+0085)"},
             {"/dvd/\xff", "it holds bytes that are not UTF-8 text"},
             {"/dvd/\xed\xa0\x80", "it holds bytes that are not UTF-8 text"},   // an encoded surrogate
             {"/dvd/\xc0\xaf", "it holds bytes that are not UTF-8 text"},       // an overlong '/'
             {"/dvd/\xe2\x82", "it holds bytes that are not UTF-8 text"}}) {     // cut short
        const auto read = AuthoringDestination("<dvdauthor dest=\"" + dest + "\">");
        EXPECT_FALSE(read.folder) << dest;
        EXPECT_EQ(read.whyNone, "names a dest folder that XML cannot carry: " + why) << dest;
    }
    EXPECT_EQ(AuthoringDestination("<dvdauthor dest=\"/dvd/\xe2\x82\xac&#x1F600;\">").folder, "/dvd/€😀");

    // An authoring file that is a named pipe is refused at once, not waited on.
    ScratchFolder scratch;
    ASSERT_EQ(::mkfifo((scratch / "pipe.xml").c_str(), 0600), 0);
    ::alarm(60);
    EXPECT_EQ(AuthoringFileDestination(scratch / "pipe.xml").whyNone, "cannot be read");
    ::alarm(0);
}

}  // namespace
}  // namespace MediaLibrary::Video
