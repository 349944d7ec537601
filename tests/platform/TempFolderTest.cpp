#include "ScratchFolder.h"
#include "temp/ScopedTempFolder.h"
#include "temp/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {
namespace {

using test::ScratchFolder;

mode_t ModeOf(const std::filesystem::path& folder)
{
    struct stat info{};
    ::lstat(folder.c_str(), &info);
    return info.st_mode & 0777;
}

std::filesystem::path UsualFolder(const ScratchFolder& scratch, uid_t user = ::getuid())
{
    return scratch / ("velmora-" + std::to_string(user));
}

TEST(TempFolderTest, MakesAPrivateFolderUnderTmpdirAndKeepsUsingIt)
{
    ScratchFolder scratch;
    test::ScopedEnvironment tmpdir("TMPDIR", scratch.path().string());
    const auto first = PrivateTempFolder();
    EXPECT_EQ(first.path, UsualFolder(scratch));
    EXPECT_TRUE(first.notice.empty());
    EXPECT_EQ(ModeOf(first.path), 0700u);
    EXPECT_EQ(PrivateTempFolder().path, first.path);
}

TEST(TempFolderTest, RefusesAFolderOpenToOthersAndKeepsItsFallback)
{
    ScratchFolder scratch;
    std::filesystem::create_directory(UsualFolder(scratch));
    ::chmod(UsualFolder(scratch).c_str(), 0777);
    const auto chosen = PrivateTempFolderIn(scratch.path(), ::getuid());
    EXPECT_NE(chosen.path, UsualFolder(scratch));
    EXPECT_EQ(chosen.path.parent_path(), scratch.path());
    EXPECT_NE(chosen.notice.find("open to other users"), std::string::npos);
    EXPECT_EQ(ModeOf(chosen.path), 0700u);
    EXPECT_EQ(PrivateTempFolderIn(scratch.path(), ::getuid()).path, chosen.path);
}

TEST(TempFolderTest, RefusesAPlantedSymlinkAndAFolderOfAnotherUser)
{
    ScratchFolder scratch, elsewhere;
    std::filesystem::create_directory_symlink(elsewhere.path(), UsualFolder(scratch));
    const auto linked = PrivateTempFolderIn(scratch.path(), ::getuid());
    EXPECT_FALSE(linked.path.empty());
    EXPECT_NE(linked.path, UsualFolder(scratch));
    EXPECT_NE(linked.notice.find("symbolic link"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));

    // Our own closed folder, asked for on behalf of a user who does not own it.
    const uid_t stranger = ::getuid() + 4242;
    std::filesystem::create_directory(UsualFolder(scratch, stranger));
    ::chmod(UsualFolder(scratch, stranger).c_str(), 0700);
    const auto strangers = PrivateTempFolderIn(scratch.path(), stranger);
    EXPECT_NE(strangers.path, UsualFolder(scratch, stranger));
    EXPECT_NE(strangers.notice.find("another user"), std::string::npos);
}

TEST(ScopedTempFolderTest, IsAFreshPrivateFolderGoneWithItsContents)
{
    ScratchFolder scratch;
    test::ScopedEnvironment tmpdir("TMPDIR", scratch.path().string());
    std::filesystem::path made;
    {
        const ScopedTempFolder first("burn"), second("burn");
        made = first.Path();
        EXPECT_EQ(made.parent_path(), UsualFolder(scratch));
        EXPECT_TRUE(made.filename().string().starts_with("burn-"));
        EXPECT_NE(second.Path(), made);
        EXPECT_EQ(ModeOf(made), 0700u);
        EXPECT_TRUE(first.Notice().empty());
        std::filesystem::create_directory(made / "sub");
        test::WriteFile(made / "sub" / "track.wav", "converted");
    }
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_TRUE(std::filesystem::is_empty(UsualFolder(scratch)));

    test::ScopedEnvironment nowhere("TMPDIR", (scratch / "no such folder").string());
    const ScopedTempFolder none("burn");
    EXPECT_TRUE(none.Path().empty());
    EXPECT_FALSE(none.Notice().empty());
}

}  // namespace
}  // namespace velmora::platform
