#pragma once

#include <QObject>
#include <QTimer>

#include <filesystem>
#include <map>
#include <memory>

class QFileSystemWatcher;
class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace velmora::front {

// Tells when a disc is put into or taken out of a drive: libudev's media-change events of
// optical drives, and for a virtual drive its image file (or folder) appearing or disappearing.
// Bursts of events are told once.
class MediaWatch : public QObject {
    Q_OBJECT
public:
    explicit MediaWatch(QObject* parent = nullptr);
    ~MediaWatch() override;

signals:
    void MediaChanged();

private:
    void WatchDevices();
    void WatchVirtualDrives();
    void OnDeviceEvent();
    void OnFolderChanged();

    struct UdevDeleter {
        void operator()(udev* context) const;
        void operator()(udev_monitor* monitor) const;
    };
    std::unique_ptr<udev, UdevDeleter> udev_;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor_;
    QSocketNotifier* deviceNotifier_ = nullptr;
    QFileSystemWatcher* folderWatcher_ = nullptr;
    std::map<std::filesystem::path, bool> virtualSources_;   // source and whether it exists
    QTimer settle_;
};

}  // namespace velmora::front
