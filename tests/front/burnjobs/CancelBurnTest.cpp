// A program of its own, so that its cancelled writes, whose libburn threads outlive them for a
// while, cannot disturb the other burn tests.
#include "BurnJobsTesting.h"

#include <fstream>

namespace velmora::test {
namespace {

namespace fs = std::filesystem;
using discburn::test::HiddenFiles;

TEST_F(BurnJobTest, ACancelDuringALargeWriteLeavesNoImageAndTheNextBurnIsWhole)
{
    const fs::path target = scratch / "discs/data.iso";
    fs::create_directories(scratch / "discs");
    // Sparse: the image is large, the source takes no room.
    std::ofstream(scratch / "large.bin").close();
    fs::resize_file(scratch / "large.bin", std::uint64_t{3} << 30);
    front::BurnInput input{.mode = front::kModeDvdDataBurner, .option = 4, .recorder = "stdio:" + target.string(),
                           .entries = {{scratch / "large.bin"}}, .volumeName = "2009_11_18"};
    Run(input, scratch / "discs");
    EXPECT_EQ(host.LastStatus(), "User Canceled!");
    EXPECT_TRUE(host.messages.empty());
    // The write stopped when asked, not at its end.
    ASSERT_FALSE(host.burnProgress.empty());
    EXPECT_LT(host.burnProgress.back().first, host.burnProgress.back().second / 2);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());

    // The cancelled write's last messages are not taken for the new one's.
    WriteFile(scratch / "small.txt", "small");
    input.entries = {{scratch / "small.txt"}};
    Run(input);
    EXPECT_EQ(host.LastStatus(), "Burn completed successfully!");
    const auto image = discburn::test::ReadIsoImage(target, true);
    ASSERT_TRUE(image.read);
    EXPECT_EQ(image.contents.at("small.txt"), "small");
}

TEST_F(BurnJobTest, ACancelStopsAnIsoFileBeforeItIsComplete)
{
    fs::create_directories(scratch / "isos");
    discburn::test::MakeSpottedFile(scratch / "large.bin", std::uint64_t{3} << 30);
    host.isoToWrite = (scratch / "isos/big.iso").string();
    Run({.mode = front::kModeCdDataBurner, .option = 1,
                  .recorder = "stdio:" + (scratch / "recorder.iso").string(),
                  .entries = {{scratch / "large.bin"}}},
                 scratch / "isos");
    EXPECT_EQ(host.LastStatus(), "User Canceled!");
    EXPECT_TRUE(fs::is_empty(scratch / "isos"));
}

}  // namespace
}  // namespace velmora::test
