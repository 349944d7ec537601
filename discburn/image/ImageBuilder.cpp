#include "ImageBuilder.h"

#include "log/Log.h"
#include "IsofsHandles.h"
#include "mastering/Mastering.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace velmora::discburn {
namespace {

// libisofs's per-file callback has no user data; the build runs on one thread.
thread_local BurnWindow* treeWindow = nullptr;

int ReportTreeFile(IsoImage*, IsoFileSource*)
{
    return treeWindow && treeWindow->IsCancelRequested() ? ISO_CANCELED : 1;
}

std::string Formatted(const char* format, const std::string& name)
{
    std::vector<char> text(name.size() + 128);
    std::snprintf(text.data(), text.size(), format, name.c_str());
    return text.data();
}

// The design's "name": the path after its last separator.
std::string EntryName(const std::filesystem::path& path)
{
    auto name = path.lexically_normal().filename().string();
    if (name.empty()) name = path.lexically_normal().parent_path().filename().string();
    return name;
}

bool IsReadable(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

class TreeWindowScope {
public:
    explicit TreeWindowScope(BurnWindow& window) { treeWindow = &window; }
    ~TreeWindowScope() { treeWindow = nullptr; }
    TreeWindowScope(const TreeWindowScope&) = delete;
    TreeWindowScope& operator=(const TreeWindowScope&) = delete;
};

}  // namespace

std::unique_ptr<ImageStream> BuildImage(BurnWindow& window, const std::vector<ImageEntry>& entries)
{
    const std::string volumeName = window.DateStamp();
    if (!StartMasteringLibraries()) {
        window.SendResult(kLibraryFailed, "Failed to create IFileSystemImage Interface");
        return nullptr;
    }
    IsoImage* created = nullptr;
    if (const int made = iso_image_new(volumeName.c_str(), &created); made < 0) {
        window.SendResult(made, "Failed to create IFileSystemImage Interface");
        return nullptr;
    }
    IsofsHandle<IsoImage> image(created);
    window.SendStatus(window.UiText(BurnWindow::kCreatingFileSystemRow));
    iso_image_set_volume_id(image.get(), volumeName.c_str());
    iso_tree_set_report_callback(image.get(), ReportTreeFile);
    TreeWindowScope scope(window);

    IsoDir* root = iso_image_get_root(image.get());
    for (const auto& entry : entries) {
        const std::string name = EntryName(entry.path);
        const std::string path = std::filesystem::absolute(entry.path).lexically_normal().string();
        window.SendStatus(Formatted("Adding \"%s\" to file system...", name));
        if (entry.folder) {
            IsoDir* folder = nullptr;
            int added = iso_tree_add_new_dir(root, name.c_str(), &folder);
            if (added >= 0) added = iso_tree_add_dir_rec(image.get(), folder, path.c_str());
            if (added < 0 && added != static_cast<int>(ISO_CANCELED)) {
                window.SendResult(added, Formatted("Failed IFsiDirectoryItem->AddTree(%s)!", name));
                return nullptr;
            }
        } else if (IsReadable(entry.path)) {
            if (const int added = iso_tree_add_new_node(image.get(), root, name.c_str(), path.c_str(), nullptr); added < 0) {
                window.SendResult(added, Formatted("Failed IFsiDirectoryItem->AddFile(%s)!", name));
                return nullptr;
            }
        } else {
            LogMessage(2, "Left out of the image, cannot be read: %s", path.c_str());
        }
        if (window.IsCancelRequested()) {
            window.SendResult(0, "User Canceled!");
            return nullptr;
        }
    }

    IsoWriteOpts* newOptions = nullptr;
    BurnSource* source = nullptr;
    int made = iso_write_opts_new(&newOptions, 0);
    const IsofsHandle<IsoWriteOpts> options(newOptions);
    if (made >= 0) {
        // Level 3 lets files of 4 GiB and more span several extents.
        iso_write_opts_set_iso_level(options.get(), 3);
        iso_write_opts_set_rockridge(options.get(), 1);
        iso_write_opts_set_joliet(options.get(), 1);
        iso_write_opts_set_joliet_long_names(options.get(), 1);
        ::burn_source* produced = nullptr;
        made = iso_image_create_burn_source(image.get(), options.get(), &produced);
        source = reinterpret_cast<BurnSource*>(produced);
    }
    if (made < 0 || !source) {
        window.SendResult(made < 0 ? made : kImageBuildFailed, "Failed IFileSystemImage->CreateResultImage!");
        return nullptr;
    }
    // The layout is fixed once the stream exists; without its data start the image is only streamed.
    std::uint32_t dataStart = 0;
    if (iso_write_opts_get_data_start(options.get(), &dataStart, 0) != 1) dataStart = 0;
    return std::make_unique<ImageStream>(source, image.release(), dataStart);
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
