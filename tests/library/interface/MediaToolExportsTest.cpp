#include "FakeTool.h"
#include "LumetraLibrary.h"
#include "Media.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using MediaLibrary::Header::MEDIACONVERSIONINFO;
using velmora::test::ReadFile;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

// The folder names and authoring text of the front end's DVD job.
constexpr const char* kWorkFolder = "06759715-1134-4d2b-B902-58192E53501F";
constexpr const char* kAuthoringFile = "velmora_convert.xml";

// Names that a shell would take apart; none of them may change what runs.
const std::vector<std::string> kHostileNames{"a \"b\" $(touch pwned); rm -f y", "`touch pwned2`;x", "ünï cödé — ü"};

class MediaToolExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        library = new velmora::test::LumetraLibrary(LUMETRA_LIBRARY);
        clips = new ScratchFolder;
        ASSERT_TRUE(velmora::test::MakeClip(*clips / "clip.avi", 1));
        ASSERT_TRUE(MakeMpegClip(*clips / "one.mpg", 1));
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100", "-t", "2", "-ac", "2",
                                              (*clips / "tone.mp3").string()}));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    static bool MakeMpegClip(const std::filesystem::path& file, double seconds)
    {
        return velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25", "-f", "lavfi", "-i",
                                         "sine", "-t", std::to_string(seconds), "-c:v", "mpeg1video", "-c:a", "mp2",
                                         file.string()});
    }

    static MEDIACONVERSIONINFO Request(const std::filesystem::path& source, const std::filesystem::path& output)
    {
        MEDIACONVERSIONINFO request;
        std::strncpy(request.szSourceFile, source.c_str(), sizeof request.szSourceFile - 1);
        std::strncpy(request.szOutputFile, output.c_str(), sizeof request.szOutputFile - 1);
        return request;
    }

    // The play length the library itself reports, in seconds; -1 without one.
    static double Seconds(const std::filesystem::path& file)
    {
        char length[20] = "";
        library->Bind<Lumetra::GetPlayLengthFn>("GetPlayLength")(file.c_str(), length);
        int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
        if (std::sscanf(length, "%d:%d:%d.%d", &hours, &minutes, &seconds, &hundredths) != 4) return -1;
        return hours * 3600 + minutes * 60 + seconds + hundredths / 100.0;
    }

    static void Thumbnail(const std::string& position, const std::filesystem::path& video,
                          const std::filesystem::path& picture)
    {
        EXPECT_EQ(library->Bind<Lumetra::ThumbnailFn>("GeTThumbNailForVideoFile")(position.c_str(), video.c_str(),
                                                                                  picture.c_str()),
                  1);
    }

    static int Join(const MEDIACONVERSIONINFO& request, const std::vector<std::filesystem::path>& files)
    {
        std::vector<const char*> paths;
        for (const auto& file : files) paths.push_back(file.c_str());
        return library->Bind<Lumetra::JoinFn>("Convert_Join_To_Single")(request, paths.data(),
                                                                         static_cast<unsigned>(paths.size()));
    }

    // Converts the videos as the DVD job does and writes its authoring file; returns its path.
    // The job writes paths as they are; one that holds a quote has to be written escaped.
    static std::filesystem::path PrepareDvd(const std::filesystem::path& output,
                                            const std::vector<std::filesystem::path>& videos,
                                            bool escapeQuotes = false)
    {
        const auto written = [escapeQuotes](const std::filesystem::path& path) {
            std::string text = path.string();
            for (auto at = text.find('"'); escapeQuotes && at != std::string::npos; at = text.find('"', at))
                text.replace(at, 1, "&quot;");
            return text;
        };
        const auto work = output / kWorkFolder;
        std::filesystem::create_directories(work);
        std::string text = "<dvdauthor dest=\"" + written(output) + "\" >";
        text += "<vmgm /><titleset><titles><pgc>";
        for (const auto& video : videos) {
            const auto mpeg = work / (video.stem().string() + ".mpg");
            library->Bind<Lumetra::ConvertFn>("Convert_Video_TO_DVD")(Request(video, mpeg));
            text += "<vob file=\"" + written(mpeg) + "\" />";
        }
        text += "</pgc></titles></titleset></dvdauthor>";
        WriteFile(work / kAuthoringFile, text);
        return work / kAuthoringFile;
    }

    static int GenerateDvd(const std::filesystem::path& xml)
    {
        return library->Bind<Lumetra::GenerateDvdFilesFn>("GenerateDVDFiles")(xml.c_str());
    }

    static std::vector<std::string> TitleSetFiles(const std::filesystem::path& output)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(output / "VIDEO_TS"))
            if (entry.path().filename().string().starts_with("VTS_")) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Puts a stand-in encoder first on PATH that keeps a copy of its input and records its words.
    void UseRecordingEncoder()
    {
        std::filesystem::create_directories(scratch / "bin");
        velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg",
                                     "printf '%s\\n' \"$*\" >> \"$TMPDIR/encoder-ran\"\n"
                                     "cp -- \"$2\" \"$TMPDIR/encoder-input\"");
        path.emplace("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");
    }

    static inline velmora::test::LumetraLibrary* library = nullptr;
    static inline ScratchFolder* clips = nullptr;
    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    std::optional<ScopedEnvironment> path;
};

