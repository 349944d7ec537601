#pragma once

#include "Lumetra.h"

#include <QObject>
#include <QThreadPool>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmora::front {

class CDirObject;

// What the library makes of a file added to a list.
struct ProbeResult {
    bool media = false;
    std::string reason;                              // why it is no media file
    MediaLibrary::Header::MEDIACONVERSIONINFO facts;
    std::string playLength;                          // "H:M:S.hh"
};

// A folder's tree as read from the disk, and the room it takes on a disc.
struct FolderRead {
    std::shared_ptr<CDirObject> folder;
    std::int64_t discSize = 0;
};

// Measures files and reads folders on a few worker threads (as many as cores), so that adding
// many files or a large tree never holds the window; each answer comes back on the thread that
// owns the prober.
class MediaProber : public QObject {
    Q_OBJECT
public:
    explicit MediaProber(QObject* parent);
    // Waits for the measurements still running; their answers are dropped.
    ~MediaProber() override;

    void Probe(const std::string& path, std::function<void(const ProbeResult&)> answer);
    void ReadFolder(const std::string& path, std::function<void(const FolderRead&)> answer);
    // Whether measurements are still under way.
    bool Busy() const { return pending_ > 0; }

signals:
    // The last measurement under way has answered.
    void Settled();

private:
    template <typename Result>
    void Answer(std::function<Result()> work, std::function<void(const Result&)> answer);

    QThreadPool pool_;
    int pending_ = 0;
};

}  // namespace velmora::front
