#pragma once

#include <QString>

#include <array>

namespace velmora::front {

constexpr int kUiStringCount = 84;
using UiStringTable = std::array<const char*, kUiStringCount>;   // UTF-8 rows

const UiStringTable& EnglishStrings();
const UiStringTable& SpanishStrings();

// Rows that the program reads by number.
enum UiRow : int {
    kRowTitle = 0,
    kRowWelcome = 1,
    kRowAudioConverterHeading = 15,
    kRowVideoConverterHeading = 17,
    kRowDvdCreatorHeading = 19,
    kRowAudioBurnerHeading = 21,
    kRowCdDataBurnerHeading = 23,
    kRowDvdDataBurnerHeading = 25,
    kRowBurnIt = 41,
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
    kRowUpdatesAvailable = 64,
    kRowUpdatesCaption = 65,
    kRowDeleteQuestion = 69,
    kRowDeleteCaption = 70,
    kRowDuplicateEntry = 71,
    kRowDurationColumn = 76,
    kRowSizeColumn = 77,
    kRowSelectCdFiles = 78,
    kRowFileNameColumn = 79,
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
