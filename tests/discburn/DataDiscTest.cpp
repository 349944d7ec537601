// Data discs and ISO files. An ISO file gets its files' contents copied straight into place; those
// are compared with the image libisofs streams whole, and read back.

#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "image/ImageBuilder.h"
#include "image/IsoCheck.h"
#include "recorders/RecorderDevice.h"
#include "writers/DiscFormatData.h"
#include "files/FileDescriptor.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

// Cancels as soon as the writer's temporary file holds data, so the cancel falls inside the write.
std::function<int(const WriteProgress&)> CancelOnceDataShows(const std::filesystem::path& folder, bool& sawPartial)
{
    return [folder, &sawPartial](const WriteProgress&) {
        for (const auto& name : HiddenFiles(folder))
            if (std::filesystem::file_size(folder / name) > 0) sawPartial = true;
        return sawPartial ? 0 : 1;
    };
}

class DataDiscTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(scratch / "source/Holiday Photos/Day One");
        WriteFile(scratch / "source/Read Me First.txt", "two files and a folder\n");
        WriteFile(scratch / "source/numbers.csv", "1,2,3\n");
        WriteFile(scratch / "source/Holiday Photos/beach.jpg", std::string(5000, 'b'));
        WriteFile(scratch / "source/Holiday Photos/Day One/morning.jpg", "sunrise");
        std::filesystem::create_directory(scratch / "discs");
    }

    std::vector<std::filesystem::path> BurnList() const
    {
        const auto source = scratch / "source";
        return {source / "Read Me First.txt", source / "Holiday Photos", source / "numbers.csv"};
    }

    // The data-disc job: take the recorder, initialise with the media check, look for a blank
    // disc, build and write. Returns whether the media was blank.
    bool BurnData(const std::string& recorderId, RecordingWindow& window, CDiscFormatData& writer)
    {
        CRecorderDevice device;
        EXPECT_TRUE(device.Open(recorderId) && device.AcquireExclusive(kClientName));
        EXPECT_TRUE(writer.Initialize(&device, kClientName, false)) << writer.errorText;
        if (!writer.IsBlankMedia()) return false;
        auto image = BuildImageFromList(window, BurnList());
        EXPECT_TRUE(image && writer.Write(image.get(), &window));
        device.Eject();
        device.ReleaseExclusive();
        return true;
    }

    ScratchFolder scratch;
};

TEST_F(DataDiscTest, ADataBurnHoldsTheFilesAndTheFolderByItsOwnNameAndASecondFindsTheMediaWritten)
{
    const auto target = scratch / "discs/data.iso";
    RecordingWindow window;
    CDiscFormatData writer;
    ASSERT_TRUE(BurnData("stdio:" + target.string(), window, writer));
    EXPECT_EQ(writer.hr, kOk) << writer.errorText;
    EXPECT_TRUE(writer.errorText.empty() && window.results.empty() && HiddenFiles(scratch / "discs").empty());
    EXPECT_EQ(WhyNotWholeIsoImage(target), std::nullopt);

    const std::map<std::string, std::uint64_t> tree{
        {"Read Me First.txt", 23}, {"numbers.csv", 6}, {"Holiday Photos/", 0}, {"Holiday Photos/beach.jpg", 5000},
        {"Holiday Photos/Day One/", 0}, {"Holiday Photos/Day One/morning.jpg", 7}};
    const auto rockRidge = ReadIsoImage(target, false), joliet = ReadIsoImage(target, true);
    EXPECT_TRUE(rockRidge.hasRockRidge && joliet.hasJoliet);
    EXPECT_EQ(rockRidge.volumeId, "2009_11_18");   // the window's date stamp
    EXPECT_EQ(rockRidge.files, tree);
    EXPECT_EQ(joliet.files, tree);
    EXPECT_EQ(rockRidge.contents.at("Holiday Photos/Day One/morning.jpg"), "sunrise");
    EXPECT_EQ(window.statuses, (std::vector<std::string>{"Creating File System...",
                                                         "Adding \"Read Me First.txt\" to file system...",
                                                         "Adding \"Holiday Photos\" to file system...",
                                                         "Adding \"numbers.csv\" to file system..."}));
    EXPECT_EQ(std::pair(window.progress.front().action, window.progress.back().action),
              std::pair(+kValidatingMedia, +kCompleted));

    const auto written = ReadFile(target);
    RecordingWindow second;
    CDiscFormatData again;
    EXPECT_FALSE(BurnData("stdio:" + target.string(), second, again));
    EXPECT_EQ(again.errorText, "Media is not Blank.");
    EXPECT_EQ(ReadFile(target), written);
}

