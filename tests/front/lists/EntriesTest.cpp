#include "FrontTesting.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "lists/Entries.h"
#include "lists/FileDialogs.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace velmora::front {
namespace {

using namespace velmora::test;

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

TEST(FolderEntries, AddUpTheirWholeTreeWithoutFollowingLinks)
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

    // A link back up the tree would never end.
    std::filesystem::create_directory_symlink(folder.path(), folder / "empty" / "loop");
    const CDirObject linked((folder / "empty").string());
    EXPECT_EQ(linked.GetDiscSize(), 2352);
    EXPECT_EQ(linked.Folders().size(), 1u);
}

TEST(Durations, FormatLikeAClockAndAreReadFromTheLibrarysText)
{
    const std::pair<std::int64_t, const char*> formatted[] = {
        {0, "00:00"}, {59, "00:59"}, {61, "01:01"}, {3600, "01:00:00"}, {3661, "01:01:01"}, {360000, "100:00:00"}};
    for (const auto& [seconds, text] : formatted) EXPECT_EQ(FormatDuration(seconds), text);
    const std::pair<const char*, std::int32_t> parsed[] = {
        {" 00:03:25.40", 205}, {" 01:00:00.99", 3600}, {"", 0}, {" N/A", 0}, {" 9999999:00:00.00", INT32_MAX}};
    for (const auto& [text, seconds] : parsed) EXPECT_EQ(ParseDuration(text), seconds) << text;
}

TEST(Durations, AreMeasuredThroughTheLibraryOnlyForAcceptedKinds)
{
    BindLibrary();
    ScratchFolder folder;
    ASSERT_TRUE(MakeClip(folder / "clip.AVI", 3));
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

TEST(CdAudioWav, OnlyStereo44100PcmPasses)
{
    ScratchFolder folder;
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {"44100", "2", "pcm_s16le", true}, {"44100", "1", "pcm_s16le", false},
        {"48000", "2", "pcm_s16le", false}, {"44100", "2", "pcm_f32le", false}};
    for (const auto& [rate, channels, codec, passes] : cases) {
        const auto file = folder / (std::string(rate) + channels + codec + ".wav");
        ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", std::string("sine=frequency=440:sample_rate=") + rate, "-t", "0.2",
                               "-ac", channels, "-c:a", codec, "-bitexact", file.string()}));
        EXPECT_EQ(IsCdAudioWav(file), passes) << file;
    }
    WriteFile(folder / "short.wav", "RIFF");
    EXPECT_FALSE(IsCdAudioWav(folder / "short.wav"));
    EXPECT_FALSE(IsCdAudioWav(folder / "missing.wav"));
}

TEST(FileDialogs, FiltersAreWrittenInTheDialogsNotation)
{
    EXPECT_EQ(DialogFilter({kAudioFilesFilter}), "Audio Files (*.wav *.mp3)");
    EXPECT_EQ(DialogFilter({kConvertedFileFilter, kIsoFilesFilter}), "Converted File (*.*);;ISO Files (*.iso)");
}

}  // namespace
}  // namespace velmora::front
