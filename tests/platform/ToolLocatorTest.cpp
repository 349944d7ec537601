#include "ScratchFolder.h"
#include "paths/ExecutablePath.h"
#include "paths/ToolLocator.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace velmora::platform {
namespace {

using test::ScopedEnvironment;
using test::ScratchFolder;

void MakeProgram(const std::filesystem::path& file, mode_t mode = 0755)
{
    test::WriteFile(file, "#!/bin/sh\n");
    ::chmod(file.c_str(), mode);
}

TEST(ToolLocatorTest, SearchesPathInOrderForRunnableFilesOnly)
{
    ScratchFolder first, second;
    MakeProgram(first / "velmora-tool", 0644);   // not runnable
    MakeProgram(second / "velmora-tool");
    std::filesystem::create_directory(first / "velmora-dir");

    ScopedEnvironment path("PATH", "relative/bin:" + first.path().string() + ":" + second.path().string());
    EXPECT_EQ(FindTool("velmora-tool"), second / "velmora-tool");
    EXPECT_TRUE(FindTool("velmora-dir").empty());
    EXPECT_TRUE(FindTool("no-such-velmora-tool").empty());
    EXPECT_TRUE(FindTool("../velmora-tool").empty());
}

TEST(ToolLocatorTest, PrefersTheProgramBesideTheExecutable)
{
    const auto beside = ExecutableFolder() / "velmora-beside-tool";
    MakeProgram(beside);
    ScratchFolder onPath;
    MakeProgram(onPath / "velmora-beside-tool");
    ScopedEnvironment path("PATH", onPath.path().string());
    EXPECT_EQ(FindTool("velmora-beside-tool"), beside);
    std::filesystem::remove(beside);
    EXPECT_EQ(FindTool("velmora-beside-tool"), onPath / "velmora-beside-tool");
}

TEST(ToolLocatorTest, StateFolderFollowsXdgThenHome)
{
    {
        ScopedEnvironment xdg("XDG_STATE_HOME", "/srv/state");
        EXPECT_EQ(UserStateFolder(), "/srv/state");
    }
    ScopedEnvironment xdg("XDG_STATE_HOME", std::nullopt);
    ScopedEnvironment home("HOME", "/home/someone");
    EXPECT_EQ(UserStateFolder(), "/home/someone/.local/state");
}

}  // namespace
}  // namespace velmora::platform
