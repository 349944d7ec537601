#pragma once

#include <QLabel>

namespace velmora::front {

// The status text under the progress bar. A text longer than the line loses its middle (a long
// path) rather than its end, where a job says how far it has got; its full text stays the
// label's text for screen readers.
class StatusLine : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmora::front
