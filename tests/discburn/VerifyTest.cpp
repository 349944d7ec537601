// The jobs' work on a recorder: what a write puts on its recorder is read back and compared, an
// audio CD carries its text, and a write's progress reads as the status line shows it.

#include "BurnTestSupport.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "jobs/BurnFlow.h"
#include "mastering/LibburnParts.h"
#include "mastering/ProgressText.h"
#include "verify/ReadBack.h"
#include "writers/AudioTrack.h"

#include <libburn/libburn.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

const std::pair<HResult, std::string> kVerified{kOk, "Burn completed and verified!"};

// Changes a byte of the file when the read-back is about to start, as a bad disc would.
std::function<int(const WriteProgress&)> SpoilBeforeCheck(const std::filesystem::path& file, int action)
{
    return [file, action, spoilt = false](const WriteProgress& report) mutable {
        if (report.action == action && !spoilt) {
            std::fstream image(file, std::ios::binary | std::ios::in | std::ios::out);
            image.seekp(static_cast<std::streamoff>(std::filesystem::file_size(file) / 2)).put('\x7f');
            spoilt = true;
        }
        return 1;
    };
}

bool Reported(const RecordingWindow& window, int action, std::uint64_t done, std::uint64_t total)
{
    return std::any_of(window.progress.begin(), window.progress.end(), [&](const WriteProgress& report) {
        return report.action == action && report.bytesDone == done && report.bytesTotal == total;
    });
}

// The lead-in's packs as libburn's own text sheet.
std::string Sheet(std::vector<unsigned char> packs, int trackCount)
{
    char* sheet = nullptr;
    int charCode = 0;
    if (packs.empty() || burn::burn_make_input_sheet_v07t(packs.data(), static_cast<int>(packs.size() / 18), 1,
                                                          trackCount, &sheet, &charCode, 0) <= 0)
        return {};
    std::string text(sheet);
    std::free(sheet);
    return text;
}

class BurnFlowTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(scratch / "discs"); }
    ScratchFolder scratch;
};

TEST_F(BurnFlowTest, AVerifiedDataDiscReadsBackAsWrittenAndOneThatChangedDoesNot)
{
    std::string content(3 << 20, '\0');
    for (std::size_t at = 0; at < content.size(); ++at) content[at] = static_cast<char>(at * 7 % 251);
    WriteFile(scratch / "content.bin", content);
    const std::vector<ImageEntry> entries{{scratch / "content.bin"}};
    const auto disc = scratch / "discs/data.iso";

    RecordingWindow window;
    EXPECT_EQ(BurnFlow(window).BurnDataDisc("stdio:" + disc.string(), entries, true), kOk);
    EXPECT_EQ(window.results.back(), kVerified);
    const auto size = std::filesystem::file_size(disc);
    EXPECT_TRUE(Reported(window, kWritingData, size, size) && Reported(window, kVerifying, size, size));
    EXPECT_EQ(ReadIsoImage(disc, true).contents.at("content.bin"), content);

    // An ISO file burnt and read back.
    RecordingWindow iso;
    EXPECT_EQ(BurnFlow(iso).BurnIsoImage("stdio:" + (scratch / "discs/copy.iso").string(), disc, true), kOk);
    EXPECT_EQ(iso.results.back(), kVerified);
    EXPECT_TRUE(ReadFile(scratch / "discs/copy.iso") == ReadFile(disc));

    const auto spoilt = scratch / "discs/spoilt.iso";
    RecordingWindow spoiling;
    spoiling.reply = SpoilBeforeCheck(spoilt, kVerifying);
    EXPECT_EQ(BurnFlow(spoiling).BurnDataDisc("stdio:" + spoilt.string(), entries, true), kVerifyMismatch);
    EXPECT_EQ(spoiling.results.back(),
              std::pair(kVerifyMismatch, std::string("Verification failed! Track 1 does not hold what was written. "
                                                     "Error:0x8ba0000b")));

    // Unasked, nothing is read back; a disc written already is refused with a failure.
    RecordingWindow plain;
    EXPECT_EQ(BurnFlow(plain).BurnDataDisc("stdio:" + (scratch / "discs/plain.iso").string(), entries, false), kOk);
    EXPECT_EQ(plain.results.back(), std::pair(kOk, std::string()));
    EXPECT_TRUE(std::none_of(plain.progress.begin(), plain.progress.end(),
                             [](const WriteProgress& report) { return report.action == kVerifying; }));
    RecordingWindow again;
    EXPECT_EQ(BurnFlow(again).BurnDataDisc("stdio:" + disc.string(), entries, true), kMediaNotBlank);
    EXPECT_EQ(again.errors, std::vector<int>{BurnWindow::kMediaNotWritableRow});
}

