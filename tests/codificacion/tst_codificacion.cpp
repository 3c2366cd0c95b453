// Code pages per folder: the choice in a bookmark file as Windows leaves it, the translations' code pages
// and the rules that decide a translation's code page.
#include <cerrno>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "carpeta_prueba.h"
#include "codificacion.h"
#include "fallos_archivos.h"
#include "principal.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FormatoTexto)
Q_DECLARE_METATYPE(TipoArchivo)

namespace {

std::optional<Codificacion> Nombre(const QString& nombre)
{
    return nombre.isEmpty() ? std::nullopt : Codificacion::PorNombre(nombre);
}

QString Nombre(std::optional<Codificacion> codificacion)
{
    return codificacion ? codificacion->nombre() : QString();
}

FormatoTexto Formato(Codificacion codificacion, bool evidencia, FinLinea fin = FinLinea::CrLf,
                     bool bom = false)
{
    return {codificacion, bom, fin, evidencia};
}

QByteArray Muestra(const char* nombre)
{
    return LeerBytes(QFINDTESTDATA(QString(u"datos/" + QString::fromLatin1(nombre))));
}

// A sample script shared by the tests.
QByteArray Datos(const char* nombre)
{
    return LeerBytes(QStringLiteral(VELARTO_DATOS "/") + QString::fromLatin1(nombre));
}

} // namespace