// Width and height from the PNG signature and header chunk; none when it is no PNG.
std::optional<std::pair<int, int>> PngSize(const std::filesystem::path& file)
{
    const auto bytes = ReadFile(file);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return std::nullopt;
    const auto number = [&](std::size_t at) {
        return static_cast<int>(static_cast<unsigned char>(bytes[at]) << 24 | static_cast<unsigned char>(bytes[at + 1]) << 16 |
                                static_cast<unsigned char>(bytes[at + 2]) << 8 | static_cast<unsigned char>(bytes[at + 3]));
    };
    return std::pair{number(16), number(20)};
}

// Bytes of the picture decoded to 24-bit RGB: a real, whole picture of w x h gives w * h * 3.
std::uintmax_t DecodedBytes(const std::filesystem::path& picture, const std::filesystem::path& scratch)
{
    const auto raw = scratch / "decoded.rgb";
    if (!velmora::test::RunFfmpeg({"-i", picture.string(), "-f", "rawvideo", "-pix_fmt", "rgb24", raw.string()}))
        return 0;
    return std::filesystem::file_size(raw);
}

TEST_F(MediaToolExportsTest, ThumbnailIsAPngOfHalfTheVideosSize)
{
    Thumbnail("0.5", *clips / "clip.avi", scratch / "half.png");
    EXPECT_EQ(PngSize(scratch / "half.png"), std::pair(160, 120));
    EXPECT_EQ(DecodedBytes(scratch / "half.png", scratch.path()), 160u * 120u * 3u);

    ASSERT_TRUE(velmora::test::MakeClip(scratch / "odd.avi", 0.2, 721, 577));
    Thumbnail("0", scratch / "odd.avi", scratch / "odd.png");
    EXPECT_EQ(PngSize(scratch / "odd.png"), std::pair(360, 288));
    EXPECT_EQ(DecodedBytes(scratch / "odd.png", scratch.path()), 360u * 288u * 3u);
}

TEST_F(MediaToolExportsTest, NoFrameMeansNoPictureFileAtAll)
{
    ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine", "-t", "0.5", (scratch / "tone.wav").string()}));
    for (const auto& [position, video] : std::vector<std::pair<std::string, std::filesystem::path>>{
             {"30", *clips / "clip.avi"},            // past the end
             {"0", scratch / "tone.wav"},            // nothing to see
             {"0", scratch / "absent.avi"}}) {
        WriteFile(scratch / "picture.png", "a picture of an earlier call");
        Thumbnail(position, video, scratch / "picture.png");
        EXPECT_FALSE(std::filesystem::exists(scratch / "picture.png")) << video << " at " << position;
    }
    std::filesystem::copy_file(*clips / "clip.avi", scratch / "clip.avi");
    Thumbnail("0", scratch / "clip.avi", scratch / "clip.avi");
    EXPECT_EQ(ReadFile(scratch / "clip.avi"), ReadFile(*clips / "clip.avi"));
}

