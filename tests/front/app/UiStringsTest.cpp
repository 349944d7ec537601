#include "FrontTesting.h"
#include "core/UiStrings.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using velmora::front::EnglishStrings;
using velmora::front::SpanishStrings;
using velmora::front::UiStrings;

const std::set<int> kReservedRows{6, 7, 9, 10, 11, 12, 13, 66, 72, 73, 74, 75};

TEST(UiStringTables, ReservedRowsAreEmptyAndEveryOtherRowHasText)
{
    for (int row = 0; row < velmora::front::kUiStringCount; ++row) {
        const bool reserved = kReservedRows.count(row) > 0;
        EXPECT_EQ(std::string(EnglishStrings()[row]).empty(), reserved) << "English row " << row;
        EXPECT_EQ(std::string(SpanishStrings()[row]).empty(), reserved) << "Spanish row " << row;
    }
}

TEST(UiStringTables, OnlyRowsZero35And83ReadTheSameInBothLanguages)
{
    for (int row = 0; row < velmora::front::kUiStringCount; ++row) {
        if (kReservedRows.count(row)) continue;
        const bool same = std::string(EnglishStrings()[row]) == SpanishStrings()[row];
        EXPECT_EQ(same, row == 0 || row == 35 || row == 83) << "row " << row;
    }
}

TEST(UiStringTables, KeepTheirSpellingAndAccents)
{
    EXPECT_STREQ(EnglishStrings()[0], "Velmora 1.2");
    EXPECT_STREQ(EnglishStrings()[15],
                 "Audio converter: convert CD audio disks to Wav or MP3 files eaisy to your computer.");
    EXPECT_STREQ(EnglishStrings()[26], "Lenght");
    EXPECT_STREQ(EnglishStrings()[39], "Hight");
    EXPECT_STREQ(EnglishStrings()[64], "New Updates are available.\n\nDo you want to check it.");
    EXPECT_STREQ(SpanishStrings()[20], "Grabdor CD-audio");
    EXPECT_STREQ(SpanishStrings()[62], "Finalizando graabación de disco");
    EXPECT_STREQ(SpanishStrings()[69], "Está seguro que quiere eliminar los objetos sseleccionado(s)?");
    EXPECT_STREQ(SpanishStrings()[79], "FNombre de archivo");
    EXPECT_STREQ(SpanishStrings()[83], EnglishStrings()[83]);
}

TEST(UiStringTables, WelcomeRowEndsWithTheDesignedSentence)
{
    for (const auto* table : {&EnglishStrings(), &SpanishStrings()}) {
        const std::string welcome = (*table)[1];
        EXPECT_NE(welcome.find("Velmora"), std::string::npos);
        EXPECT_TRUE(welcome.ends_with("Please, select an option at the left frame."));
    }
}

TEST(UiStrings, TheWindowCopyDecodesUtf8)
{
    velmora::test::TestApplication();
    const UiStrings spanish(false);
    EXPECT_EQ(spanish[14], QString::fromUtf8("Conversión de audio"));
    EXPECT_EQ(spanish[14].size(), 19);
    EXPECT_FALSE(spanish.english());
    const UiStrings english(true);
    EXPECT_EQ(english[14], "Audio converter");
}

}  // namespace