TEST_F(BurnFlowTest, AnAudioCdCarriesTheTextOfItsFilesAndIsReadBackAsWritten)
{
    const std::string first = TonePcm(44100 * 2, 440), second = TonePcm(44100 * 3, 660);
    WriteFile(scratch / "01 Say \"Hi\".wav", WaveFile(first, 2, 44100));
    WriteFile(scratch / "second.wav", WaveFile(second, 2, 44100));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=660:duration=1", "-metadata", "title=Café del Mar",
                           "-metadata", "artist=Ana Pérez", "-metadata", "album=Días", "-metadata",
                           "album_artist=Ana Pérez", (scratch / "second.mp3").string()}));
    const TrackText tagged = TrackTextOf(scratch / "second.mp3");
    EXPECT_EQ(std::tuple(tagged.title, tagged.performer, tagged.album, tagged.albumPerformer),
              std::tuple("Café del Mar", "Ana Pérez", "Días", "Ana Pérez"));
    const DiscText text = DiscTextOf({TrackTextOf(scratch / "01 Say \"Hi\".wav"), tagged});
    const std::vector<AudioTrack> tracks{*TrackOfCdWave(scratch / "01 Say \"Hi\".wav"),
                                         *TrackOfCdWave(scratch / "second.wav")};

    const auto cue = scratch / "discs/music.cue";
    RecordingWindow window;
    EXPECT_EQ(BurnFlow(window).BurnAudioDisc("cue:" + cue.string(), tracks, text, true), kOk);
    EXPECT_EQ(window.results.back(), kVerified);
    EXPECT_TRUE(Reported(window, kAudioVerifying, first.size() + second.size(), first.size() + second.size()));
    EXPECT_EQ(CdTextOfImage(cue),
              (std::vector<std::string>{"Días / Ana Pérez", "01 Say 'Hi' / ", "Café del Mar / Ana Pérez"}));
    const auto ripped = RipImage(cue);
    ASSERT_EQ(ripped.size(), 2u);
    EXPECT_TRUE(ripped[0] == Padded(first) && ripped[1] == Padded(second));

    const auto spoilt = scratch / "discs/spoilt.cue";
    RecordingWindow spoiling;
    spoiling.reply = SpoilBeforeCheck(scratch / "discs/spoilt.bin", kAudioVerifying);
    EXPECT_EQ(BurnFlow(spoiling).BurnAudioDisc("cue:" + spoilt.string(), tracks, text, true), kVerifyMismatch);
    EXPECT_EQ(spoiling.results.back().second,
              "Verification failed! Track 2 does not hold what was written. Error:0x8ba0000b");
}