TEST_F(DataDiscTest, TheWriterTakesOnlyRecordersAndMediaItCanWriteAndOnlyTheSignatureMakesAnImage)
{
    WriteFile(scratch / "discs/text.iso", "not an image");
    CRecorderDevice cue, image, text;
    ASSERT_TRUE(cue.Open("cue:" + (scratch / "discs/audio.cue").string()));
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "discs/new.iso").string()));
    ASSERT_TRUE(text.Open("stdio:" + (scratch / "discs/text.iso").string()));
    CDiscFormatData none, audioOnly, badClient, blank, written;
    EXPECT_FALSE(none.Initialize(nullptr, kClientName, false) || audioOnly.Initialize(&cue, kClientName, false) ||
                 badClient.Initialize(&image, "a/b", false));
    EXPECT_EQ(audioOnly.errorText, "Recorder not supported");
    ASSERT_TRUE(blank.Initialize(&image, kClientName, false) && written.Initialize(&text, kClientName, false));
    EXPECT_TRUE(blank.IsBlankMedia());
    EXPECT_FALSE(written.IsBlankMedia());   // anything in the file that is not an ISO image

    // Only the signature at its place makes an image, and only all the blocks it declares a whole one.
    std::string bytes(40000, '\0');
    WriteFile(scratch / "a.iso", bytes.replace(32769, 5, "CD001"));
    WriteFile(scratch / "b.ISO", std::string(bytes).replace(32769, 5, "CD002"));
    WriteFile(scratch / "short.iso", std::string(32772, '\0') + "CD001");
    bytes[32768] = 1;                                      // the primary volume descriptor
    WriteFile(scratch / "cut.iso", bytes.replace(32768 + 80, 4, std::string("\xe8\x03\0\0", 4))   // 1000 blocks
                                       .replace(32768 + 128, 2, std::string("\0\x08", 2)));       // of 2048 bytes
    EXPECT_EQ(WhyNotWholeIsoImage(scratch / "a.iso"), std::nullopt);
    ASSERT_EQ(::mkfifo((scratch / "pipe.iso").c_str(), 0600), 0);   // refused at once, not waited on
    for (const char* other : {"b.ISO", "short.iso", "missing.iso", "discs/text.iso", "pipe.iso"})
        EXPECT_EQ(WhyNotWholeIsoImage(scratch / other), "not an ISO 9660 image") << other;
    EXPECT_EQ(WhyNotWholeIsoImage(scratch / "cut.iso"), "an ISO 9660 image cut short (it holds 39 KB of the 2000 KB it declares)");
    bytes.resize(1000 * 2048);
    WriteFile(scratch / "cut.iso", bytes);
    EXPECT_EQ(WhyNotWholeIsoImage(scratch / "cut.iso"), std::nullopt);
}

