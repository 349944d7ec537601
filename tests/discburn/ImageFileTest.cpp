// An ISO file gets its files' contents copied straight into place; these compare it with the
// image libisofs streams whole, and read it back.

#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "files/FileDescriptor.h"
#include "image/ImageBuilder.h"
#include "writers/DiscFormatData.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

std::string RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

void WriteAt(const std::filesystem::path& file, std::uint64_t offset, const std::string& bytes)
{
    const platform::FileDescriptor out(::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    EXPECT_EQ(::pwrite(out.get(), bytes.data(), bytes.size(), static_cast<off_t>(offset)),
              static_cast<ssize_t>(bytes.size()));
}

// The bytes of the image where a file's byte at offset lies, by the extents read back from its directory.
std::string ReadInImage(const std::filesystem::path& iso, const std::vector<ReadImage::Extent>& extents,
                        std::uint64_t offset, std::size_t count)
{
    for (const auto& extent : extents) {
        if (offset < extent.size) {
            std::string bytes(count, '\0');
            const platform::FileDescriptor in(::open(iso.c_str(), O_RDONLY | O_CLOEXEC));
            const ssize_t read = ::pread(in.get(), bytes.data(), count, static_cast<off_t>(extent.offset + offset));
            bytes.resize(read < 0 ? 0 : static_cast<std::size_t>(read));
            return bytes;
        }
        offset -= extent.size;
    }
    ADD_FAILURE() << "past the extents";
    return {};
}

std::uint64_t BytesOnDisk(const std::filesystem::path& file)
{
    struct stat status{};
    return ::stat(file.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_blocks) * 512 : 0;
}

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto tree = scratch / "tree";
        std::filesystem::create_directories(tree / "Music/Album");
        WriteFile(tree / "empty.txt", "");
        WriteFile(tree / "one.txt", "1");
        WriteFile(tree / "almost a block.bin", RandomBytes(2047, 1));
        WriteFile(tree / "a block.bin", RandomBytes(2048, 2));
        WriteFile(tree / "past a block.bin", RandomBytes(2049, 3));
        const auto track = tree / "Music/Album/Música — «größe» 音楽.bin";
        WriteFile(track, RandomBytes(3 << 20, 4));
        WriteFile(tree / "Music/cover.jpg", RandomBytes(70000, 5));
        std::filesystem::create_hard_link(track, tree / "Music/Album/same.bin");
        std::filesystem::create_symlink("cover.jpg", tree / "Music/link to cover");
        // Data only here and there, holes between.
        WriteAt(tree / "holes.bin", 3 << 20, RandomBytes(5000, 6));
        WriteAt(tree / "holes.bin", (6 << 20) - 100, RandomBytes(100, 7));
        std::filesystem::create_directory(scratch / "discs");
    }

    std::vector<std::filesystem::path> Entries() const
    {
        std::vector<std::filesystem::path> entries;
        for (const auto& entry : std::filesystem::directory_iterator(scratch / "tree")) entries.push_back(entry.path());
        return entries;
    }

    // Writes the image of the entries as an ISO file; the image stays for the caller.
    std::unique_ptr<ImageStream> MakeIsoFile(const std::filesystem::path& iso,
                                             const std::vector<std::filesystem::path>& entries)
    {
        RecordingWindow window;
        auto image = BuildImageFromList(window, entries);
        CDiscFormatData writer;
        EXPECT_TRUE(image && writer.CreateISO(image.get(), &window, iso)) << writer.errorText;
        return image;
    }

    ScratchFolder scratch;
};

