#pragma once

#include <QString>

#include <array>

namespace velmora::front {

constexpr int kUiStringCount = 106;
using UiStringTable = std::array<const char*, kUiStringCount>;   // UTF-8 rows

const UiStringTable& EnglishStrings();
const UiStringTable& SpanishStrings();

// Rows that the program reads by number.
enum UiRow : int {
    kRowTitle = 0,
    kRowWelcome = 1,
    kRowCancel = 8,
    kRowAudioConverterHeading = 15,
    kRowVideoConverterHeading = 17,
    kRowDvdCreatorHeading = 19,
    kRowAudioBurnerHeading = 21,
    kRowCdDataBurnerHeading = 23,
    kRowDvdDataBurnerHeading = 25,
    kRowBurnIt = 41,
    kRowTrack = 43,
    kRowTitleColumn = 44,
    kRowArtistColumn = 45,
    kRowConvert = 46,
    kRowDvdMenu = 47,
    kRowOnlyVobFiles = 48,
    kRowAllDvdFiles = 49,
    kRowConvertAndBurn = 50,
    kRowSelectDrive = 51,
    kRowCopyDisk = 52,
    kRowCreateIsoFile = 53,
    kRowBurnIsoFile = 54,
    kRowChooseOutputFolder = 55,
    kRowConverting = 56,
    kRowJoining = 57,
    kRowGenerating = 58,
    kRowInitializingRecorder = 59,
    kRowCreatingIsoImage = 61,
    kRowFinalizingImage = 62,
    kRowWritingIsoImage = 63,
    kRowUpdatesAvailable = 64,
    kRowUpdatesCaption = 65,
    kRowBurnCompleted = 67,
    kRowDeleteQuestion = 69,
    kRowDeleteCaption = 70,
    kRowDuplicateEntry = 71,
    kRowDurationColumn = 76,
    kRowSizeColumn = 77,
    kRowSelectCdFiles = 78,
    kRowFileNameColumn = 79,
    kRowNoMediaFound = 80,
    kRowDriveSelectorTitle = 81,
    kRowInsertBlankMedia = 82,
    kRowMediaNotWritable = 83,
    kRowCloseQuestion = 84,
    kRowCancelJobQuestion = 85,
    kRowVerifyWrittenData = 86,
    kRowRecorderCannotWriteAudio = 87,
    kRowNoHelp = 88,
    kRowCannotAdd = 89,          // %1 the file, %2 why
    kRowStillMeasuring = 90,
    kRowFileProgress = 91,       // %1 the file's number, %2 how many
    kRowBurnProgress = 92,       // %1 megabytes written, %2 in all
    kRowTimeLeft = 93,           // %1 the time left
    kRowFileFailed = 94,         // %1 the file, %2 why
    kRowOneConverted = 95,
    kRowManyConverted = 96,      // %1 how many
    kRowConvertedInto = 97,      // %1 the count's text, %2 the folder or file
    kRowOneFailed = 98,          // %1 the file and why
    kRowManyFailed = 99,         // %1 how many, %2 each file and why
    kRowNoDvdFiles = 100,
    kRowNotJoined = 101,
    kRowBurnVerified = 102,
    kRowVerifying = 103,
    kRowVerifyProgress = 104,    // %1 megabytes read back, %2 in all
    kRowReadProgress = 105,      // %1 megabytes of the disc to copy read, %2 in all
};

// The window's own copy of the table chosen at start-up.
class UiStrings {
public:
    explicit UiStrings(bool english);

    const QString& operator[](int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    bool english() const { return english_; }

private:
    std::array<QString, kUiStringCount> rows_;
    bool english_;
};

}  // namespace velmora::front
