// report-image: renders an SVG picture into a PNG file of a given size, at build time.
//
//   report-image IN.svg OUT.png WIDTH HEIGHT

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: report-image IN.svg OUT.png WIDTH HEIGHT\n");
        return 2;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "report-image: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(args.at(3).toInt(), args.at(4).toInt(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    if (!image.convertToFormat(QImage::Format_ARGB32).save(args.at(2), "PNG")) {
        std::fprintf(stderr, "report-image: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
