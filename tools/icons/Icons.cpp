// Writes the program's icon, the picture of the DVD Data Burner button, as an SVG file and as PNG
// files of the freedesktop sizes: FOLDER/scalable/apps/NAME.svg and FOLDER/NxN/apps/NAME.png.

#include "core/ControlIds.h"
#include "main/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

constexpr int kIcon = velmora::front::control::kDvdDataBurnerButton;
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QString IconFile(const QDir& folder, const QString& size, const QString& name)
{
    const QString apps = size + "/apps";
    folder.mkpath(apps);
    return folder.filePath(apps + "/" + name);
}

bool WriteSvg(const QString& file)
{
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setTitle("Velmora");
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    velmora::front::PaintButtonImage(painter, kIcon, QSizeF(256, 256));
    return painter.end();
}

bool WritePng(const QString& file, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    velmora::front::PaintButtonImage(painter, kIcon, QSizeF(side, side));
    painter.end();
    return image.save(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: orvane-icons FOLDER NAME\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    bool written = WriteSvg(IconFile(folder, "scalable", name + ".svg"));
    for (const int side : kSizes) {
        const QString size = QString("%1x%1").arg(side);
        written = WritePng(IconFile(folder, size, name + ".png"), side) && written;
    }
    if (!written) {
        std::fprintf(stderr, "orvane-icons: cannot write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
