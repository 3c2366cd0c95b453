// Build-time tool: renders an SVG image to a square PNG of a given size, for the icon theme.
// Usage: rasterizar ENTRADA.svg SALIDA.png LADO
#include <cstdio>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "uso: rasterizar ENTRADA.svg SALIDA.png LADO\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacion(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    const int lado = QByteArray(argv[3]).toInt();
    if (!svg.isValid() || lado <= 0)
        return 1;
    QImage imagen(lado, lado, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    svg.render(&pintor);
    pintor.end();
    return imagen.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
