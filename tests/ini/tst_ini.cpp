// The profile store over bookmark files as translators have them: written on Windows, edited by hand
// or written by this editor.
#include <cerrno>
#include <optional>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "fallos_archivos.h"
#include "carpeta_prueba.h"
#include "ini.h"
#include "principal.h"

Q_DECLARE_METATYPE(OperacionArchivo)

namespace {

// A fixture file shipped beside this test.
QByteArray Muestra(const char* nombre)
{
    const QString ruta = QFINDTESTDATA(QString(u"datos/" + QString::fromLatin1(nombre)));
    const QByteArray datos = LeerBytes(ruta);
    if (datos.isEmpty())
        qWarning("missing fixture %s", nombre);
    return datos;
}

// A fixture with one stretch of it replaced: the file a write should leave.
QByteArray MuestraCambiada(const char* nombre, const QByteArray& antes, const QByteArray& despues)
{
    return Muestra(nombre).replace(antes, despues);
}

} // namespace

class PruebaIni final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
        ruta_ = dir_->filePath(QStringLiteral("Velarto.vrk"));
    }

    void leer_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<bool>("existe");
        QTest::addColumn<QString>("seccion");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("esperado");

        const auto fila = [](const char* nombre, const QByteArray& contenido, const QString& seccion,
                             const QString& clave, const QString& esperado) {
            QTest::newRow(nombre) << contenido << true << seccion << clave << esperado;
        };
        const QString marcador = QStringLiteral("Marcador");
        const QString indice = QStringLiteral("Indice");
        fila("windows crlf", Muestra("windows.vrk"), marcador, indice, QStringLiteral("12"));
        fila("clave ausente", Muestra("windows.vrk"), marcador, QStringLiteral("Nota"), QString());
        QTest::newRow("archivo inexistente") << QByteArray() << false << marcador << indice << QString();

        fila("a mano: blancos y comillas dobles", Muestra("a_mano.vrk"), marcador, indice,
             QStringLiteral(" 7 "));
        fila("a mano: comillas simples", Muestra("a_mano.vrk"), marcador, QStringLiteral("nota"),
             QStringLiteral("Revisar el final"));
        fila("a mano: comentario no es clave", Muestra("a_mano.vrk"), marcador, QStringLiteral("Capitulo"),
             QString());
        fila("a mano: comillas que no casan", Muestra("a_mano.vrk"), marcador, QStringLiteral("Comillas"),
             QStringLiteral("\"abierta'"));
        fila("a mano: punto y coma en el valor", Muestra("a_mano.vrk"), marcador, QStringLiteral("RUTA"),
             QStringLiteral("C:\\Guiones ; no es un comentario"));
        fila("a mano: la seccion siguiente", Muestra("a_mano.vrk"), QStringLiteral("OTRA"), indice,
             QStringLiteral("99"));

        fila("duplicados: la primera clave", Muestra("duplicados.vrk"), marcador, indice,
             QStringLiteral("4"));
        fila("duplicados: solo la primera seccion", Muestra("duplicados.vrk"), marcador,
             QStringLiteral("Extra"), QString());

        fila("solo lf, seccion en minusculas", Muestra("lf.vrk"), marcador, indice, QStringLiteral("8"));
        fila("cr sueltos", Muestra("cr.vrk"), marcador, QStringLiteral("Nota"), QStringLiteral("cr"));
        fila("sin salto final", Muestra("sin_final.vrk"), marcador, indice, QStringLiteral("2"));
        fila("nul dentro del valor", Muestra("nul.vrk"), marcador, QStringLiteral("Nota"),
             QStringLiteral("abc"));
        fila("relleno de nul sin salto final", Muestra("nul.vrk"), marcador, indice, QStringLiteral("3"));
        fila("windows-1252", Muestra("cp1252.vrk"), marcador, QStringLiteral("TÍTULO"),
             QStringLiteral("Canción de cuna"));
        fila("utf-8 con bom", Muestra("utf8_bom.vrk"), marcador, QStringLiteral("título"),
             QStringLiteral("Canción de cuna"));
        fila("bom con un byte que no es utf-8", "\xEF\xBB\xBF[Marcador]\r\nINDICE=1\r\nNota=\xF0\r\n",
             marcador, indice, QStringLiteral("1"));

        fila("clave antes de toda seccion", "INDICE=1\r\n[Marcador]\r\nNota=x\r\n", marcador, indice,
             QString());
        const QString largo(2000, u'x');
        fila("valor de 2000 caracteres", "[Marcador]\r\nNota=" + largo.toLatin1() + "\r\n", marcador,
             QStringLiteral("Nota"), largo);
    }

    void leer()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(bool, existe);
        QFETCH(QString, seccion);
        QFETCH(QString, clave);
        QFETCH(QString, esperado);
        if (existe)
            EscribirBytes(ruta_, contenido);

        QCOMPARE(LeerIni(seccion, clave, ruta_), esperado);
        QCOMPARE(clave, clave.toLower());
    }

    void leerConFalloDaVacio()
    {
        EscribirBytes(ruta_, Muestra("windows.vrk"));
        FallosArchivos fallos;
        fallos.programar(OperacionArchivo::Leer, 1, EIO);
        QString clave = QStringLiteral("Indice");
        QCOMPARE(LeerIni(QStringLiteral("Marcador"), clave, ruta_, fallos), QString());
    }

    void escribir_data()
    {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<bool>("existe");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QByteArray>("despues");
        QTest::addColumn<QString>("leido");

        // Every row writes into section "Marcador".
        const auto fila = [](const char* nombre, const QByteArray& antes, const QString& clave,
                             const QString& valor, const QByteArray& despues, const QString& leido) {
            QTest::newRow(nombre) << antes << true << clave << valor << despues << leido;
        };
        const auto indice3 = [&fila](const char* nombre, const QByteArray& antes, const QByteArray& despues) {
            fila(nombre, antes, QStringLiteral("Indice"), QStringLiteral("3"), despues, QStringLiteral("3"));
        };
        const QByteArray nuevo = "[Marcador]\r\nINDICE=3\r\n";
        QTest::newRow("archivo nuevo") << QByteArray() << false << QStringLiteral("Indice")
                                       << QStringLiteral("3") << nuevo << QStringLiteral("3");
        indice3("archivo vacio", QByteArray(), nuevo);

        indice3("reemplazo windows", Muestra("windows.vrk"), nuevo);
        fila("mismo valor", Muestra("windows.vrk"), QStringLiteral("Indice"), QStringLiteral("12"),
             Muestra("windows.vrk"), QStringLiteral("12"));
        indice3("reemplazo a mano", Muestra("a_mano.vrk"),
                MuestraCambiada("a_mano.vrk", "   indice   =   \" 7 \"   ", "indice=3"));
        indice3("reemplazo solo lf", Muestra("lf.vrk"), "[marcador]\nindice=3\nNota=lf\n");
        indice3("reemplazo sin salto final", Muestra("sin_final.vrk"), "[Marcador]\r\nINDICE=3");
        indice3("reemplazo con relleno de nul", Muestra("nul.vrk"),
                QByteArray("[Marcador]\r\nNota=abc\0def\r\nINDICE=3", 34));
        indice3("reemplazo de clave vacia", "[Marcador]\r\nIndice=\r\n", "[Marcador]\r\nIndice=3\r\n");
        indice3("solo la primera de claves repetidas", Muestra("duplicados.vrk"),
                MuestraCambiada("duplicados.vrk", "Indice=4", "Indice=3"));

        indice3("linea sin igual no es clave", "[Marcador]\r\nIndice\r\n",
                "[Marcador]\r\nIndice\r\nINDICE=3\r\n");
        indice3("comentario no es clave", "[Marcador]\r\n;INDICE=1\r\n",
                "[Marcador]\r\n;INDICE=1\r\nINDICE=3\r\n");
        indice3("clave nueva al final de su seccion", "[Marcador]\r\nNota=x\r\n\r\n[Otra]\r\nA=1\r\n",
                "[Marcador]\r\nNota=x\r\nINDICE=3\r\n\r\n[Otra]\r\nA=1\r\n");
        indice3("clave nueva, seccion sin salto final", "[Otra]\r\nA=1\r\n[Marcador]\r\nNota=x",
                "[Otra]\r\nA=1\r\n[Marcador]\r\nNota=x\r\nINDICE=3\r\n");
        indice3("clave nueva en la primera de secciones repetidas",
                "[Marcador]\r\nA=1\r\n[Marcador]\r\nINDICE=2\r\n",
                "[Marcador]\r\nA=1\r\nINDICE=3\r\n[Marcador]\r\nINDICE=2\r\n");

        indice3("seccion nueva al final", "[Otra]\r\nA=1\r\n", "[Otra]\r\nA=1\r\n[Marcador]\r\nINDICE=3\r\n");
        indice3("seccion nueva, archivo sin salto final", "[Otra]\r\nA=1",
                "[Otra]\r\nA=1\r\n[Marcador]\r\nINDICE=3\r\n");
        indice3("seccion nueva tras clave sin seccion", "INDICE=1\r\n",
                "INDICE=1\r\n[Marcador]\r\nINDICE=3\r\n");
        indice3("seccion nueva tras solo bom", "\xEF\xBB\xBF", "\xEF\xBB\xBF[Marcador]\r\nINDICE=3\r\n");
        indice3("bom y un byte que no es utf-8 en otra seccion",
                "\xEF\xBB\xBF[Marcador]\r\nINDICE=0\r\n[MARCADOR]\r\nINDICE=1\xF0\r\n",
                "\xEF\xBB\xBF[Marcador]\r\nINDICE=3\r\n[MARCADOR]\r\nINDICE=1\xF0\r\n");

        fila("windows-1252", Muestra("cp1252.vrk"), QStringLiteral("título"), QStringLiteral("Acción"),
             MuestraCambiada("cp1252.vrk", "Canci\xF3n de cuna", "Acci\xF3n"), QStringLiteral("Acción"));
        fila("windows-1252 sin el caracter", Muestra("cp1252.vrk"), QStringLiteral("Nota"),
             QStringLiteral("日本"), Muestra("cp1252.vrk") + "NOTA=??\r\n", QStringLiteral("??"));
        fila("utf-8 con bom", Muestra("utf8_bom.vrk"), QStringLiteral("Título"), QStringLiteral("日本"),
             MuestraCambiada("utf8_bom.vrk", "Canción de cuna", "日本"), QStringLiteral("日本"));
        fila("salto de linea en el valor", "[Marcador]\r\n", QStringLiteral("Nota"), QStringLiteral("a\r\nb"),
             "[Marcador]\r\nNOTA=a??b\r\n", QStringLiteral("a??b"));
    }

    void escribir()
    {
        QFETCH(QByteArray, antes);
        QFETCH(bool, existe);
        QFETCH(QString, clave);
        QFETCH(QString, valor);
        QFETCH(QByteArray, despues);
        QFETCH(QString, leido);
        if (existe)
            EscribirBytes(ruta_, antes);
        const QString claveAntes = clave;

        EscribirIni(QStringLiteral("Marcador"), clave, valor, ruta_);

        QCOMPARE(clave, claveAntes);
        QCOMPARE(LeerBytes(ruta_), despues);
        QCOMPARE(LeerIni(QStringLiteral("marcador"), clave, ruta_), leido);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Velarto.vrk")});
    }

    // A write that fails is silent and leaves the bookmark file, or its absence, as it was.
    void falloAlEscribir_data()
    {
        QTest::addColumn<OperacionArchivo>("operacion");
        QTest::addColumn<int>("enesima");
        QTest::addColumn<int>("codigoErrno");
        QTest::addColumn<bool>("existe");

        // The first open is the read of the old file; the second creates the temporary file.
        QTest::newRow("crear el temporal, archivo nuevo") << OperacionArchivo::Abrir << 2 << EACCES << false;
        QTest::newRow("abrir el archivo existente") << OperacionArchivo::Abrir << 1 << EACCES << true;
        QTest::newRow("leer el archivo existente") << OperacionArchivo::Leer << 1 << EIO << true;
        QTest::newRow("disco lleno") << OperacionArchivo::Escribir << 1 << ENOSPC << true;
        QTest::newRow("renombrar") << OperacionArchivo::Renombrar << 1 << EXDEV << true;
    }

    void falloAlEscribir()
    {
        QFETCH(OperacionArchivo, operacion);
        QFETCH(int, enesima);
        QFETCH(int, codigoErrno);
        QFETCH(bool, existe);
        const QByteArray antes = Muestra("a_mano.vrk");
        if (existe)
            EscribirBytes(ruta_, antes);

        FallosArchivos fallos;
        fallos.programar(operacion, enesima, codigoErrno);
        EscribirIni(QStringLiteral("Marcador"), QStringLiteral("Indice"), QStringLiteral("3"), ruta_, fallos);

        const QStringList quedan =
            QDir(dir_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (existe) {
            QCOMPARE(quedan, QStringList{QStringLiteral("Velarto.vrk")});
            QCOMPARE(LeerBytes(ruta_), antes);
        } else {
            QCOMPARE(quedan, QStringList());
        }
    }

private:
    std::optional<QTemporaryDir> dir_;
    QString ruta_;
};

VELARTO_PRUEBA(PruebaIni)
#include "tst_ini.moc"
