#include "ScratchFolder.h"
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
    return info.st_mode;
}

std::string UsualName()
{
    return "velmora-" + std::to_string(::getuid());
}

TEST(TempFolderTest, MakesAPrivateFolderUnderTmpdirAndKeepsUsingIt)
{
    ScratchFolder scratch;
    test::ScopedEnvironment tmpdir("TMPDIR", scratch.path().string());
    const auto first = PrivateTempFolder();
    EXPECT_EQ(first.path, scratch / UsualName());
    EXPECT_TRUE(first.notice.empty());
    EXPECT_EQ(ModeOf(first.path) & 0777, 0700u);
    EXPECT_EQ(PrivateTempFolder().path, first.path);
}

TEST(TempFolderTest, RefusesAFolderOpenToOthers)
{
    ScratchFolder scratch;
    const auto usual = scratch / UsualName();
    std::filesystem::create_directory(usual);
    ::chmod(usual.c_str(), 0777);

    const auto chosen = PrivateTempFolderIn(scratch.path(), ::getuid());
    EXPECT_NE(chosen.path, usual);
    EXPECT_EQ(chosen.path.parent_path(), scratch.path());
    EXPECT_NE(chosen.notice.find("open to other users"), std::string::npos);
    EXPECT_EQ(ModeOf(chosen.path) & 0777, 0700u);

    // The fallback is kept for the rest of the process.
    EXPECT_EQ(PrivateTempFolderIn(scratch.path(), ::getuid()).path, chosen.path);
}

TEST(TempFolderTest, RefusesASymlinkPlantedInItsPlace)
{
    ScratchFolder scratch;
    ScratchFolder elsewhere;
    std::filesystem::create_directory_symlink(elsewhere.path(), scratch / UsualName());

    const auto chosen = PrivateTempFolderIn(scratch.path(), ::getuid());
    EXPECT_NE(chosen.path, scratch / UsualName());
    EXPECT_FALSE(chosen.path.empty());
    EXPECT_NE(chosen.notice.find("symbolic link"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

TEST(TempFolderTest, RefusesAFolderOfAnotherUser)
{
    ScratchFolder scratch;
    // Our own closed folder, asked for on behalf of a user who does not own it.
    const uid_t stranger = ::getuid() + 4242;
    const auto strangersName = scratch / ("velmora-" + std::to_string(stranger));
    std::filesystem::create_directory(strangersName);
    ::chmod(strangersName.c_str(), 0700);

    const auto chosen = PrivateTempFolderIn(scratch.path(), stranger);
    EXPECT_NE(chosen.path, strangersName);
    EXPECT_NE(chosen.notice.find("another user"), std::string::npos);
}

}  // namespace
}  // namespace velmora::platform