TEST_F(ImageFileTest, TheContentsAreExactlyWhereLibisofsStreamsThemOnThisAndAnotherKindOfFileSystem)
{
    RecordingWindow window;
    auto streamed = BuildImageFromList(window, Entries());
    ASSERT_TRUE(streamed);
    {
        std::ofstream out(scratch / "discs/streamed.iso", std::ios::binary);
        std::vector<char> piece(1 << 20);
        for (long read = 0; (read = streamed->Read(piece.data(), piece.size())) > 0;) out.write(piece.data(), read);
    }
    const auto expected = ReadFile(scratch / "discs/streamed.iso");
    // The kernel copies only within one kind of file system; tmpfs takes the copy through memory.
    const auto elsewhere = [this] {
        const bool shared = std::filesystem::is_directory("/dev/shm");
        const ScopedEnvironment temporary("TMPDIR", shared ? std::string("/dev/shm") : scratch.path().string());
        return std::make_unique<ScratchFolder>();
    }();
    for (const auto& folder : {scratch / "discs", elsewhere->path()}) {
        const auto copied = MakeIsoFile(folder / "copied.iso", Entries());
        const auto made = ReadFile(folder / "copied.iso");
        ASSERT_TRUE(copied && made.size() == expected.size()) << folder;
        // The blocks before the contents come from libisofs either way, and two builds differ there
        // in times and inode numbers.
        const std::size_t dataStart = copied->DataStartBlock() * 2048ull;
        ASSERT_EQ(dataStart, streamed->DataStartBlock() * 2048ull);
        ASSERT_GT(dataStart, 16u * 2048);
        EXPECT_TRUE(made.compare(dataStart, std::string::npos, expected, dataStart) == 0) << folder;
    }
}

TEST_F(ImageFileTest, AFileOfMoreThanFourGibibytesSpansExtentsWhole)
{
    // Sparse, with marks on both sides of where the first extent must end.
    const auto huge = scratch / "huge.bin";
    const std::uint64_t size = (4ull << 30) + 12345, extentLimit = 0xFFFFF800ull;
    const std::vector<std::pair<std::uint64_t, std::string>> marks{
        {0, "first"}, {extentLimit - 6, "before"}, {extentLimit, "after"}, {size - 4, "last"}};
    for (const auto& [offset, mark] : marks) WriteAt(huge, offset, mark);
    ASSERT_EQ(std::filesystem::file_size(huge), size);

    const auto iso = scratch / "discs/huge.iso";
    const auto image = MakeIsoFile(iso, {huge, scratch / "tree/one.txt"});
    ASSERT_TRUE(image);
    EXPECT_EQ(std::filesystem::file_size(iso), image->Size());
    EXPECT_LT(BytesOnDisk(iso), 64u << 20) << "the holes were written out";
    const auto read = ReadIsoImage(iso, false);
    ASSERT_TRUE(read.read);
    EXPECT_EQ(read.files.at("huge.bin"), size);
    EXPECT_EQ(read.contents.at("one.txt"), "1");
    const auto& extents = read.extents.at("huge.bin");
    ASSERT_EQ(extents.size(), 2u);
    EXPECT_EQ(extents[0].size, extentLimit);
    for (const auto& [offset, mark] : marks) EXPECT_EQ(ReadInImage(iso, extents, offset, mark.size()), mark) << offset;
    EXPECT_EQ(ReadInImage(iso, extents, 1000, 4), std::string(4, '\0'));   // a hole of the source
}

TEST_F(ImageFileTest, FilesChangedSinceTheBuildStillGiveACompleteImage)
{
    RecordingWindow window;
    auto image = BuildImageFromList(window, Entries());
    ASSERT_TRUE(image);
    const std::string cover = ReadFile(scratch / "tree/Music/cover.jpg");
    WriteFile(scratch / "tree/one.txt", "1 and more");
    WriteFile(scratch / "tree/past a block.bin", "cut short");
    CDiscFormatData writer;
    ASSERT_TRUE(writer.CreateISO(image.get(), &window, scratch / "discs/changed.iso")) << writer.errorText;
    EXPECT_EQ(std::filesystem::file_size(scratch / "discs/changed.iso"), image->Size());
    const auto read = ReadIsoImage(scratch / "discs/changed.iso", false);
    ASSERT_TRUE(read.read);
    // Each keeps the size it had when it was added.
    EXPECT_EQ(read.contents.at("one.txt"), "1");
    EXPECT_EQ(read.contents.at("past a block.bin").size(), 2049u);
    EXPECT_TRUE(read.contents.at("Music/cover.jpg") == cover);
}

}  // namespace
}  // namespace velmora::discburn
