#include "FrontTesting.h"
#include "core/UiStrings.h"
#include "main/ModeTables.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::front {
namespace {

TEST(UiStringTables, BothHaveEveryRowAndTheSameRowsKeptEmpty)
{
    for (int row = 0; row < kUiStringCount; ++row) {
        ASSERT_NE(EnglishStrings()[row], nullptr) << "English row " << row;
        ASSERT_NE(SpanishStrings()[row], nullptr) << "Spanish row " << row;
        EXPECT_EQ(std::string(EnglishStrings()[row]).empty(), std::string(SpanishStrings()[row]).empty()) << row;
    }
}

TEST(UiStringTables, EveryRowTheProgramReadsHasText)
{
    std::vector<int> read{kRowTitle, kRowWelcome, kRowCancel, kRowBurnIt, kRowTrack, kRowConverting, kRowJoining,
                          kRowGenerating, kRowInitializingRecorder, kRowAudioCdCopyMissing, kRowCreatingIsoImage,
                          kRowFinalizingImage, kRowWritingIsoImage, kRowUpdatesAvailable, kRowUpdatesCaption,
                          kRowBurnCompleted, kRowDeleteQuestion, kRowDeleteCaption, kRowDuplicateEntry,
                          kRowDurationColumn, kRowSizeColumn, kRowTitleColumn, kRowArtistColumn, kRowFileNameColumn,
                          kRowChooseOutputFolder, kRowNoMediaFound, kRowDriveSelectorTitle, kRowInsertBlankMedia,
                          kRowMediaNotWritable, kRowSelectDrive, kRowSelectCdFiles};
    for (int mode = kModeWelcome; mode <= kModeDvdDataBurner; ++mode)
        for (const ModeCaption& caption : ControlsOfMode(mode).captions)
            if (caption.row >= 0) read.push_back(caption.row);
    for (const bool english : {true, false})
        for (const int row : read) EXPECT_FALSE(UiStrings(english)[row].isEmpty()) << row << (english ? " en" : " es");
}

TEST(UiStrings, TheWindowCopyDecodesUtf8)
{
    const UiStrings spanish(false);
    EXPECT_EQ(spanish[14], QString::fromUtf8("Conversión de audio"));
    EXPECT_EQ(spanish[14].size(), 19);
    EXPECT_FALSE(spanish.english());
    EXPECT_TRUE(UiStrings(true).english());
}

}  // namespace
}  // namespace velmora::front
