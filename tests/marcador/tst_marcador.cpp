// The folder's bookmark in bookmark files as translators have them: written by the original program on
// Windows (only "Indice"), by this editor, or too large to be one.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "carpeta_prueba.h"
#include "error_esperado.h"
#include "ini.h"
#include "marcador.h"
#include "principal.h"

using namespace Qt::StringLiterals;

class PruebaMarcador final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
        ruta_ = dir_->filePath(u"Velarto.vrk"_s);
    }

    void leer_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<int>("linea");
        QTest::addColumn<int>("error");
        QTest::newRow("sin archivo") << QByteArray() << 0 << QString() << 0 << 0;
        QTest::newRow("solo indice, del programa original")
            << QByteArray("[Marcador]\r\nIndice=12\r\n[Otra]\r\nArchivo=x.txt\r\n") << 12 << QString() << 0
            << 0;
        QTest::newRow("nombre y linea") << QByteArray("[Marcador]\nINDICE=2\nARCHIVO=\"c.txt\"\nLINEA=40\n")
                                        << 2 << u"c.txt"_s << 40 << 0;
        QByteArray enorme = "[Marcador]\r\nINDICE=3\r\n";
        enorme += QByteArray(maximoPerfil, ';');
        QTest::newRow("mayor que el limite") << enorme << 0 << QString() << 0 << 75;
    }
    void leer()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(int, indice);
        QFETCH(QString, archivo);
        QFETCH(int, linea);
        QFETCH(int, error);
        if (!contenido.isEmpty())
            EscribirBytes(ruta_, contenido);
        Marcador marcador;
        QCOMPARE(NumeroDeError([&] { marcador = LeerMarcador(dir_->path()); }), error);
        QCOMPARE(marcador.indice, indice);
        QCOMPARE(marcador.archivo, archivo);
        QCOMPARE(marcador.linea, linea);
    }

    // The three keys are written in one go; every other byte of the file stays, in its own code page.
    void escribir_data()
    {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QByteArray>("despues");
        const QByteArray windows = "; Velarto\r\n[Marcador]\r\nIndice=1\r\nNota=Canci\xf3n\r\n\r\n"
                                   "[Codificacion]\r\nORIGINAL=Shift_JIS\r\n";
        QTest::newRow("solo indice, del programa original")
            << windows << u" Capítulo.txt"_s
            << QByteArray(windows)
                   .replace("Indice=1", "Indice=2")
                   .replace("Canci\xf3n\r\n", "Canci\xf3n\r\nARCHIVO=\" Cap\xedtulo.txt\"\r\nLINEA=7\r\n");
        const QByteArray propio = "[Marcador]\nINDICE=0\nARCHIVO=\"a.txt\"\nLINEA=1\n[Otra]\nx=1\n";
        QTest::newRow("reemplaza los suyos")
            << propio << u"c.txt"_s
            << QByteArray("[Marcador]\nINDICE=2\nARCHIVO=\"c.txt\"\nLINEA=7\n"
                          "[Otra]\nx=1\n");
    }
    void escribir()
    {
        QFETCH(QByteArray, antes);
        QFETCH(QString, archivo);
        QFETCH(QByteArray, despues);
        if (!antes.isEmpty())
            EscribirBytes(ruta_, antes);
        EscribirMarcador(dir_->path(), {2, archivo, 7});
        QCOMPARE(LeerBytes(ruta_), despues);
        const Marcador leido = LeerMarcador(dir_->path());
        QCOMPARE(leido.indice, 2);
        QCOMPARE(leido.archivo, archivo);
        QCOMPARE(leido.linea, 7);
    }

private:
    std::optional<QTemporaryDir> dir_;
    QString ruta_;
};

VELARTO_PRUEBA(PruebaMarcador)
#include "tst_marcador.moc"