TEST(AudioShiftTest, TheSoundWrittenIsFoundWhereTheDriveReadsItInWholeSamplesNearestFirst)
{
    const std::vector<unsigned char> sound{1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<unsigned char> read(64, 0);
    std::copy(sound.begin(), sound.end(), read.begin() + 20);
    EXPECT_EQ(FindAudioShift(read, 32, sound), -12);   // read 3 samples early
    EXPECT_EQ(FindAudioShift(read, 8, sound), 12);
    EXPECT_EQ(FindAudioShift(read, 22, sound), std::nullopt);   // only whole samples
    std::copy(sound.begin(), sound.end(), read.begin() + 44);
    EXPECT_EQ(FindAudioShift(read, 36, sound), 8);
    EXPECT_EQ(FindAudioShift(read, 20, {9, 9, 9, 9}), std::nullopt);
}

TEST(CdTextTest, TheLeadInHoldsTheTextInLatin1AndShortensWhatDoesNotFit)
{
    const std::string sheet = Sheet(CdTextPacks({"Días", "Ana Pérez", {{"Café", "Ana"}, {"東京", ""}}}), 2);
    for (const auto& [label, value] : std::vector<std::pair<std::string, std::string>>{
             {"Album Title", "D\xED" "as"}, {"Artist Name", "Ana P\xE9rez"}, {"Track 01 Title", "Caf\xE9"},
             {"Track 01 Artist", "Ana"}, {"Track 02 Title", "??"}}) {
        const std::string line = label + std::string(20 - label.size(), ' ') + "= " + value + "\n";
        EXPECT_NE(sheet.find(line), std::string::npos) << line << " in\n" << sheet;
    }
    EXPECT_TRUE(CdTextPacks({"", "", {{"", ""}}}).empty());

    // 99 long titles and performers do not fit into a lead-in: each is shortened alike until they do.
    DiscText many{"Album", "", {}};
    for (int track = 1; track <= 99; ++track)
        many.tracks.push_back({std::to_string(track) + std::string(200, 'x'), std::to_string(track) + std::string(200, 'y')});
    const std::string shortened = Sheet(CdTextPacks(many), 99);
    EXPECT_NE(shortened.find("Track 99 Title      = 99xxxxxxxx\n"), std::string::npos) << shortened;
}

// No pseudo-drive writes audio, so the choice is driven with the recorder's answers given: text is
// written only in a session written at once, which is asked for first, and its loss is told.
TEST(CdTextTest, ASessionWithTextIsWrittenAtOnceOrWithoutItsText)
{
    using burn::BURN_WRITE_NONE, burn::BURN_WRITE_SAO, burn::BURN_WRITE_TAO;
    struct Case {
        bool withText, recorderWritesAtOnce;
        burn::burn_write_types libburnsChoice, chosen;
        bool textLeftOff, libburnAsked;
    };
    for (const Case& c : std::vector<Case>{{true, true, BURN_WRITE_TAO, BURN_WRITE_SAO, false, false},
                                           {true, false, BURN_WRITE_TAO, BURN_WRITE_TAO, true, true},
                                           {true, false, BURN_WRITE_NONE, BURN_WRITE_NONE, true, true},
                                           {false, true, BURN_WRITE_TAO, BURN_WRITE_TAO, false, true},
                                           {false, false, BURN_WRITE_SAO, BURN_WRITE_SAO, false, true}}) {
        bool atOnceAsked = false, libburnAsked = false;
        const auto choice = ChooseSessionWriteType(
            c.withText,
            [&] {
                atOnceAsked = true;
                return c.recorderWritesAtOnce;
            },
            [&] {
                libburnAsked = true;
                return c.libburnsChoice;
            });
        EXPECT_EQ(choice.type, c.chosen);
        EXPECT_EQ(choice.textLeftOff, c.textLeftOff);
        EXPECT_EQ(atOnceAsked, c.withText);
        EXPECT_EQ(libburnAsked, c.libburnAsked);
    }
}

TEST(ProgressTextTest, WritesCountMegabytesAndTimeLeftAndReadBacksWhatWasChecked)
{
    RecordingWindow window;
    const std::pair<WriteProgress, std::string> data[] = {
        {{kWritingData, 0, 0, 12'400'000, 300'000'000, 200}, "12 of 300 MB written - 3:20 left"},
        {{kWritingData, 0, 0, 300'000'000, 300'000'000, 0}, "300 of 300 MB written"},
        {{kWritingData}, ""},   // nothing known yet: the status line stays
        {{kCalibratingPower}, "Optimizing laser intensity..."},
        {{kVerifying, 0, 0, 1'000'000, 2'000'000, 3725}, "Verifying... 1 of 2 MB checked - 1:02:05 left"},
    };
    for (const auto& [progress, text] : data) EXPECT_EQ(ProgressStatusText(progress, false, window), text);
    EXPECT_EQ(ProgressStatusText({kAudioPreparing, 0, 3}, true, window), "Preparing to write 3 audio tracks...");
    EXPECT_EQ(ProgressStatusText({kAudioWriting, 2, 3, 5'000'000, 9'000'000, -1}, true, window),
              "Writing track 2 of 3... 5 of 9 MB written");
    EXPECT_EQ(ProgressStatusText({kAudioUnknown, 0, 3}, true, window), "");
}

}  // namespace
}  // namespace velmora::discburn