TEST_F(MediaToolExportsTest, ANegativePositionGivesTheFirstFrame)
{
    Thumbnail("0", *clips / "clip.avi", scratch / "first.png");
    Thumbnail("-3", *clips / "clip.avi", scratch / "negative.png");
    Thumbnail("0.8", *clips / "clip.avi", scratch / "later.png");
    ASSERT_TRUE(PngSize(scratch / "first.png"));
    EXPECT_EQ(ReadFile(scratch / "negative.png"), ReadFile(scratch / "first.png"));
    EXPECT_NE(ReadFile(scratch / "later.png"), ReadFile(scratch / "first.png"));
}

TEST_F(MediaToolExportsTest, JoinedClipsConvertIntoOneFileAsLongAsAllOfThem)
{
    ASSERT_TRUE(MakeMpegClip(scratch / "two.mpg", 2));
    ASSERT_TRUE(MakeMpegClip(scratch / "three.mpg", 1.5));
    const auto request = Request(scratch / "joined.mpg", scratch / "all.mp4");

    EXPECT_EQ(Join(request, {*clips / "one.mpg", scratch / "two.mpg", scratch / "three.mpg"}), 0);
    EXPECT_NEAR(Seconds(scratch / "all.mp4"), 4.5, 0.25);
    EXPECT_FALSE(std::filesystem::exists(scratch / "joined.mpg"));
}

TEST_F(MediaToolExportsTest, TheEncoderReadsTheExactConcatenationOfTheList)
{
    UseRecordingEncoder();
    WriteFile(scratch / "a", std::string("A\0a", 3));
    WriteFile(scratch / "b", "\xff\xfe b");
    WriteFile(scratch / "c", "c\r\n");
    auto request = Request(scratch / "joined", scratch / "out.avi");

    Join(request, {scratch / "c", scratch / "a", scratch / "b", scratch / "a"});
    EXPECT_EQ(ReadFile(scratch / "encoder-input"), std::string("c\r\nA\0a\xff\xfe bA\0a", 13));
    EXPECT_FALSE(std::filesystem::exists(scratch / "joined"));

    const auto clip = ReadFile(*clips / "one.mpg");
    Join(request, {*clips / "one.mpg"});
    EXPECT_EQ(ReadFile(scratch / "encoder-input"), clip);

    request.nOutputFormat = MediaLibrary::Header::kFormatDvd;
    Join(request, {scratch / "a"});
    const auto words = ReadFile(scratch / "encoder-ran");
    EXPECT_NE(words.find("-acodec mp2 -target pal-dvd -aspect 4:3 " + (scratch / "out.avi").string()),
              std::string::npos) << words;
}

TEST_F(MediaToolExportsTest, AJoinThatCannotBeMadeRunsNothingAndLeavesNoOutput)
{
    UseRecordingEncoder();
    WriteFile(scratch / "a", "part a");
    WriteFile(scratch / "someones file", "not to be converted or deleted");

    WriteFile(scratch / "out.avi", "stale");
    Join(Request(scratch / "someones file", scratch / "out.avi"), {});
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.avi"));
    EXPECT_EQ(ReadFile(scratch / "someones file"), "not to be converted or deleted");

    Join(Request(scratch / "joined", scratch / "out.avi"), {scratch / "a", scratch / "missing"});
    EXPECT_FALSE(std::filesystem::exists(scratch / "joined"));

    Join(Request(scratch / "a", scratch / "out.avi"), {scratch / "a"});
    Join(Request(scratch / "joined", scratch / "a"), {scratch / "a"});
    EXPECT_EQ(ReadFile(scratch / "a"), "part a");

    const MEDIACONVERSIONINFO request = Request(scratch / "joined", scratch / "out.avi");
    const auto a = scratch / "a";
    const char* withAHole[] = {a.c_str(), nullptr};
    library->Bind<Lumetra::JoinFn>("Convert_Join_To_Single")(request, withAHole, 2);
    library->Bind<Lumetra::JoinFn>("Convert_Join_To_Single")(request, nullptr, 3);

    EXPECT_FALSE(std::filesystem::exists(scratch / "out.avi"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "encoder-ran"));
}

