#include "DriveTable.h"
#include "text/Trim.h"

#include "CdDevice.h"
#include "CdaRecord.h"
#include "files/PlainFile.h"
#include "paths/PathParts.h"
#include "settings/Settings.h"

#include <cdio/cdio.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fnmatch.h>
#include <fstream>
#include <map>
#include <set>

namespace velmora::platform {
namespace {

constexpr char kFirstDeviceLetter = 'D';

std::vector<std::filesystem::path> OpticalDevices()
{
    std::vector<std::filesystem::path> devices;
    std::set<std::filesystem::path> seen;   // /dev/cdrom and /dev/sr0 are one drive
    char** list = cdio_get_devices(DRIVER_DEVICE);
    for (char** name = list; name && *name; ++name) {
        std::error_code error;
        const auto real = std::filesystem::weakly_canonical(*name, error);
        if (!error && seen.insert(real).second) devices.push_back(real);
    }
    cdio_free_device_list(list);
    std::sort(devices.begin(), devices.end());
    return devices;
}

// Entries of "X=/path;Y=/path"; malformed entries are left out.
std::map<char, std::filesystem::path> ParseVirtualDrives(std::string_view text)
{
    std::map<char, std::filesystem::path> drives;
    while (!text.empty()) {
        const auto end = text.find(';');
        const auto entry = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const auto equals = entry.find('=');
        if (equals == std::string_view::npos) continue;
        const auto letter = Trim(entry.substr(0, equals));
        const auto source = Trim(entry.substr(equals + 1));
        if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0])) || source.empty()) continue;
        drives[static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])))] = std::filesystem::path(source);
    }
    return drives;
}

DriveKind VirtualDriveKind(const std::filesystem::path& source)
{
    std::error_code error;
    if (std::filesystem::is_directory(source, error)) return DriveKind::Folder;
    return LowerExtension(source.native()) == ".iso" ? DriveKind::IsoImage : DriveKind::DiscImage;
}

// The part after "D:" and its separator, with '\' turned into '/'; none for a bare root.
std::string RelativePart(std::string_view path)
{
    std::string rest(path.substr(std::min<std::size_t>(2, path.size())));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    while (!rest.empty() && rest.front() == '/') rest.erase(rest.begin());
    return rest;
}

// A path below the folder; none when the relative part would climb out of it.
std::optional<std::filesystem::path> Below(const std::filesystem::path& folder, const std::string& relative)
{
    const std::filesystem::path part(relative);
    for (const auto& element : part)
        if (element == "..") return std::nullopt;
    return folder / part;
}

std::string UnescapeMountField(std::string_view field)
{
    std::string text;
    for (std::size_t at = 0; at < field.size(); ++at) {
        if (field[at] == '\\' && at + 3 < field.size() && std::isdigit(static_cast<unsigned char>(field[at + 1]))) {
            text += static_cast<char>(std::strtol(std::string(field.substr(at + 1, 3)).c_str(), nullptr, 8));
            at += 3;
        } else {
            text += field[at];
        }
    }
    return text;
}

// Where the device's disc is mounted, if it is.
std::optional<std::filesystem::path> MountPointOf(const std::filesystem::path& device)
{
    std::ifstream mounts("/proc/self/mounts");
    std::string source, target, rest;
    while (mounts >> source >> target && std::getline(mounts, rest)) {
        std::error_code error;
        const auto real = std::filesystem::weakly_canonical(UnescapeMountField(source), error);
        if (!error && real == device) return std::filesystem::path(UnescapeMountField(target));
    }
    return std::nullopt;
}

// The folder whose files a drive shows: its own folder or the mount point of its disc.
std::optional<std::filesystem::path> FilesFolderOf(const Drive& drive)
{
    switch (drive.kind) {
    case DriveKind::Folder:
        return drive.source;
    case DriveKind::OpticalDevice:
        return MountPointOf(drive.source);
    case DriveKind::DiscImage:
    case DriveKind::IsoImage:
        break;
    }
    return std::nullopt;
}

bool Matches(const std::string& pattern, const std::string& name)
{
    return ::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0;
}


}  // namespace

