// The text format of scripts and translations, and the file operations under it.
#include <cerrno>

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "fallos_archivos.h"
#include "carpeta_prueba.h"
#include "ceder.h"
#include "huella_texto.h"
#include "lectura_lineas.h"
#include "error_esperado.h"
#include "principal.h"
#include "proceso.h"
#include "texto_archivo.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FinLinea)
Q_DECLARE_METATYPE(Codificacion)
Q_DECLARE_METATYPE(OperacionArchivo)

char* toString(const Codificacion& codificacion)
{
    return QTest::toString(codificacion.nombre());
}

namespace {

QByteArray Datos(const QString& nombre)
{
    return LeerBytes(QStringLiteral(VELARTO_DATOS "/") + nombre);
}

QStringList LeerTodo(const QByteArray& bytes, FormatoTexto& formato,
                     std::optional<Codificacion> eleccion = {})
{
    LectorLineas lector(bytes, eleccion);
    QStringList lineas;
    while (!lector.fin())
        lineas.append(lector.siguiente());
    formato = lector.formato();
    return lineas;
}

// Every byte but CR and LF, as Windows-1252 text.
QByteArray TodosLosBytes()
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes += char(b);
    }
    return bytes;
}

} // namespace

class PruebaTextoArchivo final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
    }

    void lineas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<FinLinea>("fin");
        QTest::addColumn<Codificacion>("codificacion");
        QTest::addColumn<bool>("bom");
        const auto utf8 = Codificacion::Utf8;
        const auto w1252 = Codificacion::Windows1252;
        QTest::newRow("cero bytes") << QByteArray() << QStringList() << FinLinea::CrLf << utf8 << false;
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << FinLinea::CrLf << utf8
                              << false;
        QTest::newRow("crlf sin salto final")
            << QByteArray("a\r\nbc") << QStringList{"a", "bc"} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("líneas vacías al principio")
            << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("línea vacía final")
            << QByteArray("a\r\n\r\n") << QStringList{"a", ""} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("solo un salto")
            << QByteArray("\r\n") << QStringList{""} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("cr suelto") << QByteArray("a\rb\r") << QStringList{"a", "b"} << FinLinea::Cr << utf8
                                   << false;
        QTest::newRow("cr suelto y crlf mezclados")
            << QByteArray("a\rb\r\nc") << QStringList{"a", "b", "c"} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("lf tras crlf en archivo mezclado")
            << QByteArray("a\rb\r\n\n") << QStringList{"a", "b", u"\u240A"_qs} << FinLinea::CrLf << utf8
            << false;
        QTest::newRow("lf suelto es un carácter")
            << QByteArray("a\nb\r\nc\n\r\n") << QStringList{u"a\u240Ab"_qs, u"c\u240A"_qs} << FinLinea::CrLf
            << utf8 << false;
        QTest::newRow("unix") << QByteArray("a\nb\n") << QStringList{"a", "b"} << FinLinea::Lf << utf8
                              << false;
        QTest::newRow("unix sin salto final")
            << QByteArray("a\n\nb") << QStringList{"a", "", "b"} << FinLinea::Lf << utf8 << false;
        QTest::newRow("bom utf-8") << QByteArray("\xEF\xBB\xBFhola\r\n") << QStringList{"hola"}
                                   << FinLinea::CrLf << utf8 << true;
        QTest::newRow("utf-8 acentos")
            << QByteArray("caf\xC3\xA9\r\n") << QStringList{u"café"_qs} << FinLinea::CrLf << utf8 << false;
        QTest::newRow("windows-1252") << QByteArray("caf\xE9 \x80\xBF\r\n") << QStringList{u"café €¿"_qs}
                                      << FinLinea::CrLf << w1252 << false;
        QTest::newRow("windows-1252 bytes sin definir")
            << QByteArray("\x81\x8D\x8F\x90\x9D\r\n") << QStringList{u"\u0081\u008D\u008F\u0090\u009D"_qs}
            << FinLinea::CrLf << w1252 << false;
        QTest::newRow("bom seguido de utf-8 roto")
            << QByteArray("\xEF\xBB\xBF\xE9\r\n") << QStringList{u"ï»¿é"_qs} << FinLinea::CrLf << w1252
            << false;
        QTest::newRow("utf-8 sobrelargo no es utf-8")
            << QByteArray("\xC0\xAF\n") << QStringList{u"À¯"_qs} << FinLinea::Lf << w1252 << false;
        QTest::newRow("byte nulo") << QByteArray("a\0b\r\n", 5) << QStringList{QString::fromUtf8("a\0b", 3)}
                                   << FinLinea::CrLf << utf8 << false;
    }
    void lineas()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lineas);
        QFETCH(FinLinea, fin);
        QFETCH(Codificacion, codificacion);
        QFETCH(bool, bom);
        const QString ruta = dir_->filePath(QStringLiteral("s.txt"));
        EscribirBytes(ruta, bytes);
        FormatoTexto formato;
        QCOMPARE(LeerLineas(ruta, &formato), lineas);
        QCOMPARE(formato.finLinea, fin);
        QCOMPARE(formato.codificacion, codificacion);
        QCOMPARE(formato.bom, bom);
    }

    // A file that ends with its line end is written back byte for byte.
    void idaYVuelta_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("crlf") << QByteArray("Hello\r\n\r\nWorld\r\n");
        QTest::newRow("unix") << QByteArray("Hello\n\nWorld\n");
        QTest::newRow("cr suelto") << QByteArray("Hello\r\rWorld\r");
        QTest::newRow("lf suelto en archivo crlf") << QByteArray("uno\ndos\r\n\ntres\r\n");
        QTest::newRow("windows-1252 todos los bytes") << TodosLosBytes() + "\r\n" + TodosLosBytes() + "\r\n";
        QTest::newRow("utf-8 con bom") << QByteArray("\xEF\xBB\xBF\xC2\xBFQu\xC3\xA9?\r\n\xE2\x82\xAC\r\n");
        QTest::newRow("utf-8 de cuatro bytes") << QByteArray("\xF0\x9F\x8E\xAE juego\n");
        QTest::newRow("solo bom") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("marca de orden dentro del texto") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                       "a\r\n\xEF\xBB\xBF\r\n");
    }
    void idaYVuelta()
    {
        QFETCH(QByteArray, bytes);
        const QString ruta = dir_->filePath(QStringLiteral("s.txt"));
        EscribirBytes(ruta, bytes);
        FormatoTexto formato;
        const QStringList lineas = LeerLineas(ruta, &formato);
        QCOMPARE(LineaNoCodificable(VistasDe(lineas), formato), -1);
        const QList<QStringView> vistas = VistasDe(lineas);
        QCOMPARE(CodificarLineas(vistas, formato), bytes);
        // Stretches of a line or two give the same bytes, each over the last one's buffer.
        for (const qsizetype caracteres : {1, 6}) {
            CodificacionPorTramos tramos(vistas, formato, caracteres);
            QByteArray unidos;
            for (QByteArray tramo; tramos.Siguiente(tramo);)
                unidos += tramo;
            QCOMPARE(unidos, bytes);
            QCOMPARE(tramos.byteAlto(), TieneByteAlto(bytes));
        }
    }

    // The code page is the first of these that applies: byte-order mark, UTF-8 with a byte above 127,
    // the folder's choice, an East Asian code page detected, Windows-1252.
    void ordenDeLectura_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("eleccion"); // empty: none
        QTest::addColumn<Codificacion>("codificacion");
        QTest::addColumn<bool>("bom");
        QTest::addColumn<bool>("evidencia");
        QTest::addColumn<QString>("primera");
        const QByteArray japones = Datos(u"japones_sjis.txt"_s);
        QTest::newRow("bom utf-16 le") << QByteArray("\xFF\xFEh\0\xF1\0\r\0\n\0", 10) << u"windows-1251"_s
                                       << Codificacion::Utf16Le << true << true << u"hñ"_s;
        QTest::newRow("bom utf-16 be") << QByteArray("\xFE\xFF\0h\x30\x42\0\n", 8) << QString()
                                       << Codificacion::Utf16Be << true << true << u"hあ"_s;
        QTest::newRow("bom utf-8 antes que la elección")
            << QByteArray("\xEF\xBB\xBFhola\r\n") << u"Shift_JIS"_s << Codificacion::Utf8 << true << true
            << u"hola"_s;
        QTest::newRow("bom utf-16 con largo impar no es utf-16")
            << QByteArray("\xFF\xFE\x61\r\n") << QString() << Codificacion::Windows1252 << false << true
            << u"ÿþa"_s;
        QTest::newRow("utf-8 antes que la elección") << QByteArray("ni\xC3\xB1o\r\n") << u"windows-1251"_s
                                                     << Codificacion::Utf8 << false << true << u"niño"_s;
        QTest::newRow("elección de la carpeta")
            << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n") << u"WINDOWS-1251"_s << Codificacion::Windows1251
            << false << true << u"Привет"_s;
        QTest::newRow("elección antes que la detección")
            << japones << u"windows-1251"_s << Codificacion::Windows1251 << false << true
            << u"‚±‚±‚Н‚З‚±ЃH"_s;
        QTest::newRow("elección que no decodifica") << QByteArray("a\x82\r\n") << u"Shift_JIS"_s
                                                    << Codificacion::Windows1252 << false << true << u"a‚"_s;
        QTest::newRow("elección que no vuelve byte a byte")
            << QByteArray("\x87\x90\r\n") << u"Shift_JIS"_s << Codificacion::Windows1252 << false << true
            << u"‡\u0090"_s;
        QTest::newRow("solo ascii con elección") << QByteArray("hola\r\n") << u"Shift_JIS"_s
                                                 << Codificacion::ShiftJis << false << false << u"hola"_s;
        QTest::newRow("elección utf-16 sin marca")
            << QByteArray("hola\r\n") << u"UTF-16LE"_s << Codificacion::Utf8 << false << false << u"hola"_s;
        QTest::newRow("solo ascii sin elección")
            << QByteArray("hola\r\n") << QString() << Codificacion::Utf8 << false << false << u"hola"_s;
        QTest::newRow("shift-jis detectado")
            << japones << QString() << Codificacion::ShiftJis << false << true << u"ここはどこ？"_s;
        QTest::newRow("shift-jis tras 40 KiB de ascii")
            << QByteArray("Menu principal\r\n").repeated(2700) + japones << QString()
            << Codificacion::ShiftJis << false << true << u"Menu principal"_s;
        QTest::newRow("shift-jis de más de una muestra")
            << japones.repeated(200) << QString() << Codificacion::ShiftJis << false << true
            << u"ここはどこ？"_s;
        QTest::newRow("euc-jp detectado") << Datos(u"muestras/EUC-JP.txt"_s) << QString()
                                          << Codificacion::EucJp << false << true << u"ここはどこ？"_s;
        QTest::newRow("gb18030 detectado") << Datos(u"muestras/GB18030.txt"_s) << QString()
                                           << Codificacion::Gb18030 << false << true << u"这里是哪里？"_s;
        QTest::newRow("euc-kr detectado") << Datos(u"muestras/EUC-KR.txt"_s) << QString()
                                          << Codificacion::EucKr << false << true << u"여기는 어디입니까?"_s;
        QTest::newRow("big5 detectado") << Datos(u"muestras/Big5.txt"_s) << QString() << Codificacion::Big5
                                        << false << true << u"這裡是哪裡？"_s;
        QTest::newRow("cirílico sin elección es windows-1252")
            << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n") << QString() << Codificacion::Windows1252 << false
            << true << u"Ïðèâåò"_s;
    }
    void ordenDeLectura()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, eleccion);
        QFETCH(Codificacion, codificacion);
        QFETCH(bool, bom);
        QFETCH(bool, evidencia);
        QFETCH(QString, primera);
        FormatoTexto formato;
        const QStringList lineas =
            LeerTodo(bytes, formato, eleccion.isEmpty() ? std::nullopt : Codificacion::PorNombre(eleccion));
        QCOMPARE(formato.codificacion, codificacion);
        QCOMPARE(formato.bom, bom);
        QCOMPARE(formato.evidencia, evidencia);
        QVERIFY(!lineas.isEmpty());
        QCOMPARE(lineas.first(), primera);
        QCOMPARE(LineaNoCodificable(VistasDe(lineas), formato), -1);
        QCOMPARE(CodificarLineas(VistasDe(lineas), formato), bytes);
    }

    // Short Spanish texts in Windows-1252 are never taken for another code page, line by line or whole.
    void espanolSigueEnWindows1252()
    {
        const QByteArray corpus = Datos(u"espanol_1252.txt"_s);
        const QList<QByteArray> lineas = corpus.split('\n');
        QVERIFY(lineas.size() > 200);
        for (const QByteArray& linea : lineas) {
            if (linea.isEmpty())
                continue;
            const QByteArray archivo = linea + '\n';
            FormatoTexto formato;
            const QStringList leidas = LeerTodo(archivo, formato);
            const bool alto = TieneByteAlto(archivo);
            QVERIFY2(formato.codificacion == (alto ? Codificacion::Windows1252 : Codificacion::Utf8),
                     qPrintable(formato.codificacion.nombre() + u": " + leidas.value(0)));
            QCOMPARE(CodificarLineas(VistasDe(leidas), formato), archivo);
        }
        FormatoTexto formato;
        LeerTodo(corpus, formato);
        QCOMPARE(formato.codificacion, Codificacion::Windows1252);
    }

    // A Japanese script in Shift-JIS (as Windows writes it) is told from its first two lines on.
    void japonesDetectado_data()
    {
        QTest::addColumn<int>("cuantas");
        QTest::newRow("dos líneas") << 2;
        QTest::newRow("tres líneas") << 3;
        QTest::newRow("seis líneas") << 6;
        QTest::newRow("el guion entero") << 14;
    }
    void japonesDetectado()
    {
        QFETCH(int, cuantas);
        const QList<QByteArray> todas = Datos(u"japones_sjis.txt"_s).split('\n');
        const QStringList esperadas = QString::fromUtf8(Datos(u"japones_utf8.txt"_s)).split(u'\n');
        const QByteArray bytes = todas.mid(0, cuantas).join('\n') + '\n';
        FormatoTexto formato;
        const QStringList lineas = LeerTodo(bytes, formato);
        QCOMPARE(formato.codificacion, Codificacion::ShiftJis);
        QCOMPARE(formato.finLinea, FinLinea::CrLf);
        QCOMPARE(lineas, esperadas.mid(0, cuantas));
    }

    // Every supported code page reads a real text of its own and writes it back byte for byte.
    void idaYVueltaPorCodigo_data()
    {
        QTest::addColumn<Codificacion>("codificacion");
        for (const Codificacion codificacion : Codificacion::Todas())
            QTest::newRow(qPrintable(codificacion.nombre())) << codificacion;
    }
    void idaYVueltaPorCodigo()
    {
        QFETCH(Codificacion, codificacion);
        QCOMPARE(Codificacion::PorNombre(codificacion.nombre().toLower()), codificacion);
        const QByteArray bytes = Datos(u"muestras/"_s + codificacion.nombre() + u".txt"_s);
        QVERIFY(TieneByteAlto(bytes));
        FormatoTexto formato;
        const QStringList lineas = LeerTodo(bytes, formato, codificacion);
        QCOMPARE(formato.codificacion, codificacion);
        QVERIFY(formato.evidencia);
        QVERIFY(!lineas.join(u'\n').contains(QChar::ReplacementCharacter));
        QCOMPARE(LineaNoCodificable(VistasDe(lineas), formato), -1);
        QCOMPARE(CodificarLineas(VistasDe(lineas), formato), bytes);
    }

    void nombres_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("iana"); // empty: not supported
        QTest::newRow("alias de windows") << u"cp932"_s << u"Shift_JIS"_s;
        QTest::newRow("sin distinguir mayúsculas") << u"EUC-kr"_s << u"EUC-KR"_s;
        QTest::newRow("utf8 sin guion") << u"utf8"_s << u"UTF-8"_s;
        QTest::newRow("no soportada") << u"ISO-8859-1"_s << QString();
        QTest::newRow("desconocida") << u"klingon"_s << QString();
        QTest::newRow("vacía") << QString() << QString();
    }
    void nombres()
    {
        QFETCH(QString, nombre);
        QFETCH(QString, iana);
        const std::optional<Codificacion> codificacion = Codificacion::PorNombre(nombre);
        QCOMPARE(codificacion ? codificacion->nombre() : QString(), iana);
    }

    void noCodificable_data()
    {
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<Codificacion>("codificacion");
        QTest::addColumn<FinLinea>("fin");
        QTest::addColumn<int>("linea");
        QTest::addColumn<int>("caracter"); // in that line
        const auto w1252 = Codificacion::Windows1252;
        const auto utf8 = Codificacion::Utf8;
        QTest::newRow("euro en 1252") << QStringList{u"10 €"_qs} << w1252 << FinLinea::CrLf << -1 << -1;
        QTest::newRow("marca fuera de 1252")
            << QStringList{"ok", u"hecho ✓"_qs} << w1252 << FinLinea::CrLf << 1 << 6;
        QTest::newRow("emoji fuera de 1252") << QStringList{u"ok 😀"_qs} << w1252 << FinLinea::CrLf << 0 << 3;
        QTest::newRow("c1 definido no es 1252")
            << QStringList{u"\u0080"_qs} << w1252 << FinLinea::CrLf << 0 << 0;
        QTest::newRow("salto visible en crlf")
            << QStringList{u"a\u240Ab"_qs} << w1252 << FinLinea::CrLf << -1 << -1;
        QTest::newRow("salto visible tras cr suelto")
            << QStringList{"a", u"\u240Ab"_qs} << utf8 << FinLinea::Cr << 1 << 0;
        QTest::newRow("salto visible tras crlf")
            << QStringList{"a", u"\u240Ab"_qs} << utf8 << FinLinea::CrLf << -1 << -1;
        QTest::newRow("marca de orden al principio sin bom")
            << QStringList{u"\uFEFFa"_qs} << utf8 << FinLinea::CrLf << 0 << 0;
        QTest::newRow("marca de orden en otra línea")
            << QStringList{"a", u"\uFEFFb"_qs} << utf8 << FinLinea::CrLf << -1 << -1;
        QTest::newRow("salto visible en unix 1252")
            << QStringList{u"a\u240Ab"_qs} << w1252 << FinLinea::Lf << 0 << 1;
        QTest::newRow("salto visible en unix utf-8")
            << QStringList{u"a\u240Ab"_qs} << utf8 << FinLinea::Lf << -1 << -1;
        QTest::newRow("cualquier cosa en utf-8")
            << QStringList{u"日本語 ✓"_qs} << utf8 << FinLinea::CrLf << -1 << -1;
        QTest::newRow("sustituto suelto")
            << QStringList{"a", QString(QChar(0xD800))} << utf8 << FinLinea::CrLf << 1 << 0;
        QTest::newRow("ñ en shift-jis")
            << QStringList{u"日本"_qs, u"niño"_qs} << Codificacion::ShiftJis << FinLinea::CrLf << 1 << 2;
        QTest::newRow("kanji en shift-jis")
            << QStringList{u"勇者よ"_qs} << Codificacion::ShiftJis << FinLinea::CrLf << -1 << -1;
        QTest::newRow("euro en windows-1251")
            << QStringList{u"10 € за хлеб"_qs} << Codificacion::Windows1251 << FinLinea::CrLf << -1 << -1;
        QTest::newRow("ñ en windows-1251")
            << QStringList{u"Привет"_qs, u"año"_qs} << Codificacion::Windows1251 << FinLinea::CrLf << 1 << 1;
        QTest::newRow("marca de orden al principio en utf-16 sin bom")
            << QStringList{u"\uFEFFa"_qs} << Codificacion::Utf16Le << FinLinea::CrLf << 0 << 0;
        QTest::newRow("carácter de reemplazo en euc-kr")
            << QStringList{u"\uFFFD"_qs} << Codificacion::EucKr << FinLinea::CrLf << 0 << 0;
        QTest::newRow("lo que sea en gb18030")
            << QStringList{u"日本語 ñ ✓ 😀"_qs} << Codificacion::Gb18030 << FinLinea::CrLf << -1 << -1;
    }
    void noCodificable()
    {
        QFETCH(QStringList, lineas);
        QFETCH(Codificacion, codificacion);
        QFETCH(FinLinea, fin);
        QFETCH(int, linea);
        const FormatoTexto formato{codificacion, false, fin};
        QCOMPARE(LineaNoCodificable(VistasDe(lineas), formato), linea);
        if (linea >= 0)
            QTEST(int(CaracterNoCodificable(VistasDe(lineas), linea, formato)), "caracter");
    }

    // A translation read a slice of lines at a time against the box's text split at its line breaks: the
    // same lines match, and any rearrangement of the same characters does not.
    void huellaTexto_data()
    {
        QTest::addColumn<QStringList>("leidas");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("igual");
        const QStringList leidas{u"uno"_qs, u"dos"_qs, QString(), u"tres"_qs};
        QTest::newRow("las mismas líneas") << leidas << u"uno\ndos\n\ntres"_qs << true;
        QTest::newRow("un salto movido") << leidas << u"un\nodos\n\ntres"_qs << false;
        QTest::newRow("dos líneas cambiadas de sitio") << leidas << u"dos\nuno\n\ntres"_qs << false;
        QTest::newRow("una línea vacía de más al final") << leidas << u"uno\ndos\n\ntres\n"_qs << false;
        QTest::newRow("una letra distinta") << leidas << u"uno\ndos\n\ntreS"_qs << false;
    }
    void huellaTexto()
    {
        QFETCH(QStringList, leidas);
        QFETCH(QString, texto);
        QFETCH(bool, igual);
        HuellaTexto enTramos;
        enTramos.Anadir(leidas.mid(0, 1));
        enTramos.Anadir(leidas.mid(1));
        QCOMPARE(HuellaTexto(QStringView(texto).split(u'\n')) == enTramos, igual);
    }

    void erroresDeLectura()
    {
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->filePath(QStringLiteral("falta.txt"))); }), 53);
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->filePath(QStringLiteral("no/falta.txt"))); }), 76);
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->path()); }), 75);
        EscribirBytes(dir_->filePath(QStringLiteral("s.txt")), "abc");
        FallosArchivos fallos;
        fallos.programar(OperacionArchivo::Leer, 1, EIO);
        QCOMPARE(NumeroDeError([&] { LeerArchivo(dir_->filePath(QStringLiteral("s.txt")), fallos); }), 57);
    }

    // A write that fails at any step leaves the old file exactly as it was, and no temporary file behind.
    void escrituraAtomica_data()
    {
        QTest::addColumn<OperacionArchivo>("operacion");
        QTest::addColumn<int>("codigoErrno");
        QTest::addColumn<int>("numero");
        QTest::newRow("abrir sin permiso") << OperacionArchivo::Abrir << EACCES << 70;
        QTest::newRow("disco lleno al escribir") << OperacionArchivo::Escribir << ENOSPC << 61;
        QTest::newRow("error de e/s al vaciar") << OperacionArchivo::Sincronizar << EIO << 57;
        QTest::newRow("renombrar sin permiso") << OperacionArchivo::Renombrar << EPERM << 70;
    }
    void escrituraAtomica()
    {
        QFETCH(OperacionArchivo, operacion);
        QFETCH(int, codigoErrno);
        QFETCH(int, numero);
        const QString ruta = dir_->filePath(QStringLiteral("t.txt"));
        EscribirBytes(ruta, "anterior\r\n");
        FallosArchivos fallos;
        fallos.programar(operacion, 1, codigoErrno);
        QCOMPARE(NumeroDeError([&] { EscribirArchivoAtomico(ruta, "nuevo\r\n", fallos); }), numero);
        QCOMPARE(LeerBytes(ruta), QByteArray("anterior\r\n"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.txt"});
        EscribirArchivoAtomico(ruta, "nuevo\r\n", fallos);
        QCOMPARE(LeerBytes(ruta), QByteArray("nuevo\r\n"));
    }

    // Where the file system cannot make a file without a name, the temporary is named after its process;
    // a later write into the folder removes those an editor left and nobody will finish, and only those.
    void temporalesAbandonados_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<bool>("antiguo"); // modified two days ago
        QTest::addColumn<bool>("queda");
        const pid_t muerto = ::fork();
        if (muerto == 0)
            ::_exit(0);
        QCOMPARE(::waitpid(muerto, nullptr, 0), muerto);
        const IdentidadProceso propio = EsteProceso();
        const auto temporal = [](const IdentidadProceso& escritor) -> QString {
            return u".velarto-"_s + QString::fromLatin1(escritor.texto()) + u"-Ab12Cd"_s;
        };
        const QString otroArranque =
            temporal({propio.pid, 1, propio.arranque == "ffffffff" ? "eeeeeeee" : "ffffffff"});
        QTest::newRow("editor terminado")
            << temporal({muerto, 7, propio.arranque}) << QByteArray("x") << false << false;
        QTest::newRow("este editor") << temporal(propio) << QByteArray("x") << false << true;
        QTest::newRow("número reutilizado") << temporal({propio.pid, propio.inicio + 1, propio.arranque})
                                            << QByteArray("x") << false << false;
        QTest::newRow("otro arranque reciente") << otroArranque << QByteArray("x") << false << true;
        QTest::newRow("otro arranque de hace dos días") << otroArranque << QByteArray("x") << true << false;
        QTest::newRow("versión anterior vacía")
            << u".velarto-%1-abcdef"_s.arg(muerto) << QByteArray() << false << false;
        QTest::newRow("versión anterior con datos")
            << u".velarto-%1-abcdef"_s.arg(muerto) << QByteArray("x") << false << true;
        QTest::newRow("versión anterior viva")
            << u".velarto-%1-abcdef"_s.arg(::getpid()) << QByteArray() << false << true;
        QTest::newRow("archivo del usuario")
            << u".velarto-%1-notas.txt"_s.arg(muerto) << QByteArray() << false << true;
    }
    void temporalesAbandonados()
    {
        QFETCH(QString, nombre);
        QFETCH(QByteArray, contenido);
        QFETCH(bool, antiguo);
        QFETCH(bool, queda);
        const QString ruta = dir_->filePath(nombre);
        EscribirBytes(ruta, contenido);
        if (antiguo) {
            QFile archivo(ruta);
            QVERIFY(archivo.open(QIODevice::ReadWrite) &&
                    archivo.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                        QFileDevice::FileModificationTime));
        }
        FallosArchivos sinNombre;
        sinNombre.programar(OperacionArchivo::Abrir, 1, EOPNOTSUPP);
        EscribirArchivoAtomico(dir_->filePath(QStringLiteral("t.txt")), "nuevo", sinNombre);
        QCOMPARE(LeerBytes(dir_->filePath(QStringLiteral("t.txt"))), QByteArray("nuevo"));
        const QStringList esperados = queda ? QStringList{nombre, "t.txt"} : QStringList{"t.txt"};
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), esperados);
    }

    void escrituraConservaPermisos()
    {
        const QString ruta = dir_->filePath(QStringLiteral("t.txt"));
        EscribirBytes(ruta, "x");
        QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner);
        EscribirArchivoAtomico(ruta, "y");
        const QFile::Permissions permisos = QFile::permissions(ruta);
        QVERIFY(permisos.testFlags(QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!(permisos & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther)));
    }

    void carpetasYBorrado()
    {
        const QString carpeta = dir_->filePath(QStringLiteral("Traducidos/"));
        CrearCarpeta(carpeta);
        QVERIFY(QFileInfo(carpeta).isDir());
        QCOMPARE(NumeroDeError([&] { CrearCarpeta(carpeta); }), 75);
        QCOMPARE(NumeroDeError([&] { CrearCarpeta(dir_->filePath(QStringLiteral("a/b"))); }), 76);
        // A folder is never deleted as if it were a script.
        QCOMPARE(NumeroDeError([&] { EliminarArchivo(carpeta); }), 53);
        QVERIFY(QFileInfo(carpeta).isDir());
        QCOMPARE(NumeroDeError([&] { EliminarArchivo(dir_->filePath(QStringLiteral("falta.txt"))); }), 53);
        // A link is removed itself; what it points to stays.
        const QString destino = dir_->filePath(QStringLiteral("destino.txt"));
        const QString enlace = dir_->filePath(QStringLiteral("enlace.txt"));
        EscribirBytes(destino, "valioso");
        QVERIFY(QFile::link(destino, enlace));
        EliminarArchivo(enlace);
        QVERIFY(!QFileInfo::exists(enlace));
        QCOMPARE(LeerBytes(destino), QByteArray("valioso"));
    }

    // The text a background read joins on its thread is exactly its slices' lines joined by '\n', which
    // is what the box holds after a load: the drafts take it as their reference.
    void lecturaConTexto_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray muchas;
        for (int i = 0; i < 5000; ++i)
            muchas += i % 7 ? QByteArray::number(i) + " línea\r\n" : QByteArray("\r\n");
        QTest::newRow("varios tramos, líneas vacías") << muchas;
        QTest::newRow("termina en salto") << QByteArray("uno\ndos\n");
        QByteArray mezcla;
        for (int i = 0; i < 3000; ++i)
            mezcla += i == 2500 ? "«€» y ñ\n" : "año ñandú\n";
        QTest::newRow("Latin-1 y después otro carácter") << mezcla;
        QTest::newRow("solo un salto") << QByteArray("\r\n");
        QTest::newRow("vacío") << QByteArray();
        QTest::newRow("UTF-16 con marca") << QByteArray("\xff\xfe"
                                                        "a\0\r\0\n\0\xe9\0",
                                                        10);
    }
    void lecturaConTexto()
    {
        QFETCH(QByteArray, bytes);
        const QString ruta = dir_->filePath(QStringLiteral("t.txt"));
        EscribirBytes(ruta, bytes);
        LecturaLineas lectura(ruta, SistemaReal(), {}, LecturaLineas::Texto::Entero);
        QStringList lineas;
        while (!lectura.terminada()) {
            if (const std::optional<QStringList> tramo = lectura.Tomar())
                lineas += *tramo;
            else
                EsperarEventos();
        }
        QCOMPARE(lineas, LeerLineas(ruta));
        const TextoCompacto texto = lectura.texto();
        QCOMPARE(texto.Vista().toString(), lineas.join(u'\n'));
    }

private:
    std::optional<QTemporaryDir> dir_;
};

VELARTO_PRUEBA(PruebaTextoArchivo)
#include "tst_texto_archivo.moc"