TEST_F(MediaToolExportsTest, DvdAuthoredFromTheJobsXmlAndAgainGivesOneTitleSet)
{
    const auto output = scratch / "disc";
    std::filesystem::create_directories(output);
    WriteFile(output / "notes.txt", "the user's own file");
    const auto xml = PrepareDvd(output, {*clips / "clip.avi", *clips / "one.mpg"});
    const auto work = output / kWorkFolder;
    const auto inputBytes = std::filesystem::file_size(work / "clip.mpg") + std::filesystem::file_size(work / "one.mpg");

    EXPECT_EQ(GenerateDvd(xml), 1);
    ASSERT_TRUE(std::filesystem::is_regular_file(output / "VIDEO_TS" / "VIDEO_TS.IFO"));
    EXPECT_TRUE(std::filesystem::is_directory(output / "AUDIO_TS"));
    EXPECT_EQ(TitleSetFiles(output), (std::vector<std::string>{"VTS_01_0.BUP", "VTS_01_0.IFO", "VTS_01_1.VOB"}));
    const auto vob = static_cast<double>(std::filesystem::file_size(output / "VIDEO_TS" / "VTS_01_1.VOB"));
    EXPECT_NEAR(vob / static_cast<double>(inputBytes), 1.0, 0.1);

    EXPECT_EQ(GenerateDvd(xml), 1);
    EXPECT_EQ(TitleSetFiles(output), (std::vector<std::string>{"VTS_01_0.BUP", "VTS_01_0.IFO", "VTS_01_1.VOB"}));
    EXPECT_EQ(ReadFile(output / "notes.txt"), "the user's own file");
}

TEST_F(MediaToolExportsTest, WithoutTheAuthoringToolTheEarlierDiscStays)
{
    std::filesystem::create_directories(scratch / "disc" / "VIDEO_TS");
    WriteFile(scratch / "disc" / "VIDEO_TS" / "VIDEO_TS.IFO", "last time's disc");
    WriteFile(scratch / "disc.xml", "<dvdauthor dest=\"" + (scratch / "disc").string() + "\" ><vmgm /></dvdauthor>");
    ScopedEnvironment nothing("PATH", (scratch / "nothing-here").string());

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(GenerateDvd(scratch / "disc.xml"), 1);
    EXPECT_EQ(library->Bind<Lumetra::GenerateDvdFilesFn>("GenerateDVDFiles")(nullptr), 1);
    const auto said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("dvdauthor was not found"), std::string::npos) << said;
    EXPECT_EQ(ReadFile(scratch / "disc" / "VIDEO_TS" / "VIDEO_TS.IFO"), "last time's disc");
}

TEST_F(MediaToolExportsTest, Mp3ToWavAndBackKeepsThePlayLength)
{
    const double original = Seconds(*clips / "tone.mp3");
    ASSERT_GT(original, 1.9);
    WriteFile(scratch / "tone.wav", "stale");
    EXPECT_EQ(library->Bind<Lumetra::ConvertFn>("Convert_MP3_TO_WAV")(Request(*clips / "tone.mp3", scratch / "tone.wav")), 0);
    EXPECT_EQ(ReadFile(scratch / "tone.wav").substr(8, 4), "WAVE");
    EXPECT_NEAR(Seconds(scratch / "tone.wav"), original, 0.1);

    auto request = Request(scratch / "tone.wav", scratch / "again.mp3");
    request.nAudioBitRate = 96;
    EXPECT_EQ(library->Bind<Lumetra::ConvertFn>("Convert_Wav_TO_MP3")(request), 0);
    EXPECT_NEAR(Seconds(scratch / "again.mp3"), original, 0.1);
    EXPECT_NE(velmora::test::DescribeWithFfmpeg(scratch / "again.mp3").find("96 kb/s"), std::string::npos);
}

