// Writes the user guide, Help.pdf, from its Markdown text: Qt lays the text out and prints it
// with its own PDF writer; pictures are scaled to fit the page.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include <algorithm>
#include <cstdio>

namespace {

// Every picture as wide as it is, but no wider than the text.
void FitPictures(QTextDocument& document, qreal textWidth)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            QTextImageFormat format = fragment.fragment().charFormat().toImageFormat();
            if (!format.isValid()) continue;
            const QImage picture = document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
            if (picture.isNull()) continue;
            const qreal width = std::min<qreal>(picture.width(), textWidth);
            format.setWidth(width);
            format.setHeight(picture.height() * width / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.fragment().position());
            cursor.setPosition(fragment.fragment().position() + fragment.fragment().length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

bool StartsWithPicture(const QTextBlock& block)
{
    return block.isValid() && !block.begin().atEnd() &&
           block.begin().fragment().charFormat().toImageFormat().isValid();
}

// A heading followed by a picture begins a page, so that the two stay together.
void KeepHeadingsWithPictures(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || !StartsWithPicture(block.next())) continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

bool MissingPictures(QTextDocument& document)
{
    bool missing = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextImageFormat format = fragment.fragment().charFormat().toImageFormat();
            if (format.isValid() &&
                document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>().isNull()) {
                std::fprintf(stderr, "picture not found: %s\n", qPrintable(format.name()));
                missing = true;
            }
        }
    return missing;
}

// Page by page from the document itself (a printed copy would lose the pictures), each with its number.
bool Print(QTextDocument& document, QPdfWriter& writer, QSizeF page)
{
    constexpr qreal kFooter = 28;
    document.setPageSize(QSizeF(page.width(), page.height() - kFooter));
    const qreal body = document.pageSize().height();
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    for (int number = 1; number <= document.pageCount(); ++number) {
        if (number > 1) writer.newPage();
        painter.save();
        painter.translate(0, -body * (number - 1));
        document.drawContents(&painter, QRectF(0, body * (number - 1), page.width(), body));
        painter.restore();
        painter.drawText(QRectF(0, page.height() - kFooter, page.width(), kFooter), Qt::AlignRight | Qt::AlignBottom,
                         QString::number(number));
    }
    return painter.end();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: orvane-help GUIDE.md HELP.pdf\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + "/"));
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    if (MissingPictures(document)) return 1;

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setResolution(96);
    writer.setTitle("Media Library — User Guide");
    writer.setCreator("Velmora");
    const QSizeF page = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    FitPictures(document, page.width());
    KeepHeadingsWithPictures(document);
    return Print(document, writer, page) ? 0 : 1;
}
