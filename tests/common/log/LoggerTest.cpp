#include "log/Log.h"
#include "log/Logger.h"
#include "ScratchFolder.h"
#include "process/Process.h"

#include <gtest/gtest.h>

#include <regex>

namespace velmora::log {
namespace {

using namespace velmora::test;

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class LoggerTest : public ::testing::Test {
protected:
    LoggerTest() { ::tzset(); }
    ~LoggerTest() override { ::tzset(); }

    Logger MakeLogger(std::vector<std::filesystem::path> folders = {})
    {
        if (folders.empty()) folders.push_back(scratch / "logs");
        return Logger(std::move(folders), [this] { return now; });
    }

    ScopedEnvironment utc{"TZ", "UTC"};
    ScratchFolder scratch;
    std::time_t now = 1260143999;   // 06-12-2009 23:59:59 UTC
};

TEST_F(LoggerTest, NamesTheFileAfterTheLogWritesStampedLinesUpToTheThresholdStartsAnewAtMidnightAndCutsLongLines)
{
    auto logger = MakeLogger();
    logger.Init("RozeduZededir", 3);
    logger.Printf(3, "Entering %s", "GetCDRomList");
    logger.Printf(4, "a detail");
    now += 2;
    logger.Printf(1, "first of the next day");

    const auto first = ReadFile(scratch / "logs" / "RozeduZededir Log(12-06-2009 23.59.59).txt");
    const auto second = ReadFile(scratch / "logs" / "RozeduZededir Log(12-07-2009 00.00.01).txt");
    EXPECT_TRUE(first.starts_with(Logger::kBeginBanner) && first.ends_with(Logger::kEndBanner)) << first;
    const std::regex entering(R"(\n12-06-2009 23\.59\.59 Thread Id\(\d+\) Entering GetCDRomList\n)");
    EXPECT_TRUE(std::regex_search(first, entering)) << first;
    EXPECT_FALSE(Holds(first, "a detail") || Holds(first, "first of the next day"));
    EXPECT_TRUE(second.starts_with(Logger::kBeginBanner));
    EXPECT_TRUE(Holds(second, "12-07-2009 00.00.01 Thread Id(")) << second;

    // Long lines are cut at the limit, never inside a character.
    logger.Printf(1, "%s", std::string(5000, 'a').c_str());
    std::string accents;
    for (int i = 0; i < 2000; ++i) accents += "\xC3\xA9";   // é
    logger.Printf(1, "b%s", accents.c_str());
    const auto text = ReadFile(logger.Path());
    const auto longLine = text.substr(text.rfind('\n', text.find("aaaa")) + 1);
    EXPECT_EQ(longLine.find('\n'), Logger::kLineLimit - 1);
    const auto start = text.rfind('\n', text.find("b\xC3\xA9")) + 1;
    const auto cut = text.substr(start, text.find('\n', start) - start);
    EXPECT_TRUE(cut.size() == Logger::kLineLimit - 1 || cut.size() == Logger::kLineLimit - 2) << cut.size();
    EXPECT_TRUE(cut.ends_with("\xC3\xA9"));

    // A program started while the log is open does not get its file.
    const auto child = platform::RunAndWait({"/bin/sh", "-c", "ls -l /proc/self/fd/ >&2"}, {.keptErrorBytes = 8192});
    ASSERT_TRUE(child.started);
    EXPECT_FALSE(Holds(child.errorText, "Log(")) << child.errorText;
}

TEST_F(LoggerTest, ANegativeLevelWritesToStandardOutputOtherwiseTheNextFolderThenStandardErrorTakeTheLines)
{
    auto logger = MakeLogger();
    ::testing::internal::CaptureStdout();
    logger.Init("Velmora", -1);
    logger.Printf(4, "detail on the terminal");
    const auto out = ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(std::filesystem::exists(scratch / "logs"));
    EXPECT_TRUE(logger.Path().empty());
    EXPECT_TRUE(Holds(out, "detail on the terminal") && !Holds(out, "Beginning Logging Session")) << out;

    WriteFile(scratch / "blocked", "a file where the folder should be");
    auto fallback = MakeLogger({scratch / "blocked" / "logs", scratch / "state" / "logs"});
    ::testing::internal::CaptureStderr();
    fallback.Init("Velmora", 1);
    fallback.Printf(1, "to the file only");
    fallback.SetEcho(true);
    fallback.Printf(1, "to the terminal too");
    const auto echoed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(fallback.Path().parent_path(), scratch / "state" / "logs");
    EXPECT_TRUE(!Holds(echoed, "to the file only") && Holds(echoed, "to the terminal too")) << echoed;

    // Standard output belongs to the program: a log with nowhere to go says it on standard error.
    auto nowhere = MakeLogger({scratch / "blocked" / "logs"});
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    nowhere.Init("Velmora", 1);
    nowhere.Printf(1, "still said");
    EXPECT_TRUE(Holds(::testing::internal::GetCapturedStderr(), "still said"));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(nowhere.Path().empty());
}

}  // namespace
}  // namespace velmora::log
