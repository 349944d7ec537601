#include "RecordText.h"
#include "video/Video.h"

#include <gtest/gtest.h>

namespace MediaLibrary::Video {
namespace {

using Header::MEDIACONVERSIONINFO;

MEDIACONVERSIONINFO Request(const std::vector<int>& numbers, int format = 0)
{
    MEDIACONVERSIONINFO request;
    SetFieldText(request.szSourceFile, "/media/in put.avi");
    SetFieldText(request.szOutputFile, "/media/out.mp4");
    std::int32_t* fields[] = {&request.nAudioBitRate, &request.nAudioChannels, &request.nSampleRate,
                              &request.nVideoBitRate, &request.nWidth, &request.nHeight, &request.nFrameRate};
    for (std::size_t at = 0; at < numbers.size(); ++at) *fields[at] = numbers[at];
    request.nOutputFormat = format;
    return request;
}

struct Commands {
    std::vector<int> numbers;   // audio bit rate, channels, sample rate, video bit rate, width, height, frame rate
    const char* video;          // the options between the quoted paths
    const char* audio;
    const char* dvd;
};

TEST(EncoderArgumentsTest, GivenQualityFieldsBecomeOptionsInOrderAndThePathsStayQuoted)
{
    for (const auto& expected : {
             Commands{{128, 2, 44100, 800, 352, 288, 25}, " -ab 128k -ac 2 -ar 44100 -b 800k -r 25 -s 352x288",
                      " -ab 128k -ac 2 -ar 44100", " -ab 128k -ac 2 -ar 44100 -acodec mp2 -b 800k -r 25 -s 352x288"},
             Commands{{}, "", "", " -acodec mp2"},
             // a size needs both sides; zero and negative values count as not given
             Commands{{0, 0, 0, 0, 720}, "", "", " -acodec mp2"},
             Commands{{0, 0, 0, 0, 0, 576}, "", "", " -acodec mp2"},
             Commands{{-128, -2, -1, -800, -720, -576, -25}, "", "", " -acodec mp2"},
             Commands{{0, 1, 0, 0, 720, 576}, " -ac 1 -s 720x576", " -ac 1", " -ac 1 -acodec mp2 -s 720x576"}}) {
        const CAVI converter(Request(expected.numbers));
        const std::string in = "-i \"/media/in put.avi\"", out = " \"/media/out.mp4\"";
        EXPECT_EQ(converter.GetVideoCommand().Text(), in + expected.video + out);
        EXPECT_EQ(converter.GetAudioCommand().Text(), in + expected.audio + out);
        EXPECT_EQ(converter.GetDvdCommand().Text(), in + expected.dvd + " -target pal-dvd -aspect 4:3" + out);
    }
}

// Records what the converter would run instead of running it.
class RecordingConverter : public CAVI {
public:
    using CAVI::CAVI;
    int RunCommand(CommandLine command, bool prefixWithEncoder, const velmora::platform::SpawnOptions&) override
    {
        ran.push_back((prefixWithEncoder ? "encoder " : "") + command.Text());
        return Result::kToolNotStarted;
    }
    std::vector<std::string> ran;
};

TEST(EncoderArgumentsTest, ConvertRunsTheDvdCommandForCodeElevenOnly)
{
    const std::string plain = "encoder -i \"/media/in put.avi\" \"/media/out.mp4\"";
    for (int format : {0, 3, 4, 5, 6, 7, 8, 10, 11}) {
        RecordingConverter converter(Request({}, format));
        EXPECT_EQ(converter.Convert(), 0) << format;   // a failed start is not reported
        EXPECT_EQ(converter.ran, std::vector<std::string>{format == 11 ? "encoder -i \"/media/in put.avi\" -acodec mp2"
                                                                         " -target pal-dvd -aspect 4:3 \"/media/out.mp4\""
                                                                       : plain})
            << format;
    }
}

TEST(RecordTextTest, RefusesUnterminatedFieldsAndTextTooLongToStore)
{
    MEDIACONVERSIONINFO request;
    std::memset(request.szSourceFile, 'a', sizeof request.szSourceFile);
    EXPECT_FALSE(FieldText(request.szSourceFile));
    EXPECT_TRUE(SetFieldText(request.szOutputFile, std::string(259, 'b')) && FieldText(request.szOutputFile)->size() == 259u);
    EXPECT_FALSE(SetFieldText(request.szOutputFile, std::string(260, 'c')));
    EXPECT_EQ(FieldText(request.szOutputFile), "");
}

}  // namespace
}  // namespace MediaLibrary::Video