class PruebaCodificacion final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
    }

    void leerEleccion_data()
    {
        QTest::addColumn<QByteArray>("marcador");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("traduccion");
        QTest::newRow("escrito en windows") << Muestra("windows.vrk") << u"windows-1251"_s << QString();
        QTest::newRow("sin distinguir mayúsculas")
            << QByteArray("[CODIFICACION]\nTRADUCCION=shift_jis\n") << QString() << u"Shift_JIS"_s;
        QTest::newRow("alias de windows")
            << QByteArray("[Codificacion]\r\nOriginal=cp932\r\n") << u"Shift_JIS"_s << QString();
        QTest::newRow("nombre desconocido")
            << QByteArray("[Codificacion]\r\nOriginal=marciano\r\n") << QString() << QString();
        QTest::newRow("automática") << QByteArray("[Codificacion]\r\nORIGINAL=\r\n") << QString()
                                    << QString();
        QTest::newRow("sin archivo") << QByteArray() << QString() << QString();
    }
    void leerEleccion()
    {
        QFETCH(QByteArray, marcador);
        QFETCH(QString, original);
        QFETCH(QString, traduccion);
        if (!marcador.isEmpty())
            EscribirBytes(dir_->filePath(u"Velarto.vrk"_s), marcador);
        const EleccionCarpeta eleccion = LeerEleccion(dir_->path());
        QCOMPARE(Nombre(eleccion.original), original);
        QCOMPARE(Nombre(eleccion.traduccion), traduccion);
    }

    // Only the choice's line changes (or is added) in a file written on Windows.
    void escribirEleccion_data()
    {
        QTest::addColumn<TipoArchivo>("tipo");
        QTest::addColumn<QString>("codificacion");
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QByteArray>("despues");
        const QByteArray windows = Muestra("windows.vrk");
        QTest::newRow("nueva clave en la sección")
            << TipoArchivo::Traduccion << u"Shift_JIS"_s << windows
            << QByteArray(windows).replace("Nota=Canci\xf3n\r\n",
                                           "Nota=Canci\xf3n\r\nTRADUCCION=Shift_JIS\r\n");
        QTest::newRow("cambia la clave que había")
            << TipoArchivo::Original << u"KOI8-R"_s << windows
            << QByteArray(windows).replace("original=windows-1251", "original=KOI8-R");
        QTest::newRow("automática quita la elección")
            << TipoArchivo::Original << QString() << windows
            << QByteArray(windows).replace("original=windows-1251", "original=");
        QTest::newRow("automática sin elección no toca nada")
            << TipoArchivo::Traduccion << QString() << windows << windows;
        QTest::newRow("sección nueva tras el marcador")
            << TipoArchivo::Original << u"EUC-KR"_s << QByteArray("[Marcador]\r\nINDICE=3\r\n")
            << QByteArray("[Marcador]\r\nINDICE=3\r\n[Codificacion]\r\nORIGINAL=EUC-KR\r\n");
    }
    void escribirEleccion()
    {
        QFETCH(TipoArchivo, tipo);
        QFETCH(QString, codificacion);
        QFETCH(QByteArray, antes);
        QFETCH(QByteArray, despues);
        const QString ruta = dir_->filePath(u"Velarto.vrk"_s);
        EscribirBytes(ruta, antes);
        EscribirEleccion(dir_->path(), tipo, Nombre(codificacion));
        QCOMPARE(LeerBytes(ruta), despues);
        const EleccionCarpeta eleccion = LeerEleccion(dir_->path());
        QCOMPARE(Nombre(tipo == TipoArchivo::Original ? eleccion.original : eleccion.traduccion),
                 codificacion);
    }

    // Only translations that show their code page count; the one being saved is left out.
    void otrasTraducciones()
    {
        const QString traducidos = dir_->filePath(u"Traducidos/"_s);
        EscribirBytes(traducidos + u"a.txt", "ca\xf1\x61\r\n");
        EscribirBytes(traducidos + u"b.txt", "ni\xf1o\r\n");
        EscribirBytes(traducidos + u"c.txt", "ni\xc3\xb1o\r\n");
        EscribirBytes(traducidos + u"d.txt", "solo ascii\r\n");
        EscribirBytes(traducidos + u"e.txt", "\xEF\xBB\xBF"
                                             "bom\r\n");
        const QHash<QString, Codificacion> traducidas = CodificacionesTraducidas(dir_->path());
        QCOMPARE(traducidas.size(), 4);
        QVERIFY(!traducidas.contains(u"d.txt"_s));
        QCOMPARE(MasComun(traducidas, u"c.txt"_s), Codificacion::Windows1252);
        QCOMPARE(MasComun(traducidas, u"a.txt"_s), Codificacion::Utf8); // two against one
        QCOMPARE(MasComun({}, u"a.txt"_s), std::nullopt);
        QCOMPARE(CodificacionesTraducidas(dir_->filePath(u"no_existe"_s)).size(), 0);
    }

    // The code page an original shows, judged from the lines from its first byte above 127; an ASCII one
    // shows none.
    void originales_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("eleccion");
        QTest::addColumn<QString>("esperada");
        const QByteArray ascii = ScriptDePrueba(3000);
        QTest::newRow("ascii") << ascii << QString() << QString();
        QTest::newRow("utf-16 por su marca") << QByteArray("\xff\xfe"
                                                           "a\0\r\0\n\0",
                                                           8) +
                                                    QByteArray(100000, 'a')
                                             << QString() << u"UTF-16LE"_s;
        // Past the sample only whole lines count, or a character cut in two would read as Windows-1252.
        QTest::newRow("utf-8 cortado por la muestra")
            << QByteArray("\xc3\xb1").repeated(10) + "\r\na" + QByteArray("\xc3\xb1").repeated(40000) + "\r\n"
            << QString() << u"UTF-8"_s;
        QTest::newRow("línea utf-8 más larga que la muestra")
            << QByteArray("\xc3\xb1 \xc3\xb1").repeated(30000) << QString() << u"UTF-8"_s;
        QTest::newRow("línea ascii enorme antes") << QByteArray(200000, 'a') + "\xf1\r\n"
                                                  << QString() << u"windows-1252"_s;
        // Bytes that would be a mark at the start of the file are text inside it.
        QTest::newRow("ÿþ dentro del archivo") << ascii + "\xff\xfe fin\r\n"
                                               << QString() << u"windows-1252"_s;
        QTest::newRow("la elección de la carpeta")
            << Datos("espanol_1252.txt") << u"windows-1251"_s << u"windows-1251"_s;
    }
    void originales()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, eleccion);
        QFETCH(QString, esperada);
        EscribirBytes(dir_->filePath(u"guion.txt"_s), contenido);
        const QHash<QString, Codificacion> originales =
            CodificacionesOriginales(dir_->path(), {u"guion.txt"_s, u"falta.txt"_s}, Nombre(eleccion));
        // The missing file shows nothing, like an ASCII one.
        QCOMPARE(originales.size(), esperada.isEmpty() ? 0 : 1);
        QCOMPARE(originales.isEmpty() ? QString() : originales.value(u"guion.txt"_s).nombre(), esperada);
    }

    // A file that shows its code page early is read no further, however long it is.
    void soloLeeLoNecesario()
    {
        const QString ruta = dir_->filePath(u"largo.txt"_s);
        EscribirBytes(ruta, "Canci\xf3n\r\n" + ScriptDePrueba(100000));
        FallosArchivos fallos;
        fallos.programar(OperacionArchivo::Leer, 3, EIO);
        QCOMPARE(CodificacionMostrada(ruta, {}, fallos), Codificacion::Windows1252);
    }

    void formatoTraduccion_data()
    {
        QTest::addColumn<QString>("eleccion");
        QTest::addColumn<bool>("hayTraducido");
        QTest::addColumn<FormatoTexto>("traduccion");
        QTest::addColumn<QString>("otras");
        QTest::addColumn<FormatoTexto>("original");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<FormatoTexto>("esperado");
        QTest::addColumn<QString>("originales");
        const auto utf8 = Codificacion::Utf8;
        const auto w1252 = Codificacion::Windows1252;
        const auto sjis = Codificacion::ShiftJis;
        const FormatoTexto nada;
        QTest::newRow("la elección de la carpeta")
            << u"windows-1251"_s << true << Formato(w1252, true, FinLinea::Lf) << u"UTF-8"_s
            << Formato(sjis, true) << u"a"_s << Formato(Codificacion::Windows1251, false, FinLinea::Lf)
            << QString();
        QTest::newRow("la evidencia de la traducción")
            << QString() << true << Formato(w1252, true, FinLinea::Lf) << u"UTF-8"_s << Formato(sjis, true)
            << u"a"_s << Formato(w1252, false, FinLinea::Lf) << QString();
        QTest::newRow("traducción solo ascii: las otras traducciones")
            << QString() << true << Formato(utf8, false) << u"windows-1252"_s << Formato(utf8, true) << u"ñ"_s
            << Formato(w1252, false) << QString();
        QTest::newRow("sin traducción: las otras traducciones")
            << QString() << false << nada << u"Shift_JIS"_s << Formato(w1252, true, FinLinea::Cr) << u"a"_s
            << Formato(sjis, false, FinLinea::Cr) << QString();
        QTest::newRow("el original cuando cabe")
            << QString() << false << nada << QString() << Formato(w1252, true) << u"niño"_s
            << Formato(w1252, false) << QString();
        QTest::newRow("el original cuando no cabe")
            << QString() << false << nada << QString() << Formato(w1252, true) << u"niño\nΩ"_s
            << Formato(utf8, false) << QString();
        QTest::newRow("original solo ascii")
            << QString() << false << nada << QString() << Formato(w1252, false) << u"niño"_s
            << Formato(utf8, false) << QString();
        QTest::newRow("traducción y original solo ascii")
            << QString() << true << Formato(utf8, false, FinLinea::Lf) << QString() << Formato(sjis, false)
            << u"ñ"_s << Formato(utf8, false, FinLinea::Lf) << QString();
        QTest::newRow("bom del original")
            << QString() << false << nada << QString() << Formato(utf8, true, FinLinea::CrLf, true) << u"ñ"_s
            << Formato(utf8, false, FinLinea::CrLf, true) << QString();
        QTest::newRow("la traducción conserva su bom")
            << u"UTF-8"_s << true << Formato(utf8, true, FinLinea::CrLf, true) << QString()
            << Formato(w1252, true) << u"ñ"_s << Formato(utf8, false, FinLinea::CrLf, true) << QString();
        QTest::newRow("utf-16 nuevo lleva su marca")
            << u"UTF-16LE"_s << false << nada << QString() << Formato(w1252, true) << u"ñ"_s
            << Formato(Codificacion::Utf16Le, false, FinLinea::CrLf, true) << QString();
        // The originals' code page comes after everything else the folder shows, before UTF-8.
        QTest::newRow("original solo ascii: los originales")
            << QString() << false << nada << QString() << Formato(w1252, false, FinLinea::Lf) << u"niño"_s
            << Formato(w1252, false, FinLinea::Lf) << u"windows-1252"_s;
        QTest::newRow("los originales cuando no caben")
            << QString() << false << nada << QString() << Formato(w1252, false) << u"Ω"_s
            << Formato(utf8, false) << u"windows-1252"_s;
        QTest::newRow("las otras traducciones antes que los originales")
            << QString() << false << nada << u"Shift_JIS"_s << Formato(w1252, false) << u"a"_s
            << Formato(sjis, false) << u"windows-1252"_s;
        QTest::newRow("el original no cabe: los originales")
            << QString() << false << nada << QString() << Formato(w1252, true) << u"日本"_s
            << Formato(sjis, false) << u"Shift_JIS"_s;
    }
    void formatoTraduccion()
    {
        QFETCH(QString, eleccion);
        QFETCH(bool, hayTraducido);
        QFETCH(FormatoTexto, traduccion);
        QFETCH(QString, otras);
        QFETCH(FormatoTexto, original);
        QFETCH(QString, texto);
        QFETCH(FormatoTexto, esperado);
        QFETCH(QString, originales);
        const EvidenciaTraduccion evidencia{Nombre(eleccion), hayTraducido, traduccion,
                                            Nombre(otras),    original,     Nombre(originales)};
        const FormatoTexto formato = FormatoTraduccion(evidencia, QStringView(texto).split(u'\n'));
        QCOMPARE(formato.codificacion.nombre(), esperado.codificacion.nombre());
        QCOMPARE(formato.bom, esperado.bom);
        QCOMPARE(formato.finLinea, esperado.finLinea);
    }

private:
    std::optional<QTemporaryDir> dir_;
};

VELARTO_PRUEBA(PruebaCodificacion)
#include "tst_codificacion.moc"