TEST_F(MediaToolExportsTest, WavToMp3ConvertsWhatThePlainWavCheckRefusesAndSaysSo)
{
    ::testing::internal::CaptureStderr();
    library->Bind<Lumetra::ConvertFn>("Convert_Wav_TO_MP3")(Request(*clips / "tone.mp3", scratch / "copy.mp3"));
    const auto said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("is not a plain WAV file (6001)"), std::string::npos) << said;
    EXPECT_GT(Seconds(scratch / "copy.mp3"), 1.9);
}

TEST_F(MediaToolExportsTest, AudioConversionsDeleteStaleOutputAndNeverTheSource)
{
    WriteFile(scratch / "junk.mp3", "not audio");
    WriteFile(scratch / "out.wav", "stale");
    library->Bind<Lumetra::ConvertFn>("Convert_MP3_TO_WAV")(Request(scratch / "junk.mp3", scratch / "out.wav"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.wav"));

    std::filesystem::copy_file(*clips / "tone.mp3", scratch / "tone.mp3");
    std::filesystem::create_symlink(scratch / "tone.mp3", scratch / "same.mp3");
    library->Bind<Lumetra::ConvertFn>("Convert_MP3_TO_WAV")(Request(scratch / "tone.mp3", scratch / "tone.mp3"));
    library->Bind<Lumetra::ConvertFn>("Convert_Wav_TO_MP3")(Request(scratch / "tone.mp3", scratch / "same.mp3"));
    EXPECT_EQ(ReadFile(scratch / "tone.mp3"), ReadFile(*clips / "tone.mp3"));
}

TEST_F(MediaToolExportsTest, HostilePathsWorkInEveryExportAndRunNothingElse)
{
    WriteFile(scratch / "y", "must survive");
    std::vector<std::filesystem::path> clipsCopied;
    for (const auto& name : kHostileNames) {
        const auto folder = scratch / (name + " folder");
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(*clips / "one.mpg", folder / (name + ".mpg"));
        clipsCopied.push_back(folder / (name + ".mpg"));

        Thumbnail("0", folder / (name + ".mpg"), folder / (name + ".png"));
        EXPECT_EQ(PngSize(folder / (name + ".png")), std::pair(80, 60)) << name;

        library->Bind<Lumetra::ConvertFn>("Convert_MP3_TO_WAV")(Request(*clips / "tone.mp3", folder / (name + ".wav")));
        library->Bind<Lumetra::ConvertFn>("Convert_Wav_TO_MP3")(Request(folder / (name + ".wav"), folder / (name + ".mp3")));
        EXPECT_GT(Seconds(folder / (name + ".mp3")), 1.9) << name;
    }
    const auto joinedOutput = scratch / (kHostileNames[0] + " all.mp4");
    Join(Request(scratch / (kHostileNames[2] + " joined.mpg"), joinedOutput), clipsCopied);
    EXPECT_NEAR(Seconds(joinedOutput), 3.0, 0.25);

    const auto disc = scratch / "$(touch pwned3) `x` ü \"disc\"";
    std::filesystem::create_directories(disc);
    const auto xml = PrepareDvd(disc, {clipsCopied[0], clipsCopied[2]}, true);
    GenerateDvd(xml);
    GenerateDvd(xml);
    EXPECT_TRUE(std::filesystem::is_regular_file(disc / "VIDEO_TS" / "VIDEO_TS.IFO"));
    EXPECT_EQ(TitleSetFiles(disc).size(), 3u);

    for (const char* planted : {"pwned", "pwned2", "pwned3"}) {
        EXPECT_FALSE(std::filesystem::exists(scratch / planted)) << planted;
        EXPECT_FALSE(std::filesystem::exists(planted)) << planted;
    }
    EXPECT_EQ(ReadFile(scratch / "y"), "must survive");
}

TEST_F(MediaToolExportsTest, EveryNewExportIsBoundByItsExactName)
{
    for (const char* name : {"GeTThumbNailForVideoFile", "Convert_Join_To_Single", "GenerateDVDFiles",
                             "Convert_MP3_TO_WAV", "Convert_Wav_TO_MP3"})
        EXPECT_NO_THROW(library->Bind<void (*)()>(name)) << name;
}

}  // namespace
