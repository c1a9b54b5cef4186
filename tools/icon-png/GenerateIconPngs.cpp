// Writes the PNG renderings of the tool bar's SVG icons, beside each SVG:
//   build/tools/icon-png/icon-png-gen resources/icons/*/*.svg     (scripts/render-icons.sh)
// N.svg gives N.png at the tool bar's 16 pixels and N@2x.png at 32, drawn by the very icon
// engine the Linux tool bar draws them with, so that a Qt without its SVG module (the
// Windows build's) shows the same pixels. Fails on an SVG the engine cannot draw rather
// than write an empty picture.
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    const QStringList svgs = app.arguments().mid(1);
    if (svgs.isEmpty()) {
        std::fputs("usage: icon-png-gen ICON.svg...\n", stderr);
        return 2;
    }
    for (const QString& svg : svgs) {
        if (!svg.endsWith(u".svg"_s)) {
            std::fprintf(stderr, "icon-png-gen: %s is not an .svg file\n", qPrintable(svg));
            return 1;
        }
        const QIcon icon(svg);
        const QString base = svg.chopped(4);
        for (const auto& [pixels, suffix] : {std::pair{16, u".png"_s}, std::pair{32, u"@2x.png"_s}}) {
            const QImage image = icon.pixmap(QSize(pixels, pixels)).toImage();
            if (image.size() != QSize(pixels, pixels)) {
                std::fprintf(stderr, "icon-png-gen: %s gives no %d-pixel picture (is Qt's SVG icon engine missing?)\n",
                             qPrintable(svg), pixels);
                return 1;
            }
            if (!image.save(base + suffix, "PNG")) {
                std::fprintf(stderr, "icon-png-gen: cannot write %s\n", qPrintable(base + suffix));
                return 1;
            }
        }
    }
    return 0;
}
