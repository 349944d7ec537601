#include "Options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumetra::cli {
namespace {

// The parsed words in one line: action, paths, and whatever else is set.
std::string Describe(const Options& options)
{
    static const char* const kActions[] = {"probe",      "convert",    "thumbnail", "join",   "dvd-files", "mp3-to-wav",
                                           "wav-to-mp3", "cd-tracks",  "cd-rip",    "cddb",   "help",      "version"};
    const auto& request = options.request;
    std::ostringstream text;
    text << kActions[static_cast<int>(options.action)] << " in=" << options.input << " src=" << request.szSourceFile
         << " out=" << request.szOutputFile;
    if (request.nOutputFormat) text << " format=" << request.nOutputFormat;
    if (!options.target.empty()) text << " to=" << options.target;
    const std::pair<const char*, int> numbers[] = {{"ab", request.nAudioBitRate}, {"ac", request.nAudioChannels},
                                                   {"ar", request.nSampleRate},   {"vb", request.nVideoBitRate},
                                                   {"fps", request.nFrameRate},   {"w", request.nWidth},
                                                   {"h", request.nHeight}};
    for (const auto& [name, value] : numbers)
        if (value) text << ' ' << name << '=' << value;
    for (const auto& part : options.joinList) text << " part=" << part;
    if (!options.picture.empty()) text << " at=" << options.position << " picture=" << options.picture;
    if (options.drive) text << " drive=" << options.drive;
    if (options.match) text << " match=" << options.match;
    if (options.verbose) text << " verbose";
    return text.str();
}

struct Words {
    std::vector<std::string> words;
    std::string expected;   // the description, or a part of the reason the words are refused
};

class ParseTest : public ::testing::TestWithParam<Words> {};

TEST_P(ParseTest, WordsBecomeTheCommandOrTheReasonTheyDoNot)
{
    const auto& [words, expected] = GetParam();
    const auto parsed = ParseArguments(words);
    if (parsed.options) EXPECT_EQ(Describe(*parsed.options), expected);
    else EXPECT_NE(parsed.error.find(expected), std::string::npos) << "refused: " << parsed.error;
}

const std::string kLong(300, 'a');

INSTANTIATE_TEST_SUITE_P(
    Accepted, ParseTest,
    ::testing::Values(
        Words{{"probe", "a b.avi"}, "probe in=a b.avi src=a b.avi out="},
        Words{{"convert", "--to", "mp4", "--ab", "128", "--ac", "2", "--ar", "44100", "--vb", "800", "--fps", "25",
               "--size", "352x288", "in.avi", "out.mp4"},
              "convert in=in.avi src=in.avi out=out.mp4 to=mp4 ab=128 ac=2 ar=44100 vb=800 fps=25 w=352 h=288"},
        Words{{"convert", "in.avi", "--to", "dvd", "out.mpg"}, "convert in=in.avi src=in.avi out=out.mpg to=dvd"},
        Words{{"thumbnail", "--at", "00:01:05.5", "in.avi", "out.png"},
              "thumbnail in=in.avi src= out= at=00:01:05.5 picture=out.png"},
        Words{{"join", "--to", "dvd", "a.mpg", "b.avi", "/o/out.mpg"},
              "join in=a.mpg src=/o/out.mpg.joined.mpg out=/o/out.mpg format=11 to=dvd part=a.mpg part=b.avi"},
        Words{{"join", "--to", "avi", "/d/.hidden", "out.avi"},
              "join in=/d/.hidden src=out.avi.joined out=out.avi format=3 to=avi part=/d/.hidden"},
        Words{{"dvd-files", "disc.xml"}, "dvd-files in=disc.xml src=disc.xml out="},
        Words{{"wav-to-mp3", "--ab", "64", "a.wav", "b.mp3"}, "wav-to-mp3 in=a.wav src=a.wav out=b.mp3 ab=64"},
        Words{{"cd-tracks", "e:\\"}, "cd-tracks in= src= out= drive=E"},
        Words{{"cd-rip", "D:3", "/m/Track.WAV"}, "cd-rip in=D:3 src=D:3 out=/m/Track.WAV format=1"},
        Words{{"cd-rip", "D:12", "song.mp3"}, "cd-rip in=D:12 src=D:12 out=song.mp3 format=2"},
        Words{{"cddb", "k", "2"}, "cddb in= src= out= drive=K match=2"}, Words{{"--help"}, "help in= src= out="},
        Words{{"--version"}, "version in= src= out="},
        Words{{"-v", "cd-tracks", "d"}, "cd-tracks in= src= out= drive=D verbose"}));

INSTANTIATE_TEST_SUITE_P(
    Refused, ParseTest,
    ::testing::Values(
        Words{{}, "no command given"}, Words{{"transcode", "a", "b"}, "unknown command 'transcode'"},
        Words{{"--version", "probe"}, "unknown command '--version'"}, Words{{"probe"}, "probe takes one file"},
        Words{{"probe", kLong}, "longer than 259 bytes"},
        Words{{"convert", "--to", "wmv", "in.avi", "out.wmv"}, "--to must be one of"},
        Words{{"convert", "--to", "mp4", "--size", "big", "in.avi", "out.mp4"}, "--size takes WIDTHxHEIGHT"},
        Words{{"convert", "--to", "mp4", "--ab", "-5", "in.avi", "out.mp4"}, "--ab takes a whole number"},
        Words{{"convert", "--to", "mp4", "in.avi"}, "convert takes one input and one output file"},
        Words{{"thumbnail", "in.avi"}, "thumbnail takes one video and one picture file"},
        Words{{"thumbnail", "in.avi", "out.png", "--at"}, "--at needs a value"},
        Words{{"thumbnail", "--at", "", "in.avi", "out.png"}, "must not be empty"},
        Words{{"thumbnail", "--size", "2x2", "in.avi", "out.png"}, "unknown option --size for thumbnail"},
        Words{{"join", "--to", "mp4", "only.mpg"}, "join takes one or more input files"},
        Words{{"join", "--to", "mp4", "a.mpg", std::string(250, 'o')}, "no room for the joined file"},
        Words{{"dvd-files", "a.xml", "b.xml"}, "dvd-files takes one authoring file"},
        Words{{"cd-tracks"}, "cd-tracks takes one drive letter"}, Words{{"cd-tracks", "KK"}, "a drive letter, as in D"},
        Words{{"cd-rip", "K:2"}, "cd-rip takes a track"}, Words{{"cd-rip", "K:2", "out.ogg"}, ".wav or .mp3"},
        Words{{"cd-rip", "K2", "out.wav"}, "as in D:3"}, Words{{"cd-rip", "K:1", "/m/.wav"}, ".wav or .mp3"},
        Words{{"cddb", "K", "0"}, "the match number counts from 1"},
        Words{{"cddb", "K", "1", "2"}, "cddb takes one drive letter"}));

}  // namespace
}  // namespace lumetra::cli
