#include "paths/PathParts.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

struct Parts {
    const char* path;
    const char* name;
    const char* title;
    const char* extension;
    const char* lowerExtension;
};

TEST(PathPartsTest, SplitTheLastElementIntoTitleAndExtension)
{
    for (const auto& parts : {Parts{"/a/b/clip.tar.GZ", "clip.tar.GZ", "clip.tar", ".GZ", ".gz"},
                              Parts{"clip.AVI", "clip.AVI", "clip", ".AVI", ".avi"},
                              Parts{"/a.d/README", "README", "README", "", ""},
                              Parts{"/home/u/.profile", ".profile", ".profile", "", ""},
                              Parts{"/home/u/.config.old", ".config.old", ".config", ".old", ".old"},
                              Parts{"dots/..", "..", "..", "", ""},
                              Parts{"trailing.", "trailing.", "trailing", ".", "."},
                              Parts{"/a/folder/", "", "", "", ""},
                              Parts{"D:\\Track03.CDA", "Track03.CDA", "Track03", ".CDA", ".cda"},
                              Parts{"x\\y.wav", "x\\y.wav", "x\\y", ".wav", ".wav"},
                              Parts{"", "", "", "", ""}}) {
        EXPECT_EQ(FileNamePart(parts.path), parts.name) << parts.path;
        EXPECT_EQ(TitlePart(parts.path), parts.title) << parts.path;
        EXPECT_EQ(ExtensionPart(parts.path), parts.extension) << parts.path;
        EXPECT_EQ(LowerExtension(parts.path), parts.lowerExtension) << parts.path;
    }
}

}  // namespace
}  // namespace velmora::platform
