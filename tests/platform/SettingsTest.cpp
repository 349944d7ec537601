#include "settings/Settings.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

TEST(SettingsTest, ReadsNameValueLinesAndSkipsCommentsAndJunk)
{
    const auto settings = Settings::FromText("# machine settings\n  LogLevel = 4\r\nCddbServer=localhost:8880\n"
                                             "no equals sign here\n=value without a name\n   # indented comment\n"
                                             "UpdateServer=\nDrives=X=/media/disc.cue;Y=/srv/folder\nLast=6\nLast=7");
    EXPECT_EQ(settings.GetInt("LogLevel", 1), 4);
    EXPECT_EQ(settings.GetInt("Last", 1), 7);   // the last line wins
    EXPECT_EQ(settings.GetString("CddbServer", "gnudb.gnudb.org"), "localhost:8880");
    EXPECT_EQ(settings.Get("UpdateServer"), "");
    EXPECT_EQ(settings.GetString("Drives", ""), "X=/media/disc.cue;Y=/srv/folder");
    EXPECT_FALSE(settings.Get("no equals sign here") || settings.Get(""));
}

TEST(SettingsTest, MissingOrMalformedValuesGiveTheDefault)
{
    const auto settings = Settings::FromText("LogLevel=four\nBig=99999999999\nNegative=-1\nPlus=+2\nEmpty=");
    for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{
             {"LogLevel", 1}, {"Big", 1}, {"Negative", -1}, {"Plus", 2}, {"Empty", 1}, {"Absent", 1}})
        EXPECT_EQ(settings.GetInt(name, 1), value) << name;
    EXPECT_EQ(settings.GetString("Absent", "fallback"), "fallback");
}

}  // namespace
}  // namespace velmora::platform
