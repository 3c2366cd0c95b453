// Cost of code pages on loading: a 100,000-line Japanese original in Shift-JIS (detected with uchardet,
// checked by a strict whole-file decode, decoded through ICU) against the same lines in UTF-8, and a
// Spanish one in Windows-1252 (which uchardet also looks at) against UTF-8; through the window and in
// the reader alone.
#include "medicion.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "frmEditor.h"
#include "lista_archivos.h"
#include "texto_archivo.h"

namespace {

constexpr int repeticiones = 7;
constexpr int lineas = 100000;

const char* const japones[] = {
    "ここはどこ？ 勇者よ、目を覚ませ。",       "魔王の城は北の山の向こうにある。",
    "宿屋に泊まりますか？ はい／いいえ",       "ゴールドが足りません。",
    "レベルが上がった！ 新しい呪文を覚えた。", "「ありがとう、旅の方。」",
};
const char* const espanol[] = {
    "¿Dónde está mi espada? La perdí en el pantano.",
    "El niño sonrió y te dio un pañuelo bordado.",
    "¡Cuidado con el búho del campanario!",
    "Has aprendido la técnica del relámpago.",
};

template <size_t N> QString Texto(const char* const (&frases)[N])
{
    QString texto;
    for (int i = 0; i < lineas; ++i)
        texto += QString::number(i) + u' ' + QString::fromUtf8(frases[size_t(i) % N]) + u"\r\n";
    return texto;
}

void Escribir(const QString& ruta, const QByteArray& datos)
{
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        archivo.write(datos);
}

double TiempoVentana(const QString& carpeta)
{
    CajaMuda caja;
    const std::unique_ptr<frmEditor> ventana = AbrirVentanaCargada(carpeta, caja);
    return MedianaMicrosegundos(repeticiones, [&] {
        ventana->File1->setIndice(0);
        QApplication::processEvents();
    });
}

double TiempoLector(const QByteArray& datos)
{
    return MedianaMicrosegundos(repeticiones, [&] {
        LectorLineas lector(datos);
        qsizetype suma = 0;
        while (!lector.fin())
            suma += lector.siguiente().size();
        if (suma < 0)
            std::printf("?");
    });
}

void Fila(const char* nombre, const QString& texto, const char* codigo)
{
    QStringEncoder codificador(codigo);
    const QByteArray enCodigo = codificador.encode(texto);
    const QByteArray enUtf8 = texto.toUtf8();
    QTemporaryDir a;
    QTemporaryDir b;
    Escribir(a.filePath(QStringLiteral("guion.txt")), enCodigo);
    Escribir(b.filePath(QStringLiteral("guion.txt")), enUtf8);
    const double ventanaCodigo = TiempoVentana(a.path());
    const double ventanaUtf8 = TiempoVentana(b.path());
    const double lectorCodigo = TiempoLector(enCodigo);
    const double lectorUtf8 = TiempoLector(enUtf8);
    std::printf("%-14s %12.1f %12.1f %8.3f %12.1f %12.1f %8.2f\n", nombre, ventanaCodigo / 1000,
                ventanaUtf8 / 1000, ventanaCodigo / ventanaUtf8, lectorCodigo / 1000, lectorUtf8 / 1000,
                lectorCodigo / lectorUtf8);
    std::fflush(stdout);
}

} // namespace

void MedirCodificacion()
{
    std::printf("Carga de un original de %d líneas sin traducción, en su código y en UTF-8, mediana de %d\n",
                lineas, repeticiones);
    std::printf("%-14s %12s %12s %8s %12s %12s %8s\n", "código", "ventana ms", "utf-8 ms", "razón",
                "lector ms", "utf-8 ms", "razón");
    Fila("Shift_JIS", Texto(japones), "Shift_JIS");
    Fila("windows-1252", Texto(espanol), "windows-1252");
}
