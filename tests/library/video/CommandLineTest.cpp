#include "RecordText.h"
#include "video/Video.h"

#include <gtest/gtest.h>

namespace MediaLibrary::Video {
namespace {

using Header::MEDIACONVERSIONINFO;

MEDIACONVERSIONINFO Request(int audioBitRate, int channels, int sampleRate, int videoBitRate, int width,
                            int height, int frameRate, int format = 0)
{
    MEDIACONVERSIONINFO request;
    SetFieldText(request.szSourceFile, "/media/in put.avi");
    SetFieldText(request.szOutputFile, "/media/out.mp4");
    request.nAudioBitRate = audioBitRate;
    request.nAudioChannels = channels;
    request.nSampleRate = sampleRate;
    request.nVideoBitRate = videoBitRate;
    request.nWidth = width;
    request.nHeight = height;
    request.nFrameRate = frameRate;
    request.nOutputFormat = format;
    return request;
}

TEST(ArgumentStringTest, FullRequestGivesEveryOptionInTheDesignedOrder)
{
    const CAVI converter(Request(128, 2, 44100, 800, 352, 288, 25));
    EXPECT_EQ(converter.GetVideoCommand().Text(),
              "-i \"/media/in put.avi\" -ab 128k -ac 2 -ar 44100 -b 800k -r 25 -s 352x288 \"/media/out.mp4\"");
    EXPECT_EQ(converter.GetDvdCommand().Text(),
              "-i \"/media/in put.avi\" -ab 128k -ac 2 -ar 44100 -acodec mp2 -b 800k -r 25 -s 352x288"
              " -target pal-dvd -aspect 4:3 \"/media/out.mp4\"");
    EXPECT_EQ(converter.GetAudioCommand().Text(), "-i \"/media/in put.avi\" -ab 128k -ac 2 -ar 44100 \"/media/out.mp4\"");
}

TEST(ArgumentStringTest, EmptyRequestGivesOnlyTheTwoQuotedPaths)
{
    const CAVI converter(Request(0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(converter.GetVideoCommand().Text(), "-i \"/media/in put.avi\" \"/media/out.mp4\"");
    EXPECT_EQ(converter.GetAudioCommand().Text(), "-i \"/media/in put.avi\" \"/media/out.mp4\"");
    EXPECT_EQ(converter.GetDvdCommand().Text(),
              "-i \"/media/in put.avi\" -acodec mp2 -target pal-dvd -aspect 4:3 \"/media/out.mp4\"");
}

TEST(ArgumentStringTest, SizeNeedsBothSidesAndNegativeValuesCountAsNotGiven)
{
    EXPECT_EQ(CAVI(Request(0, 0, 0, 0, 720, 0, 0)).GetVideoCommand().Text(),
              "-i \"/media/in put.avi\" \"/media/out.mp4\"");
    EXPECT_EQ(CAVI(Request(0, 0, 0, 0, 0, 576, 0)).GetVideoCommand().Text(),
              "-i \"/media/in put.avi\" \"/media/out.mp4\"");
    EXPECT_EQ(CAVI(Request(-128, -2, -1, -800, -720, -576, -25)).GetVideoCommand().Text(),
              "-i \"/media/in put.avi\" \"/media/out.mp4\"");
    EXPECT_EQ(CAVI(Request(0, 1, 0, 0, 720, 576, 0)).GetVideoCommand().Text(),
              "-i \"/media/in put.avi\" -ac 1 -s 720x576 \"/media/out.mp4\"");
}

TEST(ArgumentStringTest, ArgumentsCarryPathsWholeWhateverTheyHoldAndNothingMore)
{
    MEDIACONVERSIONINFO request = Request(96, 0, 0, 0, 0, 0, 0);
    SetFieldText(request.szSourceFile, "a \"b\" $(touch x); rm -f y.avi");
    SetFieldText(request.szOutputFile, "clip\nwith newline.mp4");
    const auto command = CAVI(request).GetVideoCommand();
    EXPECT_EQ(command.Text(), "-i \"a \"b\" $(touch x); rm -f y.avi\" -ab 96k \"clip\nwith newline.mp4\"");
    EXPECT_EQ(command.Arguments(),
              (std::vector<std::string>{"-i", "a \"b\" $(touch x); rm -f y.avi", "-ab", "96k", "clip\nwith newline.mp4"}));
}

// Records what the converter would run instead of running it.
class RecordingConverter : public CAVI {
public:
    using CAVI::CAVI;
    int RunCommand(CommandLine command, bool prefixWithEncoder, const velmora::platform::SpawnOptions&) override
    {
        ran.push_back(command.Text());
        prefixed = prefixWithEncoder;
        return 6101;
    }
    std::vector<std::string> ran;
    bool prefixed = false;
};

TEST(ArgumentStringTest, ConvertChoosesTheDvdCommandOnlyForCodeEleven)
{
    for (int format : {0, 3, 4, 5, 6, 7, 8, 10}) {
        RecordingConverter converter(Request(0, 0, 0, 0, 0, 0, 0, format));
        EXPECT_EQ(converter.Convert(), 0) << format;   // a failed start is not reported
        ASSERT_EQ(converter.ran.size(), 1u);
        EXPECT_EQ(converter.ran[0], "-i \"/media/in put.avi\" \"/media/out.mp4\"") << format;
        EXPECT_TRUE(converter.prefixed);
    }
    RecordingConverter dvd(Request(0, 0, 0, 0, 0, 0, 0, 11));
    dvd.Convert();
    EXPECT_EQ(dvd.ran.at(0), "-i \"/media/in put.avi\" -acodec mp2 -target pal-dvd -aspect 4:3 \"/media/out.mp4\"");
}

TEST(RecordTextTest, RefusesUnterminatedFieldsAndPathsTooLongToStore)
{
    MEDIACONVERSIONINFO request;
    EXPECT_EQ(FieldText(request.szSourceFile), "");
    std::memset(request.szSourceFile, 'a', sizeof request.szSourceFile);
    EXPECT_FALSE(FieldText(request.szSourceFile));

    EXPECT_TRUE(SetFieldText(request.szOutputFile, std::string(259, 'b')));
    EXPECT_EQ(FieldText(request.szOutputFile)->size(), 259u);
    EXPECT_FALSE(SetFieldText(request.szOutputFile, std::string(260, 'c')));
    EXPECT_EQ(FieldText(request.szOutputFile), "");
}

TEST(RecordTest, ConstructorZeroesAndAssignmentCopiesEveryByte)
{
    alignas(MEDIACONVERSIONINFO) unsigned char storage[sizeof(MEDIACONVERSIONINFO)];
    std::memset(storage, 0xAB, sizeof storage);
    auto* record = new (storage) MEDIACONVERSIONINFO;
    EXPECT_EQ(std::count(storage, storage + sizeof storage, 0), static_cast<long>(sizeof storage));

    MEDIACONVERSIONINFO source = Request(1, 2, 3, 4, 5, 6, 7, 8);
    *record = source;
    EXPECT_EQ(std::memcmp(record, &source, sizeof source), 0);

    Header::CD_TEXT_INFO track;
    track.nTrackNo = 3;
    Header::CD_TEXT_INFO copy;
    copy = track;
    EXPECT_EQ(std::memcmp(&copy, &track, sizeof track), 0);
    EXPECT_EQ(sizeof(Header::CD_TEXT_INFO), 456u);
}

}  // namespace
}  // namespace MediaLibrary::Video
