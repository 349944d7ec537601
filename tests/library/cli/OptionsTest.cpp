#include "Options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumetra::cli {
namespace {

// The parsed words in one line: action, paths, and whatever else is set.
std::string Describe(const Options& options)
{
    static const char* const kActions[] = {"probe",      "convert",    "thumbnail", "join",   "dvd-files", "mp3-to-wav",
                                           "wav-to-mp3", "cd-tracks",  "cd-rip",    "cddb",   "rip",       "help",
                                           "version"};
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
    if (!options.folder.empty()) text << " folder=" << options.folder;
    if (options.verbose) text << " verbose";
    return text.str();
}

const std::string kLong(300, 'a');

// The words, and the description of what they ask for.
TEST(ParseTest, WordsBecomeTheCommand)
{
    for (const auto& [words, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"probe", "a b.avi"}, "probe in=a b.avi src=a b.avi out="},
             {{"convert", "--to", "mp4", "--ab", "128", "--ac", "2", "--ar", "44100", "--vb", "800", "--fps", "25",
               "--size", "352x288", "in.avi", "out.mp4"},
              "convert in=in.avi src=in.avi out=out.mp4 to=mp4 ab=128 ac=2 ar=44100 vb=800 fps=25 w=352 h=288"},
             {{"convert", "in.avi", "--to", "dvd", "out.mpg"}, "convert in=in.avi src=in.avi out=out.mpg to=dvd"},
             {{"thumbnail", "--at", "00:01:05.5", "in.avi", "out.png"},
              "thumbnail in=in.avi src= out= at=00:01:05.5 picture=out.png"},
             {{"join", "--to", "dvd", "a.mpg", "b.avi", "/o/out.mpg"},
              "join in=a.mpg src= out=/o/out.mpg format=11 to=dvd part=a.mpg part=b.avi"},
             {{"join", "--to", "avi", "/d/.hidden", "out.avi"},
              "join in=/d/.hidden src= out=out.avi format=3 to=avi part=/d/.hidden"},
             {{"wav-to-mp3", "--ab", "64", "a.wav", "b.mp3"}, "wav-to-mp3 in=a.wav src=a.wav out=b.mp3 ab=64"},
             {{"cd-tracks", "e:\\"}, "cd-tracks in= src= out= drive=E"},
             {{"cd-rip", "D:3", "/m/Track.WAV"}, "cd-rip in=D:3 src=D:3 out=/m/Track.WAV format=1"},
             {{"cd-rip", "D:12", "song.mp3"}, "cd-rip in=D:12 src=D:12 out=song.mp3 format=2"},
             {{"cddb", "k", "2"}, "cddb in= src= out= drive=K match=2"},
             {{"rip", "d", "/out", "--wav", "--match", "2"}, "rip in= src= out= format=1 drive=D match=2 folder=/out"},
             {{"rip", "--ab", "192", "E:", "my rips"}, "rip in= src= out= format=2 ab=192 drive=E folder=my rips"},
             {{"-v", "cd-tracks", "d"}, "cd-tracks in= src= out= drive=D verbose"}}) {
        const auto parsed = ParseArguments(words);
        ASSERT_TRUE(parsed.options) << expected << ": " << parsed.error;
        EXPECT_EQ(Describe(*parsed.options), expected);
    }
}

// The words, and a part of the reason they are refused.
TEST(ParseTest, WordsThatMakeNoCommandAreRefusedWithTheReason)
{
    for (const auto& [words, reason] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{}, "no command given"}, {{"--version", "probe"}, "unknown command '--version'"},
             {{"probe"}, "probe takes one file"},
             {{"probe", kLong}, "longer than 259 bytes"},
             {{"convert", "--to", "wmv", "in.avi", "out.wmv"}, "--to must be one of"},
             {{"convert", "--to", "mp4", "--size", "big", "in.avi", "out.mp4"}, "--size takes WIDTHxHEIGHT"},
             {{"convert", "--to", "mp4", "--ab", "-5", "in.avi", "out.mp4"}, "--ab takes a whole number"},
             {{"convert", "--to", "mp4", "in.avi"}, "convert takes one input and one output file"},
             {{"thumbnail", "in.avi", "out.png", "--at"}, "--at needs a value"},
             {{"thumbnail", "--at", "", "in.avi", "out.png"}, "must not be empty"},
             {{"thumbnail", "--size", "2x2", "in.avi", "out.png"}, "unknown option --size for thumbnail"},
             {{"join", "--to", "mp4", "only.mpg"}, "join takes one or more input files"},
             {{"cd-tracks", "KK"}, "a drive letter, as in D"},
             {{"cd-rip", "K:2"}, "cd-rip takes a track"}, {{"cd-rip", "K:2", "out.ogg"}, ".wav or .mp3"},
             {{"cd-rip", "K2", "out.wav"}, "as in D:3"}, {{"cd-rip", "K:1", "/m/.wav"}, ".wav or .mp3"},
             {{"cddb", "K", "0"}, "the match number counts from 1"},
             {{"rip", "D"}, "rip takes a drive letter and an output folder"}, {{"rip", "DD", "out"}, "as in D"},
             {{"rip", "D", "out", "--match", "first"}, "--match takes the number of a CDDB match"},
             {{"rip", "D", "out", "--flac"}, "unknown option --flac for rip"}}) {
        const auto parsed = ParseArguments(words);
        EXPECT_FALSE(parsed.options) << reason;
        EXPECT_NE(parsed.error.find(reason), std::string::npos) << reason << ": " << parsed.error;
    }
}

}  // namespace
}  // namespace lumetra::cli
