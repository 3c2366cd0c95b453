// The draft store on its own: the file format's round trip and what a reader refuses, file names, and
// the order of writes when queued snapshots race one done at once.
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "borradores.h"
#include "carpeta_prueba.h"
#include "principal.h"

class PruebaAlmacenBorradores final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Any text and any path (which may hold any byte but NUL) come back as they were written.
    void idaYVuelta_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("ruta");
        const QString ruta = QStringLiteral("/juego/Traducidos/intro final.txt");
        QTest::newRow("vacio") << QString() << ruta;
        QTest::newRow("acentos y lineas") << QStringLiteral("¿Qué tal?\nAdiós\n\n") << ruta;
        QTest::newRow("marca de orden al principio") << QStringLiteral("\uFEFFHola") << ruta;
        QTest::newRow("espacio duro y tabulador") << QStringLiteral("a\u00A0b\tc") << ruta;
        QTest::newRow("fuera del plano basico") << QStringLiteral("\U0001F600 fin") << ruta;
        QTest::newRow("ruta con salto de linea")
            << QStringLiteral("t") << QStringLiteral("/a b/l\nn %41/x.txt");
    }
    void idaYVuelta()
    {
        QFETCH(QString, texto);
        QFETCH(QString, ruta);
        const Borrador borrador{ruta, QDateTime(QDate(2026, 5, 4), QTime(10, 20, 30, 123), Qt::UTC), texto};
        const std::optional<Borrador> leido = DecodificarBorrador(CodificarBorrador(borrador));
        QVERIFY(leido);
        QCOMPARE(leido->texto, texto);
        QCOMPARE(leido->rutaTraduccion, ruta);
        QCOMPARE(leido->fecha, borrador.fecha);
    }

    void nombres()
    {
        const QString a = NombreArchivoBorrador(QStringLiteral("/uno/Traducidos/diálogo 1.txt"));
        QVERIFY(a.startsWith(u"di_logo_1."));
        QVERIFY(EsNombreBorrador(a));
        QVERIFY(a != NombreArchivoBorrador(QStringLiteral("/dos/Traducidos/diálogo 1.txt")));
        QCOMPARE(a, NombreArchivoBorrador(QStringLiteral("/uno/./Traducidos//diálogo 1.txt")));
        QVERIFY(!EsNombreBorrador(QStringLiteral(".velarto-AbC123")));
    }

    // Snapshots queued one after another and one written at once: the file ends with the newest, and
    // the signals tell the newest last.
    void gananLasNuevas()
    {
        QTemporaryDir dir;
        const QString carpeta = dir.filePath(QStringLiteral("datos/borradores"));
        const QString traduccion = dir.filePath(QStringLiteral("Traducidos/a.txt"));
        Borradores almacen(carpeta);
        QSignalSpy conservados(&almacen, &Borradores::conservado);
        const QString grande(2'000'000, u'x');
        for (int i = 0; i < 20; ++i)
            almacen.Conservar({traduccion, grande + QString::number(i), QString(), 1});
        almacen.ConservarAhora({traduccion, QStringLiteral("ultimo\u2029texto"), QString(), 1});
        almacen.Esperar();
        QCoreApplication::processEvents();
        const std::optional<Borrador> leido = almacen.Leer(traduccion);
        QVERIFY(leido);
        QCOMPARE(leido->texto, QStringLiteral("ultimo\ntexto"));
        QVERIFY(!conservados.isEmpty());
        QCOMPARE(almacen.Existentes().keys(), QStringList{QDir::cleanPath(traduccion)});
        QCOMPARE(QFileInfo(carpeta).permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QDir(carpeta).entryList(QDir::Files | QDir::Hidden).size(), 1);

        // Back to the reference, the draft this stretch of editing kept goes; one from another stays.
        almacen.ConservarAhora({traduccion, QStringLiteral("ref"), QStringLiteral("ref"), 2});
        QVERIFY(almacen.Leer(traduccion));
        almacen.ConservarAhora({traduccion, QStringLiteral("ref"), QStringLiteral("ref"), 1});
        QVERIFY(!almacen.Leer(traduccion));
    }

    // Two editors keeping drafts of the same script at once: the file always holds one whole draft,
    // and no temporary file is left.
    void dosEditores()
    {
        QTemporaryDir dir;
        const QString carpeta = dir.filePath(QStringLiteral("borradores"));
        const QString traduccion = dir.filePath(QStringLiteral("Traducidos/a.txt"));
        Borradores uno(carpeta);
        Borradores otro(carpeta);
        const QString a(1'000'000, u'a');
        const QString b(1'500'000, u'b');
        for (int i = 0; i < 10; ++i) {
            uno.Conservar({traduccion, a, QString(), 1});
            otro.Conservar({traduccion, b, QString(), 1});
            uno.Esperar();
            otro.Esperar();
            const std::optional<Borrador> leido = uno.Leer(traduccion);
            QVERIFY(leido && (leido->texto == a || leido->texto == b));
        }
        otro.ConservarAhora({traduccion, QStringLiteral("nuevo"), QString(), 1});
        QCOMPARE(uno.Leer(traduccion)->texto, QStringLiteral("nuevo"));
        QCOMPARE(QDir(carpeta).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

VELARTO_PRUEBA(PruebaAlmacenBorradores)
#include "tst_borradores.moc"
