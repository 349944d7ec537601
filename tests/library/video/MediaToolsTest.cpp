#include "video/DvdAuthor.h"
#include "video/FileJoin.h"
#include "ScratchFolder.h"
#include "video/Thumbnail.h"

#include <gtest/gtest.h>

namespace MediaLibrary::Video {
namespace {

using velmora::test::ReadFile;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

TEST(ThumbnailCommandTest, IsTheDesignedStringWithPathsKeptWhole)
{
    const auto command = ThumbnailCommand("00:00:05", "/v/a \"b\".avi", "/p/é $x.png", 360, 288);
    EXPECT_EQ(command.Text(), "-y -ss 00:00:05 -i \"/v/a \"b\".avi\" -vcodec png -vframes 1 -an -f rawvideo"
                              " -s 360x288 \"/p/é $x.png\"");
    const std::vector<std::string> expected{"-y", "-ss", "00:00:05", "-i", "/v/a \"b\".avi", "-vcodec", "png",
                                            "-vframes", "1", "-an", "-f", "rawvideo", "-s", "360x288",
                                            "/p/é $x.png"};
    EXPECT_EQ(command.Arguments(), expected);
}

class ConcatenateTest : public ::testing::Test {
protected:
    std::filesystem::path Part(const std::string& name, const std::string& content)
    {
        WriteFile(scratch / name, content);
        return scratch / name;
    }
    ScratchFolder scratch;
};

TEST_F(ConcatenateTest, WritesThePartsByteForByteInListOrder)
{
    const std::string binary("\0\x01\xff\r\n\x1a end", 9);
    const auto a = Part("a", "first\n");
    const auto b = Part("b", binary);
    const auto empty = Part("empty", "");
    const auto c = Part("c ü $x", std::string(3 << 20, 'c'));   // longer than one copy chunk
    WriteFile(scratch / "joined", "an older, longer file that must not show through at the end........");

    EXPECT_FALSE(ConcatenateFiles({b, a, empty, c, a}, scratch / "joined"));
    EXPECT_EQ(ReadFile(scratch / "joined"), binary + "first\n" + std::string(3 << 20, 'c') + "first\n");
}

TEST_F(ConcatenateTest, RefusesToJoinIntoOneOfItsParts)
{
    const auto a = Part("a", "keep me");
    const auto b = Part("b", "and me");
    std::filesystem::create_symlink(a, scratch / "link to a");

    const auto failure = ConcatenateFiles({a, b}, scratch / "link to a");
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("is also one of the files to join"), std::string::npos);
    EXPECT_EQ(ReadFile(a), "keep me");
}

TEST_F(ConcatenateTest, PartsThatAreNoFilesAreRefusedBeforeAnythingIsWritten)
{
    const auto a = Part("a", "part");
    std::filesystem::create_directory(scratch / "folder");
    for (const auto& bad : {scratch / "absent", scratch / "folder"}) {
        const auto failure = ConcatenateFiles({a, bad}, scratch / "joined");
        ASSERT_TRUE(failure) << bad;
        EXPECT_NE(failure->find(bad.string() + " is not a file"), std::string::npos) << *failure;
        EXPECT_FALSE(std::filesystem::exists(scratch / "joined")) << bad;
    }
    const auto failure = ConcatenateFiles({a}, scratch / "no such folder" / "joined");
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("cannot write"), std::string::npos) << *failure;
}

TEST(AuthoringDestinationTest, ReadsTheDestOfTheRootElement)
{
    EXPECT_EQ(AuthoringDestination("<dvdauthor dest=\"/home/u/My DVD\" ><vmgm /><titleset><titles><pgc>"
                                   "<vob file=\"/w/a.mpg\" /></pgc></titles></titleset></dvdauthor>"),
              std::filesystem::path("/home/u/My DVD"));
    EXPECT_EQ(AuthoringDestination("<?xml version=\"1.0\"?>\n<dvdauthor\n  jumppad='yes' note=\"a > b\"\n"
                                   "  dest = '/o/it&apos;s &quot;x&quot; &lt;&amp;&gt; &#233;&#xe9;&amp;lt;'>"),
              std::filesystem::path("/o/it's \"x\" <&> éé&lt;"));
}

TEST(AuthoringDestinationTest, FindsNoneWhereThereIsNone)
{
    EXPECT_FALSE(AuthoringDestination(""));
    EXPECT_FALSE(AuthoringDestination("<dvdauthor><vmgm /></dvdauthor>"));
    EXPECT_FALSE(AuthoringDestination("<dvdauthorx dest=\"/wrong\"><vmgm /></dvdauthorx>"));
    EXPECT_FALSE(AuthoringDestination("<dvdauthor dest=\"\">"));
    EXPECT_FALSE(AuthoringDestination("<dvdauthor dest=\"/unclosed>"));
    EXPECT_FALSE(AuthoringDestination("<dvdauthor><vob dest=\"/inner\" /></dvdauthor>"));
    // A bad character reference stays as it was written.
    EXPECT_EQ(AuthoringDestination("<dvdauthor dest=\"/a&#xzz;&#99999999999;b\">"),
              std::filesystem::path("/a&#xzz;&#99999999999;b"));
}

TEST(ClearEarlierDiscFoldersTest, RemovesOnlyTheTwoDiscFolders)
{
    ScratchFolder scratch;
    const auto dest = scratch / "dvd";
    std::filesystem::create_directories(dest / "VIDEO_TS");
    std::filesystem::create_directories(dest / "AUDIO_TS");
    std::filesystem::create_directories(dest / "VIDEO_TS_old");
    WriteFile(dest / "VIDEO_TS" / "VTS_01_1.VOB", "old title");
    WriteFile(dest / "notes.txt", "mine");

    ClearEarlierDiscFolders(dest);
    EXPECT_FALSE(std::filesystem::exists(dest / "VIDEO_TS"));
    EXPECT_FALSE(std::filesystem::exists(dest / "AUDIO_TS"));
    EXPECT_TRUE(std::filesystem::exists(dest / "VIDEO_TS_old"));
    EXPECT_EQ(ReadFile(dest / "notes.txt"), "mine");
}

TEST(ClearEarlierDiscFoldersTest, ALinkedFolderLosesTheLinkNotWhatItPointsTo)
{
    ScratchFolder scratch;
    std::filesystem::create_directories(scratch / "elsewhere");
    WriteFile(scratch / "elsewhere" / "precious", "keep");
    std::filesystem::create_directories(scratch / "dvd");
    std::filesystem::create_directory_symlink(scratch / "elsewhere", scratch / "dvd" / "VIDEO_TS");

    ClearEarlierDiscFolders(scratch / "dvd");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(scratch / "dvd" / "VIDEO_TS")));
    EXPECT_EQ(ReadFile(scratch / "elsewhere" / "precious"), "keep");
}

}  // namespace
}  // namespace MediaLibrary::Video
