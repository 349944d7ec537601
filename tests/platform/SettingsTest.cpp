#include "ScratchFolder.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

TEST(SettingsTest, ReadsNameValueLinesAndSkipsCommentsAndJunk)
{
    const auto settings = Settings::FromText(
        "# machine settings\n"
        "  LogLevel = 4\r\n"
        "CddbServer=localhost:8880\n"
        "no equals sign here\n"
        "=value without a name\n"
        "   # indented comment\n"
        "UpdateServer=\n"
        "Drives=X=/media/disc.cue;Y=/srv/folder\n");

    EXPECT_EQ(settings.GetInt("LogLevel", 1), 4);
    EXPECT_EQ(settings.GetString("CddbServer", "gnudb.gnudb.org"), "localhost:8880");
    EXPECT_EQ(settings.Get("UpdateServer"), "");
    EXPECT_EQ(settings.GetString("Drives", ""), "X=/media/disc.cue;Y=/srv/folder");
    EXPECT_FALSE(settings.Get("no equals sign here"));
    EXPECT_FALSE(settings.Get(""));
}

TEST(SettingsTest, MissingOrMalformedValuesGiveTheDefault)
{
    const auto settings = Settings::FromText("LogLevel=four\nBig=99999999999\nNegative=-1\nLast=7");
    EXPECT_EQ(settings.GetInt("LogLevel", 1), 1);
    EXPECT_EQ(settings.GetInt("Big", 1), 1);
    EXPECT_EQ(settings.GetInt("Negative", 1), -1);
    EXPECT_EQ(settings.GetInt("Last", 1), 7);
    EXPECT_EQ(settings.GetInt("Absent", 3), 3);
    EXPECT_EQ(settings.GetString("Absent", "fallback"), "fallback");
}

TEST(SettingsTest, LoadsTheFileNamedByTheEnvironmentAndSurvivesAMissingOne)
{
    test::ScratchFolder scratch;
    test::WriteFile(scratch / "velmora.conf", "LogLevel=2\nLogLevel=3\n");
    {
        test::ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());
        EXPECT_EQ(Settings::Load().GetInt("LogLevel", 1), 3);   // the last line wins
    }
    test::ScopedEnvironment conf("VELMORA_CONF", (scratch / "absent.conf").string());
    EXPECT_EQ(Settings::Load().GetInt("LogLevel", 1), 1);
}

}  // namespace
}  // namespace velmora::platform
