#pragma once

#include "Lumetra.h"

#include <QObject>
#include <QThreadPool>

#include <functional>
#include <string>

namespace velmora::front {

// What the library makes of a file added to a list.
struct ProbeResult {
    bool media = false;
    std::string reason;                              // why it is no media file
    MediaLibrary::Header::MEDIACONVERSIONINFO facts;
    std::string playLength;                          // "H:M:S.hh"
};

// Measures files on a few worker threads (as many as cores), so that adding many files never
// holds the window; each answer comes back on the thread that owns the prober.
class MediaProber : public QObject {
    Q_OBJECT
public:
    explicit MediaProber(QObject* parent);
    // Waits for the measurements still running; their answers are dropped.
    ~MediaProber() override;

    void Probe(const std::string& path, std::function<void(const ProbeResult&)> answer);
    // Whether measurements are still under way.
    bool Busy() const { return pending_ > 0; }

private:
    QThreadPool pool_;
    int pending_ = 0;
};

}  // namespace velmora::front