TEST_F(DataDiscTest, CreateIsoWritesTheReadableFilesInPlaceOfAnOldFileOrSaysWhyNotAndTheBuildStopsOnCancelOrAClash)
{
    const auto iso = scratch / "discs/made.iso";
    WriteFile(iso, std::string(100000, 'x'));
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("stdio:" + (scratch / "discs/recorder.iso").string()));
    CDiscFormatData writer;
    ASSERT_TRUE(writer.Initialize(&device, kClientName, true));
    RecordingWindow window;
    auto list = BurnList();
    list.push_back(scratch / "source/gone.txt");   // what cannot be read is left out
    // A named pipe nobody writes to is no reason to wait: the build ends (or the alarm ends the test).
    ASSERT_EQ(::mkfifo((scratch / "source/pipe").c_str(), 0600), 0);
    list.push_back(scratch / "source/pipe");
    ::alarm(60);
    auto image = BuildImageFromList(window, list);
    ::alarm(0);
    ASSERT_TRUE(image);
    EXPECT_TRUE(writer.CreateISO(image.get(), &window, iso));
    EXPECT_EQ(std::tuple(writer.hr, std::filesystem::file_size(iso), window.results.size()),
              std::tuple(kOk, image->Size(), 0u));
    EXPECT_EQ(ReadIsoImage(iso, false).files.size(), 6u);
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/recorder.iso"));   // no disc is written

    CDiscFormatData nowhere;
    image = BuildImageFromList(window, BurnList());
    EXPECT_FALSE(nowhere.CreateISO(image.get(), &window, scratch / "no/such/folder/x.iso"));
    EXPECT_EQ(nowhere.errorText, "IDiscFormat2Data->CreateISO Failed - Error:0x8ba00006");
    EXPECT_FALSE(nowhere.CreateISO(nullptr, &window, scratch / "discs/x.iso"));
}

TEST_F(DataDiscTest, ACancelledWriteOrIsoFileLeavesNoPartialFileAndKeepsTheOldOne)
{
    MakeSpottedFile(scratch / "source/large.bin", 384ull << 20);
    const auto target = scratch / "discs/cancelled.iso", iso = scratch / "discs/old.iso";
    WriteFile(iso, "the image made yesterday");
    CRecorderDevice device;
    CDiscFormatData writer, isoWriter;
    ASSERT_TRUE(device.Open("stdio:" + target.string()) && writer.Initialize(&device, kClientName, false));
    for (const bool toIso : {false, true}) {
        RecordingWindow window;
        bool sawPartial = false;
        window.reply = CancelOnceDataShows(scratch / "discs", sawPartial);
        const auto image = BuildImageFromList(window, {scratch / "source/large.bin"});
        ASSERT_TRUE(image);
        if (toIso) EXPECT_FALSE(isoWriter.CreateISO(image.get(), &window, iso));
        else EXPECT_TRUE(writer.Write(image.get(), &window));   // the cancel shows in the result code
        EXPECT_TRUE(sawPartial && (toIso ? isoWriter : writer).hr == kCancelled) << toIso;
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(ReadFile(iso), "the image made yesterday");
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());

    // The build stops on cancel and on clashing names.
    RecordingWindow cancelled;
    cancelled.cancelRequest = [] { return true; };
    EXPECT_FALSE(BuildImageFromList(cancelled, BurnList()));
    EXPECT_EQ(cancelled.results, (std::vector<std::pair<HResult, std::string>>{{0, "User Canceled!"}}));
    EXPECT_EQ(cancelled.statuses.size(), 2u);   // stopped after the first entry

    std::filesystem::create_directory(scratch / "other");
    WriteFile(scratch / "other/numbers.csv", "4,5\n");
    RecordingWindow clash;
    EXPECT_FALSE(BuildImageFromList(clash, {scratch / "source/numbers.csv", scratch / "other/numbers.csv"}));
    ASSERT_EQ(clash.results.size(), 1u);
    EXPECT_LT(clash.results[0].first, 0);
    EXPECT_EQ(clash.results[0].second, "Failed IFsiDirectoryItem->AddFile(numbers.csv)!");
}

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
    struct stat status{};
    EXPECT_TRUE(::stat(iso.c_str(), &status) == 0 && status.st_blocks < (128 << 10)) << "the holes were written out";
    const auto read = ReadIsoImage(iso, false);
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
    // Each keeps the size it had when it was added.
    EXPECT_EQ(read.contents.at("one.txt"), "1");
    EXPECT_EQ(read.contents.at("past a block.bin").size(), 2049u);
    EXPECT_TRUE(read.contents.at("Music/cover.jpg") == cover);
}

}  // namespace
}  // namespace velmora::discburn