std::vector<AudioTrackPlace> AudioTracksOf(const Drive& drive)
{
    std::vector<AudioTrackPlace> tracks;
    const auto device = CdDevice::Open(drive);
    CDROM_TOC toc;
    if (!device || !device->ReadToc(toc)) return tracks;
    const int count = TrackCount(toc);
    for (int at = 0; at < count; ++at) {
        const auto& entry = toc.TrackData[at];
        if (IsAudio(entry))
            tracks.push_back({entry.TrackNumber, SectorOf(entry), FramesOf(toc.TrackData[at + 1]) - FramesOf(entry)});
    }
    return tracks;
}

std::optional<char> DriveLetterOf(std::string_view path)
{
    if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0]))) return std::nullopt;
    if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return std::nullopt;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
}

DriveTable DriveTable::Load()
{
    const char* variable = std::getenv(kVariable);
    const std::string virtualDrives = variable ? variable : Settings::Load().GetString(kSetting, "");
    return FromParts(OpticalDevices(), virtualDrives);
}

DriveTable DriveTable::FromParts(const std::vector<std::filesystem::path>& devices, std::string_view virtualDrives)
{
    std::map<char, Drive> byLetter;
    char letter = kFirstDeviceLetter;
    for (const auto& device : devices) {
        if (letter > 'Z') break;
        byLetter[letter] = Drive{letter, DriveKind::OpticalDevice, device};
        ++letter;
    }
    for (const auto& [virtualLetter, source] : ParseVirtualDrives(virtualDrives)) {
        byLetter[virtualLetter] = Drive{virtualLetter, VirtualDriveKind(source), source};
    }
    DriveTable table;
    for (auto& [unused, drive] : byLetter) table.drives_.push_back(std::move(drive));
    return table;
}

const Drive* DriveTable::Find(char letter) const
{
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    const auto found = std::find_if(drives_.begin(), drives_.end(), [&](const Drive& drive) { return drive.letter == letter; });
    return found == drives_.end() ? nullptr : &*found;
}

const Drive* DriveTable::FindByPath(std::string_view path) const
{
    const auto letter = DriveLetterOf(path);
    return letter ? Find(*letter) : nullptr;
}

DriveType DriveTable::TypeOfRoot(std::string_view root) const
{
    const auto letter = DriveLetterOf(root);
    if (!letter || !RelativePart(root).empty()) return DriveType::NoRootDir;
    return Find(*letter) ? DriveType::CdRom : DriveType::NoRootDir;
}

std::vector<std::string> DriveTable::FindFiles(std::string_view pattern) const
{
    std::vector<std::string> names;
    const Drive* drive = FindByPath(pattern);
    const std::string wanted = RelativePart(pattern);
    if (!drive || wanted.empty() || wanted.find('/') != std::string::npos) return names;

    for (const auto& track : AudioTracksOf(*drive)) {
        auto name = CdaFileName(track.number);
        if (Matches(wanted, name)) names.push_back(std::move(name));
    }
    if (const auto folder = FilesFolderOf(*drive)) {
        std::error_code error;
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(*folder, error)) {
            auto name = entry.path().filename().string();
            if (Matches(wanted, name)) files.push_back(std::move(name));
        }
        std::sort(files.begin(), files.end());
        names.insert(names.end(), files.begin(), files.end());
    }
    return names;
}

std::optional<std::string> DriveTable::ReadFileHead(std::string_view path, std::size_t limit) const
{
    if (!DriveLetterOf(path)) return ReadPlainFileHead(std::filesystem::path(path), limit);
    const Drive* drive = FindByPath(path);
    if (!drive) return std::nullopt;
    const std::string relative = RelativePart(path);
    if (relative.empty()) return std::nullopt;

    if (const auto track = TrackOfCdaFileName(relative)) {
        for (const auto& audio : AudioTracksOf(*drive)) {
            if (audio.number != *track) continue;
            const auto record = MakeCdaRecord(audio.number, audio.startSector, audio.lengthSectors);
            return std::string(record.begin(), record.begin() + std::min(limit, record.size()));
        }
    }
    const auto folder = FilesFolderOf(*drive);
    if (!folder) return std::nullopt;
    const auto file = Below(*folder, relative);
    if (!file) return std::nullopt;
    return ReadPlainFileHead(*file, limit);
}

}  // namespace velmora::platform
