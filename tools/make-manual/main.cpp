// make-manual: typesets the user manual from its Markdown text into a PDF.
//
//   make-manual MANUAL.md OUTPUT.pdf

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {
const QColor Heading(0x1d, 0x4e, 0x7a);

// Markdown carries no looks: headings get the program's blue and some air, body text a
// little more line spacing, tables ruled cells with padding and a shaded title row.
void style(QTextDocument& document)
{
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        cursor.setPosition(block.position());
        QTextBlockFormat format = block.blockFormat();
        const int level = format.headingLevel();
        if (level > 0) {
            format.setTopMargin(level == 1 ? 0 : 14);
            format.setBottomMargin(6);
            cursor.setBlockFormat(format);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            QTextCharFormat chars;
            chars.setForeground(Heading);
            cursor.mergeCharFormat(chars);
        } else {
            format.setLineHeight(115, QTextBlockFormat::ProportionalHeight);
            cursor.setBlockFormat(format);
        }
    }
    const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
    for (QTextFrame* frame : frames) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(0.6);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(0x7f, 0x9d, 0xb9));
        format.setBorderCollapse(true);
        format.setCellPadding(5);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setTopMargin(4);
        format.setBottomMargin(8);
        table->setFormat(format);
        for (int c = 0; c < table->columns(); ++c) {
            QTextTableCell cell = table->cellAt(0, c);
            QTextCharFormat shaded = cell.format();
            shaded.setBackground(QColor(0xea, 0xee, 0xff));
            shaded.setFontWeight(QFont::Bold);
            cell.setFormat(shaded);
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-manual MANUAL.md OUTPUT.pdf\n");
        return 2;
    }
    // Typesetting needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make-manual: cannot read %s\n", argv[1]);
        return 1;
    }

    // A family with bold and italic faces; fontconfig substitutes where it is missing.
    const QString family = QStringLiteral("DejaVu Sans");

    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(input).absolutePath() + QLatin1Char('/')));
    QFont font(family);
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    style(document);

    QPdfWriter writer(output);
    writer.setTitle(QStringLiteral("Stradex user manual"));
    writer.setCreator(QStringLiteral("Stradex"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
    writer.setResolution(300);
    // print() numbers the pages at their foot.
    document.print(&writer);
    if (!QFileInfo(output).isFile() || QFileInfo(output).size() == 0) {
        std::fprintf(stderr, "make-manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
