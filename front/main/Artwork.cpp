#include "Artwork.h"
#include "core/ControlIds.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace velmora::front {
namespace {

enum class Glyph { Note, Film, Disc, DiscWithNote, DiscWithFilm, DiscStack, Question };

struct ButtonArt {
    int controlId;
    QColor colour;
    Glyph glyph;
};

const ButtonArt kButtons[] = {
    {control::kAudioConverterButton, QColor(0x2e, 0x86, 0xc1), Glyph::Note},
    {control::kVideoConverterButton, QColor(0x88, 0x4e, 0xa0), Glyph::Film},
    {control::kDvdCreatorButton, QColor(0xca, 0x6f, 0x1e), Glyph::DiscWithFilm},
    {control::kAudioBurnerButton, QColor(0x17, 0xa5, 0x89), Glyph::DiscWithNote},
    {control::kCdDataBurnerButton, QColor(0x5d, 0x6d, 0x7e), Glyph::Disc},
    {control::kDvdDataBurnerButton, QColor(0xc0, 0x39, 0x2b), Glyph::DiscStack},
    {control::kHelpButton, QColor(0x7f, 0x8c, 0x8d), Glyph::Question},
};

void DrawDisc(QPainter& painter, QRectF area)
{
    QRadialGradient shine(area.center(), area.width() / 2);
    shine.setColorAt(0.0, QColor(250, 250, 255));
    shine.setColorAt(0.6, QColor(190, 205, 225));
    shine.setColorAt(1.0, QColor(150, 170, 200));
    painter.setPen(QPen(QColor(60, 70, 90), 1.5));
    painter.setBrush(shine);
    painter.drawEllipse(area);
    const double hole = area.width() * 0.18;
    painter.setBrush(QColor(60, 70, 90));
    painter.drawEllipse(area.center(), hole / 2, hole / 2);
}

void DrawNote(QPainter& painter, QRectF area)
{
    painter.setPen(QPen(Qt::white, area.width() * 0.08, Qt::SolidLine, Qt::RoundCap));
    const QPointF stemTop(area.left() + area.width() * 0.7, area.top() + area.height() * 0.1);
    const QPointF stemBottom(stemTop.x(), area.top() + area.height() * 0.75);
    painter.drawLine(stemTop, stemBottom);
    painter.drawLine(stemTop, QPointF(stemTop.x() + area.width() * 0.2, stemTop.y() + area.height() * 0.15));
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(stemBottom.x() - area.width() * 0.14, stemBottom.y()), area.width() * 0.17,
                        area.height() * 0.12);
}

void DrawFilm(QPainter& painter, QRectF area)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawRoundedRect(area, 3, 3);
    painter.setBrush(Qt::white);
    const double hole = area.height() * 0.1;
    for (int index = 0; index < 5; ++index) {
        const double x = area.left() + area.width() * (0.1 + 0.18 * index);
        painter.drawRect(QRectF(x, area.top() + hole * 0.6, hole, hole));
        painter.drawRect(QRectF(x, area.bottom() - hole * 1.6, hole, hole));
    }
    painter.setBrush(QColor(120, 180, 230));
    painter.drawRect(area.adjusted(area.width() * 0.08, area.height() * 0.25, -area.width() * 0.08, -area.height() * 0.25));
}

void DrawGlyph(QPainter& painter, Glyph glyph, QRectF area)
{
    const QRectF corner(area.left() + area.width() * 0.45, area.top() + area.height() * 0.45, area.width() * 0.55,
                        area.height() * 0.55);
    switch (glyph) {
    case Glyph::Note:
        DrawNote(painter, area);
        break;
    case Glyph::Film:
        DrawFilm(painter, area.adjusted(0, area.height() * 0.15, 0, -area.height() * 0.15));
        break;
    case Glyph::Disc:
        DrawDisc(painter, area);
        break;
    case Glyph::DiscWithNote:
        DrawDisc(painter, area);
        DrawNote(painter, corner);
        break;
    case Glyph::DiscWithFilm:
        DrawDisc(painter, area);
        DrawFilm(painter, corner.adjusted(0, corner.height() * 0.2, 0, -corner.height() * 0.1));
        break;
    case Glyph::DiscStack:
        DrawDisc(painter, area.translated(-area.width() * 0.08, -area.height() * 0.08).adjusted(4, 4, -4, -4));
        DrawDisc(painter, area.translated(area.width() * 0.08, area.height() * 0.08).adjusted(4, 4, -4, -4));
        break;
    case Glyph::Question: {
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(static_cast<int>(area.height() * 0.8));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(area, Qt::AlignCenter, "?");
        break;
    }
    }
}

}  // namespace

QPixmap ButtonImage(int controlId, QSize size)
{
    QPixmap image(size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintButtonImage(painter, controlId, size);
    return image;
}

void PaintButtonImage(QPainter& painter, int controlId, QSizeF size)
{
    for (const auto& art : kButtons) {
        if (art.controlId != controlId) continue;
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF tile(1, 1, size.width() - 2, size.height() - 2);
        QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
        fill.setColorAt(0, art.colour.lighter(130));
        fill.setColorAt(1, art.colour.darker(120));
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(tile, size.width() * 0.18, size.height() * 0.18);
        const double margin = size.width() * 0.16;
        DrawGlyph(painter, art.glyph, tile.adjusted(margin, margin, -margin, -margin));
    }
}

QPixmap BackgroundImage(QSize size)
{
    QPixmap image(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(24, 44, 74));
    fill.setColorAt(1, QColor(60, 110, 160));
    painter.fillRect(image.rect(), fill);
    const double discSize = size.height() * 0.6;
    painter.setOpacity(0.35);
    DrawDisc(painter, QRectF(size.width() - discSize * 0.9, size.height() - discSize * 0.9, discSize, discSize));
    painter.setOpacity(1.0);
    QFont font = painter.font();
    font.setPixelSize(size.height() / 9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(235, 240, 250));
    painter.drawText(QRectF(30, 30, size.width() - 60, size.height() / 5.0), Qt::AlignLeft | Qt::AlignVCenter, "Velmora");
    font.setPixelSize(size.height() / 28);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRectF(34, 30 + size.height() / 5.0, size.width() - 60, size.height() / 10.0),
                     Qt::AlignLeft | Qt::AlignTop, "Audio \u00b7 Video \u00b7 Discs");
    return image;
}

}  // namespace velmora::front
