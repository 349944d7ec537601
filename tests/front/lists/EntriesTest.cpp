#include "lists/Entries.h"
#include "lists/FileDialogs.h"
#include "FrontTesting.h"
#include "core/LumetraBinding.h"
#include "Media.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using velmora::front::CDirObject;
using velmora::front::CFileObject;
using velmora::front::FormatDuration;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

TEST(FileEntries, DiscSizeIsAlwaysOneSectorMoreThanTheWholeSectors)
{
    ScratchFolder folder;
    const std::pair<std::size_t, std::int64_t> cases[] = {{0, 0}, {1, 2352}, {2351, 2352}, {2352, 4704}, {4705, 7056}};
    for (const auto& [bytes, discSize] : cases) {
        const auto file = folder / ("f" + std::to_string(bytes));
        WriteFile(file, std::string(bytes, 'a'));
        const CFileObject entry(file.string());
        EXPECT_EQ(entry.Size(), static_cast<std::int64_t>(bytes));
        EXPECT_EQ(entry.GetDiscSize(), discSize) << bytes << " bytes";
    }
    EXPECT_EQ(CFileObject((folder / "missing").string()).GetDiscSize(), 0);
}

TEST(FileEntries, NameAndTitle)
{
    const CFileObject clip("/a/b.c.mp3");
    EXPECT_EQ(clip.GetName(), "b.c.mp3");
    EXPECT_EQ(clip.GetTitle(), "b.c");
    EXPECT_EQ(CFileObject("/a/README").GetTitle(), "");
    EXPECT_EQ(CFileObject("plain").GetName(), "plain");
}

TEST(FolderEntries, AddUpTheirWholeTree)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "empty" / "deeper" / "deepest");
    std::filesystem::create_directories(folder / "also-empty");
    EXPECT_EQ(CDirObject(folder.path().string()).GetDiscSize(), 0);

    WriteFile(folder / "empty" / "deeper" / "one", "x");
    WriteFile(folder / "top", std::string(2352, 'y'));
    const CDirObject tree(folder.path().string());
    EXPECT_EQ(tree.GetDiscSize(), 2352 + 4704);
    EXPECT_EQ(tree.Folders().size(), 2u);
    EXPECT_EQ(tree.Files().size(), 1u);
    EXPECT_EQ(tree.GetTitle(), "");
}

TEST(FolderEntries, ALinkBackUpTheTreeIsNotFollowed)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "a");
    WriteFile(folder / "a" / "file", "z");
    std::filesystem::create_directory_symlink(folder.path(), folder / "a" / "loop");
    const CDirObject tree((folder / "a").string());
    EXPECT_EQ(tree.GetDiscSize(), 2352);
    EXPECT_TRUE(tree.Folders().empty());
}

TEST(Durations, FormatLikeAClock)
{
    EXPECT_EQ(FormatDuration(0), "00:00");
    EXPECT_EQ(FormatDuration(59), "00:59");
    EXPECT_EQ(FormatDuration(61), "01:01");
    EXPECT_EQ(FormatDuration(3600), "01:00:00");
    EXPECT_EQ(FormatDuration(3661), "01:01:01");
    EXPECT_EQ(FormatDuration(360000), "100:00:00");
}

TEST(Durations, ReadFromTheLibrarysText)
{
    EXPECT_EQ(velmora::front::ParseDuration(" 00:03:25.40"), 205);
    EXPECT_EQ(velmora::front::ParseDuration(" 01:00:00.99"), 3600);
    EXPECT_EQ(velmora::front::ParseDuration(""), 0);
    EXPECT_EQ(velmora::front::ParseDuration(" N/A"), 0);
    EXPECT_EQ(velmora::front::ParseDuration(" 9999999:00:00.00"), INT32_MAX);
}

TEST(Durations, AreMeasuredThroughTheLibraryOnlyForAcceptedKinds)
{
    ASSERT_TRUE(velmora::front::Lumetra().Bind(velmora::front::DefaultLibraryPath()));
    ScratchFolder folder;
    ASSERT_TRUE(velmora::test::MakeClip(folder / "clip.AVI", 3));
    CFileObject clip((folder / "clip.AVI").string());
    EXPECT_TRUE(clip.IsVideoFile());
    EXPECT_TRUE(clip.IsAviFile());
    EXPECT_FALSE(clip.IsAudioFile());
    EXPECT_EQ(clip.GetDuration(), 3);
    EXPECT_EQ(clip.FormatDuration(), "00:03");

    WriteFile(folder / "notes.avi.txt", "text");
    CFileObject notes((folder / "notes.avi.txt").string());
    EXPECT_FALSE(notes.IsVideoFile());
    EXPECT_EQ(notes.GetDuration(), 0);
}

TEST(FileDialogs, FiltersKeepTheirTextsInTheDialogsNotation)
{
    using namespace velmora::front;
    EXPECT_EQ(DialogFilter({kAudioFilesFilter}), "Audio Files (*.wav *.mp3)");
    EXPECT_EQ(DialogFilter({kVideoFilesFilter}), "Video Files(avi, mpg) (*.avi *.mpg)");
    EXPECT_EQ(DialogFilter({kAviFilesFilter}), "AVI Files (*.avi)");
    EXPECT_EQ(DialogFilter({kAllFilesFilter}), "All Files(*.*) (*.*)");
    EXPECT_EQ(DialogFilter({kConvertedFileFilter, kIsoFilesFilter}), "Converted File (*.*);;ISO Files (*.iso)");
}

}  // namespace
