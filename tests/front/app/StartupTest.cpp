#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "process/Process.h"

#include <gtest/gtest.h>

namespace {

using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

TEST(Startup, WithoutADisplayTheProgramSaysSoInOneLineAndFails)
{
    const ScopedEnvironment noX("DISPLAY", std::nullopt);
    const ScopedEnvironment noWayland("WAYLAND_DISPLAY", std::nullopt);
    const ScopedEnvironment noPlatform("QT_QPA_PLATFORM", std::nullopt);
    ScratchFolder folder;
    velmora::platform::SpawnOptions options;
    options.stderrFile = folder / "stderr";
    const auto outcome = velmora::platform::RunAndWait({ORVANE_PROGRAM}, options);
    ASSERT_TRUE(outcome.started);
    EXPECT_NE(outcome.exitStatus, 0);
    const std::string said = velmora::test::ReadFile(folder / "stderr");
    // The library may log its system line there too; the program's own word is one line.
    const auto at = said.find("orvane: no display available");
    ASSERT_NE(at, std::string::npos) << said;
    EXPECT_EQ(said.find('\n', at), said.size() - 1) << said;
}

}  // namespace
