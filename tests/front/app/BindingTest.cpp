#include "core/LumetraBinding.h"
#include "Lumetra.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

using velmora::front::Export;
using velmora::front::LumetraBinding;

TEST(LumetraBinding, BindsWhatTheLibraryExportsAndLeavesTheRestEmpty)
{
    LumetraBinding binding;
    ASSERT_TRUE(binding.Bind(PARTIAL_LUMETRA));
    EXPECT_TRUE(binding.Has(Export::GetDefaultPara));
    EXPECT_TRUE(binding.Has(Export::Convert_Video_TO_AVI));
    EXPECT_FALSE(binding.Has(Export::GetPlayLength));
    EXPECT_EQ(binding.GetPlayLength(), nullptr);
    EXPECT_EQ(binding.Unbound().size(), LumetraBinding::kNames.size() - 2);

    // The typed accessor calls the library's function.
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    EXPECT_EQ(binding.GetDefaultPara()(&request), 1);
    EXPECT_EQ(request.nSampleRate, 48000);

    // A conversion chosen at run time is found only among the conversions.
    EXPECT_EQ(binding.Converter(Export::Convert_Video_TO_AVI), binding.Convert_Video_TO_AVI());
    EXPECT_NE(binding.Converter(Export::Convert_Video_TO_AVI), nullptr);
    EXPECT_EQ(binding.Converter(Export::GetDefaultPara), nullptr);
}

TEST(LumetraBinding, RebindingReplacesEveryEntry)
{
    velmora::test::ScratchFolder folder;
    LumetraBinding binding;
    ASSERT_TRUE(binding.Bind(velmora::front::DefaultLibraryPath()));
    EXPECT_TRUE(binding.Unbound().empty());
    EXPECT_FALSE(binding.Bind(folder / "libMissing.so"));
    EXPECT_EQ(binding.Unbound().size(), LumetraBinding::kNames.size());
    EXPECT_FALSE(binding.Has(Export::GetPlayLength));
}

}  // namespace
