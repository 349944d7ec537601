#include "MediaWatch.h"

#include "log/Log.h"
#include "drives/DriveTable.h"

#include <QFileSystemWatcher>
#include <QSocketNotifier>

#include <libudev.h>

#include <cstring>
#include <system_error>

namespace velmora::front {
namespace {

// Events of one insertion come in a burst; the drive is read once they have settled.
constexpr int kSettleMilliseconds = 300;

bool Exists(const std::filesystem::path& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace

void MediaWatch::UdevDeleter::operator()(udev* context) const
{
    udev_unref(context);
}

void MediaWatch::UdevDeleter::operator()(udev_monitor* monitor) const
{
    udev_monitor_unref(monitor);
}

MediaWatch::MediaWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &MediaWatch::MediaChanged);
    WatchDevices();
    WatchVirtualDrives();
}

MediaWatch::~MediaWatch() = default;

void MediaWatch::WatchDevices()
{
    udev_.reset(udev_new());
    if (udev_) monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "block", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_.get()) < 0) {
        LogMessage(1, "No device events: discs put into real drives are not noticed");
        monitor_.reset();
        return;
    }
    deviceNotifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_.get()), QSocketNotifier::Read, this);
    connect(deviceNotifier_, &QSocketNotifier::activated, this, &MediaWatch::OnDeviceEvent);
}

void MediaWatch::OnDeviceEvent()
{
    const std::unique_ptr<udev_device, decltype(&udev_device_unref)> device(udev_monitor_receive_device(monitor_.get()),
                                                                           &udev_device_unref);
    if (!device) return;
    const char* action = udev_device_get_action(device.get());
    const char* mediaChange = udev_device_get_property_value(device.get(), "DISK_MEDIA_CHANGE");
    const char* optical = udev_device_get_property_value(device.get(), "ID_CDROM");
    if (!action || std::strcmp(action, "change") != 0) return;
    if ((mediaChange && std::strcmp(mediaChange, "1") == 0) || (optical && std::strcmp(optical, "1") == 0))
        settle_.start();
}

void MediaWatch::WatchVirtualDrives()
{
    folderWatcher_ = new QFileSystemWatcher(this);
    const auto table = velmora::platform::DriveTable::Load();
    for (const auto& drive : table.Drives()) {
        if (drive.kind == velmora::platform::DriveKind::OpticalDevice) continue;
        virtualSources_[drive.source] = Exists(drive.source);
        folderWatcher_->addPath(QString::fromStdString(drive.source.parent_path().string()));
    }
    connect(folderWatcher_, &QFileSystemWatcher::directoryChanged, this, &MediaWatch::OnFolderChanged);
}

void MediaWatch::OnFolderChanged()
{
    bool changed = false;
    for (auto& [source, existed] : virtualSources_) {
        const bool exists = Exists(source);
        changed = changed || exists != existed;
        existed = exists;
    }
    if (changed) settle_.start();
}

}  // namespace velmora::front
