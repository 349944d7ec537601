// Creates an ISO file from a tree of about 300 MB the way the Create ISO File job does, and
// compares it with xorriso making the same image and with cat copying the same files (the limit).

#include "BenchSupport.h"
#include "writers/DiscFormatData.h"
#include "image/ImageBuilder.h"
#include "paths/ToolLocator.h"
#include "process/Process.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using velmora::discburn::BurnWindow;
using velmora::discburn::HResult;
using velmora::discburn::WriteProgress;

constexpr int kRounds = 3;

class QuietWindow : public BurnWindow {
public:
    int SendProgress(const WriteProgress&) override { return 1; }
    void SendStatus(const std::string&) override {}
    void SendResult(HResult hr, const std::string& text) override { std::fprintf(stderr, "%s (0x%08x)\n", text.c_str(), static_cast<unsigned>(hr)); }
    bool IsCancelRequested() override { return false; }
    std::string DateStamp() override { return "BENCH"; }
    std::string UiText(int) override { return {}; }
    void ShowError(int) override {}
};

// 24 folders of 10 files of 1 MiB, 2 of 20 MiB, and 16 files of 1 MiB at the top: 296 MiB.
std::vector<std::filesystem::path> MakeTree(const std::filesystem::path& root)
{
    std::mt19937_64 random(42);
    std::string block(1 << 20, '\0');
    const auto fill = [&](const std::filesystem::path& file, int mebibytes) {
        std::ofstream out(file, std::ios::binary);
        for (int at = 0; at < mebibytes; ++at) {
            for (std::size_t word = 0; word < block.size(); word += 8) {
                const auto value = random();
                std::memcpy(block.data() + word, &value, 8);
            }
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    };
    std::vector<std::filesystem::path> files;
    for (int folder = 0; folder < 24; ++folder) {
        const auto dir = root / ("folder" + std::to_string(folder)) / "inner";
        std::filesystem::create_directories(dir);
        for (int file = 0; file < 10; ++file) files.push_back(dir / ("file" + std::to_string(file) + ".dat"));
    }
    for (int file = 0; file < 16; ++file) files.push_back(root / ("top" + std::to_string(file) + ".dat"));
    for (const auto& file : files) fill(file, 1);
    for (int file = 0; file < 2; ++file) {
        files.push_back(root / ("large" + std::to_string(file) + ".dat"));
        fill(files.back(), 20);
    }
    return files;
}

// cat of the files into one output file.
bool Cat(const std::vector<std::filesystem::path>& files, const std::filesystem::path& output)
{
    std::vector<std::string> words{"cat"};
    for (const auto& file : files) words.push_back(file.string());
    std::vector<char*> arguments;
    for (auto& word : words) arguments.push_back(word.data());
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    const std::string cat = velmora::platform::FindTool("cat").string();
    const bool started = posix_spawn(&child, cat.c_str(), &actions, nullptr, arguments.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return started && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main()
{
    velmora::bench::Workspace workspace;
    const auto tree = workspace.path() / "tree";
    std::filesystem::create_directory(tree);
    const auto files = MakeTree(tree);
    std::vector<std::filesystem::path> entries;
    for (const auto& entry : std::filesystem::directory_iterator(tree)) entries.push_back(entry.path());
    const auto xorriso = velmora::platform::FindTool("xorriso");
    if (xorriso.empty()) {
        std::fprintf(stderr, "xorriso is not installed\n");
        return 1;
    }

    bool failed = false;
    const auto ours = [&] {
        QuietWindow window;
        auto image = velmora::discburn::BuildImageFromList(window, entries);
        velmora::discburn::CDiscFormatData writer;
        failed |= !image || !writer.CreateISO(image.get(), &window, workspace.path() / "ours.iso");
    };
    const auto reference = [&] {
        const auto outcome = velmora::platform::RunAndWait(
            {xorriso.string(), "-as", "mkisofs", "-J", "-R", "-o", (workspace.path() / "xorriso.iso").string(), tree.string()});
        failed |= !outcome.started || outcome.exitStatus != 0;
    };
    const auto limit = [&] { failed |= !Cat(files, workspace.path() / "cat.out"); };

    limit();   // the tree is in the page cache for every contender
    const auto seconds = velmora::bench::FastestSeconds(kRounds, {ours, reference, limit});
    if (failed) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    const double mebibytes = static_cast<double>(std::filesystem::file_size(workspace.path() / "cat.out")) / (1 << 20);
    std::printf("Create ISO File of %.0f MiB (best of %d)\n", mebibytes, kRounds);
    std::printf("  CreateISO          %6.3f s  %7.1f MiB/s\n", seconds[0], mebibytes / seconds[0]);
    std::printf("  xorriso -as mkisofs %5.3f s  %7.1f MiB/s\n", seconds[1], mebibytes / seconds[1]);
    std::printf("  cat                %6.3f s  %7.1f MiB/s\n", seconds[2], mebibytes / seconds[2]);
    std::printf("  xorriso / CreateISO time: %.2f (goal >= 1)\n", seconds[1] / seconds[0]);
    std::printf("  cat / CreateISO time:     %.2f (goal >= 0.5)\n", seconds[2] / seconds[0]);
    std::printf("  image sizes: %ju and %ju bytes\n",
                static_cast<std::uintmax_t>(std::filesystem::file_size(workspace.path() / "ours.iso")),
                static_cast<std::uintmax_t>(std::filesystem::file_size(workspace.path() / "xorriso.iso")));
    return 0;
}
