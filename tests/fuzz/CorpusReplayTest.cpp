// Every seed corpus file through its fuzz target, in the sanitizer build: inputs that once broke
// a parser stay in the corpus, so they keep being tried on every change.

#include "FuzzTarget.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

using velmora::fuzz::Targets;
const std::filesystem::path kCorpus = VELMORA_FUZZ_CORPUS;

std::vector<std::string> TargetNames()
{
    std::vector<std::string> names;
    for (const auto& [name, entry] : Targets()) names.push_back(name);
    return names;
}

class FuzzCorpusTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzCorpusTest, EveryCorpusFileKeepsTheTargetsChecks)
{
    const auto folder = kCorpus / GetParam();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    EXPECT_GE(files.size(), 3u) << folder << " needs a handful of meaningful inputs";
    for (const auto& file : files) {
        // A sanitizer report ends the program without a word of which file it came from.
        std::fprintf(stderr, "%s\n", file.c_str());
        velmora::fuzz::SetCurrentInput(file.string());
        Targets().at(GetParam())(velmora::test::ReadFile(file));
    }
    velmora::fuzz::SetCurrentInput({});
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpusTest, ::testing::ValuesIn(TargetNames()),
                         [](const auto& target) { return target.param; });

TEST(FuzzCorpusFoldersTest, EachBelongsToATarget)
{
    std::set<std::string> folders;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) folders.insert(entry.path().filename());
    const auto names = TargetNames();
    EXPECT_EQ(folders, std::set<std::string>(names.begin(), names.end()));
}

}  // namespace
