#include "ImageBuilder.h"

#include "files/FileDescriptor.h"
#include "IsofsHandles.h"
#include "log/Log.h"
#include "mastering/Mastering.h"
#include "paths/PathParts.h"

#include <cstdio>
#include <fcntl.h>

namespace velmora::discburn {
namespace {

constexpr const char* kNoImageInterface = "Failed to create IFileSystemImage Interface";

// libisofs's per-file callback has no user data; the build runs on one thread.
thread_local BurnWindow* treeWindow = nullptr;

int ReportTreeFile(IsoImage*, IsoFileSource*)
{
    return treeWindow && treeWindow->IsCancelRequested() ? ISO_CANCELED : 1;
}

class TreeWindowScope {
public:
    explicit TreeWindowScope(BurnWindow& window) { treeWindow = &window; }
    ~TreeWindowScope() { treeWindow = nullptr; }
    TreeWindowScope(const TreeWindowScope&) = delete;
    TreeWindowScope& operator=(const TreeWindowScope&) = delete;
};

std::string Formatted(const char* format, const std::string& name)
{
    std::vector<char> text(name.size() + 128);
    std::snprintf(text.data(), text.size(), format, name.c_str());
    return text.data();
}

// The name an entry takes in the image: its last element, also when the path ends in a separator.
std::string EntryName(const std::filesystem::path& path)
{
    std::string normal = path.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return std::string(platform::FileNamePart(normal));
}

// Without waiting: opening a named pipe nobody writes to would block the build for good.
bool IsReadable(const std::filesystem::path& file)
{
    return platform::FileDescriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)).valid();
}

// An empty image named after the window's date stamp; none (and the window told) when libisofs fails.
IsofsHandle<IsoImage> NewImage(BurnWindow& window)
{
    const std::string volumeName = window.DateStamp();
    if (!StartMasteringLibraries()) {
        window.SendResult(kLibraryFailed, kNoImageInterface);
        return nullptr;
    }
    IsoImage* created = nullptr;
    if (const int made = iso_image_new(volumeName.c_str(), &created); made < 0) {
        window.SendResult(made, kNoImageInterface);
        return nullptr;
    }
    IsofsHandle<IsoImage> image(created);
    iso_image_set_volume_id(image.get(), volumeName.c_str());
    return image;
}

// Adds one entry under the root; false when the build must stop (the window has been told why).
bool AddEntry(BurnWindow& window, IsoImage* image, const ImageEntry& entry)
{
    const std::string name = EntryName(entry.path);
    const std::string path = std::filesystem::absolute(entry.path).lexically_normal().string();
    window.SendStatus(Formatted("Adding \"%s\" to file system...", name));
    IsoDir* root = iso_image_get_root(image);
    if (entry.folder) {
        IsoDir* folder = nullptr;
        int added = iso_tree_add_new_dir(root, name.c_str(), &folder);
        if (added >= 0) added = iso_tree_add_dir_rec(image, folder, path.c_str());
        // A cancel inside the folder is told below, like one between entries.
        if (added < 0 && added != static_cast<int>(ISO_CANCELED)) {
            window.SendResult(added, Formatted("Failed IFsiDirectoryItem->AddTree(%s)!", name));
            return false;
        }
    } else if (IsReadable(entry.path)) {
        if (const int added = iso_tree_add_new_node(image, root, name.c_str(), path.c_str(), nullptr); added < 0) {
            window.SendResult(added, Formatted("Failed IFsiDirectoryItem->AddFile(%s)!", name));
            return false;
        }
    } else {
        LogMessage(2, "Left out of the image, cannot be read: %s", path.c_str());
    }
    if (window.IsCancelRequested()) {
        window.SendResult(0, "User Canceled!");
        return false;
    }
    return true;
}

// The image as a stream with its layout fixed; none (and the window told) when libisofs fails.
std::unique_ptr<ImageStream> StreamOf(BurnWindow& window, IsofsHandle<IsoImage> image)
{
    IsoWriteOpts* newOptions = nullptr;
    ::burn_source* produced = nullptr;
    int made = iso_write_opts_new(&newOptions, 0);
    const IsofsHandle<IsoWriteOpts> options(newOptions);
    if (made >= 0) {
        // Level 3 lets files of 4 GiB and more span several extents.
        iso_write_opts_set_iso_level(options.get(), 3);
        iso_write_opts_set_rockridge(options.get(), 1);
        iso_write_opts_set_joliet(options.get(), 1);
        iso_write_opts_set_joliet_long_names(options.get(), 1);
        made = iso_image_create_burn_source(image.get(), options.get(), &produced);
    }
    if (made < 0 || !produced) {
        window.SendResult(made < 0 ? made : kImageBuildFailed, "Failed IFileSystemImage->CreateResultImage!");
        return nullptr;
    }
    // Without the block where the contents start, the image can only be streamed.
    std::uint32_t dataStart = 0;
    if (iso_write_opts_get_data_start(options.get(), &dataStart, 0) != 1) dataStart = 0;
    return std::make_unique<ImageStream>(reinterpret_cast<BurnSource*>(produced), image.release(), dataStart);
}

}  // namespace

std::unique_ptr<ImageStream> BuildImage(BurnWindow& window, const std::vector<ImageEntry>& entries)
{
    auto image = NewImage(window);
    if (!image) return nullptr;
    window.SendStatus(window.UiText(BurnWindow::kCreatingFileSystemRow));
    iso_tree_set_report_callback(image.get(), ReportTreeFile);
    const TreeWindowScope scope(window);
    for (const auto& entry : entries)
        if (!AddEntry(window, image.get(), entry)) return nullptr;
    return StreamOf(window, std::move(image));
}

std::unique_ptr<ImageStream> BuildImageFromList(BurnWindow& window, const std::vector<std::filesystem::path>& paths)
{
    std::vector<ImageEntry> entries;
    for (const auto& path : paths) {
        std::error_code error;
        entries.push_back({path, std::filesystem::is_directory(path, error)});
    }
    return BuildImage(window, entries);
}

}  // namespace velmora::discburn
