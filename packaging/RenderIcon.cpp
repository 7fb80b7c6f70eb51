// Build-time tool: draws an SVG icon into a square PNG of a given size, for
// the icon themes that want a bitmap beside the scalable icon.
//
//   tallyfern-render-icon INPUT.svg SIZE OUTPUT.png

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kLargestSize = 1024;

int Fail(const std::string& message) {
    std::fprintf(stderr, "tallyfern-render-icon: %s\n", message.c_str());
    return EXIT_FAILURE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return Fail("usage: tallyfern-render-icon INPUT.svg SIZE OUTPUT.png");
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[3]);
    bool sizeRead = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&sizeRead);
    if (!sizeRead || size < 1 || size > kLargestSize)
        return Fail(std::string("size must be a whole number from 1 to ") +
                    std::to_string(kLargestSize) + ", not \"" + argv[2] + "\"");

    QSvgRenderer renderer(input);
    if (!renderer.isValid())
        return Fail(std::string("cannot read the SVG image ") + argv[1]);

    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }
    // A half-written file must not stand in for the icon in a later build.
    if (!image.save(output, "PNG")) {
        std::remove(argv[3]);
        return Fail(std::string("cannot write ") + argv[3]);
    }
    return EXIT_SUCCESS;
}
