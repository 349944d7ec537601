#include "core/LumetraBinding.h"
#include "Lumetra.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using velmora::front::LumetraBinding;

TEST(LumetraBinding, KnowsTheNineteenExportsByTheirExactNames)
{
    EXPECT_EQ(LumetraBinding::kExportNames.size(), 19u);
    for (const char* name : {"GeTThumbNailForVideoFile", "Convert_Wav_TO_MP3", "GET_CD_TEXT_INFO", "ReadCDDB",
                             "GetCDEntry", "Convert_Join_To_Single", "GenerateDVDFiles", "Convert_MP3_TO_WAV",
                             "Convert_CD_TO_MP3"})
        EXPECT_NE(std::find(LumetraBinding::kExportNames.begin(), LumetraBinding::kExportNames.end(), name),
                  LumetraBinding::kExportNames.end())
            << name;
}

TEST(LumetraBinding, BindsWhatTheLibraryExportsAndLeavesTheRestEmpty)
{
    LumetraBinding binding;
    ASSERT_TRUE(binding.Bind(PARTIAL_LUMETRA));
    EXPECT_NE(binding.Find("GetDefaultPara"), nullptr);
    EXPECT_NE(binding.Find("Convert_Video_TO_AVI"), nullptr);
    EXPECT_EQ(binding.Find("GetPlayLength"), nullptr);
    EXPECT_EQ(binding.Unbound().size(), 17u);

    // The bound pointer calls the library's function.
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    EXPECT_EQ(binding.Get<Lumetra::GetDefaultParaFn>("GetDefaultPara")(&request), 1);
    EXPECT_EQ(request.nSampleRate, 48000);
}

TEST(LumetraBinding, RebindingReplacesEveryEntry)
{
    velmora::test::ScratchFolder folder;
    LumetraBinding binding;
    ASSERT_TRUE(binding.Bind(velmora::front::DefaultLibraryPath()));
    EXPECT_NE(binding.Find("GetPlayLength"), nullptr);
    EXPECT_FALSE(binding.Bind(folder / "libMissing.so"));
    EXPECT_EQ(binding.Unbound().size(), 19u);
    EXPECT_EQ(binding.Find("GetPlayLength"), nullptr);
}

}  // namespace
