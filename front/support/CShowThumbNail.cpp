#include "CShowThumbNail.h"

#include "core/ControlIds.h"

#include <QPainter>

namespace velmora::front {
namespace {

constexpr int kRepaintMilliseconds = 2000;
// 270 x 159 dialog units of the dialog font.
constexpr QSize kWindowSize{405, 258};

}  // namespace

CShowThumbNail::CShowThumbNail(QWidget* parent) : QDialog(parent)
{
    setObjectName(ControlName(dialog::kPreview));
    setWindowTitle("Conversion Preview");
    setFixedSize(kWindowSize);
    setModal(false);
    hide();
    startTimer(kRepaintMilliseconds);
}

void CShowThumbNail::LoadPicture(const QString& file)
{
    imageReady_ = false;
    image_ = QImage();
    imageReady_ = image_.load(file, "PNG");
    if (!imageReady_) image_ = QImage();
}

void CShowThumbNail::Conceal()
{
    imageReady_ = false;
    image_ = QImage();
    hide();
}

void CShowThumbNail::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!imageReady_) return;
    QPainter painter(this);
    painter.drawImage(QPoint(10, 10), image_);
}

void CShowThumbNail::timerEvent(QTimerEvent* event)
{
    repaint();
    QDialog::timerEvent(event);
}

}  // namespace velmora::front
