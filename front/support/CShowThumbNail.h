#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

namespace velmora::front {

// "Conversion Preview": the latest frame of the file being converted, drawn unscaled at (10, 10)
// and repainted every two seconds. Pictures are loaded and painted on the UI thread only, so
// the two never overlap.
class CShowThumbNail : public QDialog {
    Q_OBJECT
public:
    explicit CShowThumbNail(QWidget* parent = nullptr);

    // Replaces the picture; a file that cannot be decoded leaves the window empty.
    void LoadPicture(const QString& file);
    // Forgets the picture and hides the window.
    void Conceal();
    bool ImageReady() const { return imageReady_; }
    QSize PictureSize() const { return image_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QImage image_;
    bool imageReady_ = false;
};

}  // namespace velmora::front
