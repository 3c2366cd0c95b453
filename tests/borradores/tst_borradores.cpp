// The draft store on its own: the file format's round trip and what a reader refuses, file names, the
// order of writes when queued snapshots race one done at once, and drafts other editors own.
#include <atomic>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "borradores.h"
#include "carpeta_prueba.h"
#include "principal.h"

using namespace Qt::StringLiterals;

namespace {

// Runs `accion` and tells whether it returned within three seconds. One stuck opening the pipe is let
// go afterwards, so that the test ends and says so instead of hanging.
bool TerminaPronto(const QString& tuberia, const std::function<void()>& accion)
{
    std::atomic<bool> hecho = false;
    std::thread hilo([&] {
        accion();
        hecho = true;
    });
    QElapsedTimer reloj;
    reloj.start();
    while (!hecho && reloj.elapsed() < 3000)
        QThread::msleep(10);
    const bool aTiempo = hecho;
    while (!hecho) {
        const QByteArray local = QFile::encodeName(tuberia);
        for (const int banderas : {O_WRONLY, O_RDONLY}) {
            const int fd = ::open(local.constData(), banderas | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
        }
        QThread::msleep(10);
    }
    hilo.join();
    return aTiempo;
}

// The number of a process that has ended.
pid_t ProcesoTerminado()
{
    const pid_t hijo = ::fork();
    if (hijo == 0)
        ::_exit(0);
    ::waitpid(hijo, nullptr, 0);
    return hijo;
}

} // namespace

class PruebaAlmacenBorradores final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Any text and any path (which may hold any byte but NUL) come back as they were written.
    void idaYVuelta_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<QByteArray>("escritor"); // empty: unknown, the first version
        const QString ruta = QStringLiteral("/juego/Traducidos/intro final.txt");
        const QByteArray editor = "4242-123456-1a2b3c4d";
        QTest::newRow("vacio") << QString() << ruta << editor;
        QTest::newRow("acentos y lineas") << QStringLiteral("¿Qué tal?\nAdiós\n\n") << ruta << editor;
        QTest::newRow("marca de orden al principio") << QStringLiteral("\uFEFFHola") << ruta << editor;
        QTest::newRow("espacio duro y tabulador") << QStringLiteral("a\u00A0b\tc") << ruta << editor;
        QTest::newRow("fuera del plano basico") << QStringLiteral("\U0001F600 fin") << ruta << editor;
        QTest::newRow("ruta con salto de linea")
            << QStringLiteral("t") << QStringLiteral("/a b/l\nn %41/x.txt") << editor;
        QTest::newRow("primera version, sin escritor") << QStringLiteral("Hola") << ruta << QByteArray();
    }
    void idaYVuelta()
    {
        QFETCH(QString, texto);
        QFETCH(QString, ruta);
        QFETCH(QByteArray, escritor);
        const Borrador borrador{ruta, QDateTime(QDate(2026, 5, 4), QTime(10, 20, 30, 123), Qt::UTC), texto,
                                IdentidadProceso::DeTexto(escritor)};
        QCOMPARE(borrador.escritor.has_value(), !escritor.isEmpty());
        const QByteArray bytes = CodificarBorrador(borrador);
        QVERIFY(bytes.startsWith(escritor.isEmpty() ? "velarto-borrador 1\n" : "velarto-borrador 2\n"));
        const std::optional<Borrador> leido = DecodificarBorrador(bytes);
        QVERIFY(leido);
        QCOMPARE(leido->texto, texto);
        QCOMPARE(leido->rutaTraduccion, ruta);
        QCOMPARE(leido->fecha, borrador.fecha);
        QCOMPARE(leido->escritor, borrador.escritor);
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
            almacen.Conservar({traduccion, grande + QString::number(i), TextoCompacto(), 1});
        almacen.ConservarAhora({traduccion, QStringLiteral("ultimo\u2029texto"), TextoCompacto(), 1});
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
        almacen.ConservarAhora({traduccion, QStringLiteral("ref"), TextoCompacto(QStringLiteral("ref")), 2});
        QVERIFY(almacen.Leer(traduccion));
        almacen.ConservarAhora({traduccion, QStringLiteral("ref"), TextoCompacto(QStringLiteral("ref")), 1});
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
            uno.Conservar({traduccion, a, TextoCompacto(), 1});
            otro.Conservar({traduccion, b, TextoCompacto(), 1});
            uno.Esperar();
            otro.Esperar();
            const std::optional<Borrador> leido = uno.Leer(traduccion);
            QVERIFY(leido && (leido->texto == a || leido->texto == b));
        }
        otro.ConservarAhora({traduccion, QStringLiteral("nuevo"), TextoCompacto(), 1});
        QCOMPARE(uno.Leer(traduccion)->texto, QStringLiteral("nuevo"));
        QCOMPARE(QDir(carpeta).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // The window sends only the stretch that differs from the reference; the store puts the text together,
    // from a reference kept in Latin-1 as from one in UTF-16.
    void soloLoQueCambio_data()
    {
        QTest::addColumn<bool>("latin1");
        QTest::newRow("referencia en UTF-16") << false;
        QTest::newRow("referencia en Latin-1") << true;
    }
    void soloLoQueCambio()
    {
        QFETCH(bool, latin1);
        const auto referencia = [latin1](const QString& texto) {
            if (!latin1)
                return TextoCompacto(texto);
            TextoCompacto compacto;
            compacto.Anadir(texto);
            return compacto;
        };
        QTemporaryDir dir;
        const QString traduccion = dir.filePath(QStringLiteral("Traducidos/a.txt"));
        Borradores almacen(dir.filePath(QStringLiteral("borradores")));
        QSignalSpy fallos(&almacen, &Borradores::fallo);
        QVERIFY(almacen.ConservarAhora({traduccion, QStringLiteral("DOS\u2029dos y medio"),
                                        referencia(QStringLiteral("uno\ndos\ntrés")), 1, 4, 5}));
        QCOMPARE(almacen.Leer(traduccion)->texto, QStringLiteral("uno\nDOS\ndos y medio\ntrés"));
        QVERIFY(!almacen.ConservarAhora(
            {traduccion, QStringLiteral("x"), referencia(QStringLiteral("abc")), 1, 2, 2}));
        QCOMPARE(fallos.size(), 1);
        QCOMPARE(almacen.Leer(traduccion)->texto, QStringLiteral("uno\nDOS\ndos y medio\ntrés"));
        // Back to the reference: the draft this stretch of editing kept goes.
        almacen.ConservarAhora(
            {traduccion, QStringLiteral("dos"), referencia(QStringLiteral("uno\ndos\ntrés")), 1, 4, 5});
        QVERIFY(!almacen.Leer(traduccion));
        // A long text is encoded a stretch at a time: a character outside the basic plane, or one of two
        // bytes in UTF-8, may fall where one stretch ends.
        const QString largo = QString((1 << 20) - 1, u'a') +
                              (latin1 ? QStringLiteral("ññ\nfin") : QStringLiteral("\U0001F600ñ\nfin"));
        QVERIFY(almacen.ConservarAhora(
            {traduccion, QStringLiteral("Ω"), referencia(largo), 2, largo.size() - 3, 3}));
        QCOMPARE(almacen.Leer(traduccion)->texto,
                 largo.first(largo.size() - 3) + QStringLiteral("Ω") + largo.last(3));
    }

    // A draft belongs to the editor that kept it: while that editor runs, no other removes it; one of an
    // editor that has ended goes when it is discarded, or after a save of the very text it holds.
    void deOtroEditor_data()
    {
        QTest::addColumn<QString>("escritor"); // vivo, terminado, este, ninguno (first version)
        QTest::addColumn<QString>("accion");   // guardar igual, guardar otro, descartar, volver
        QTest::addColumn<bool>("queda");
        QTest::newRow("otro editor vivo, guardado lo mismo") << u"vivo"_s << u"guardar igual"_s << true;
        QTest::newRow("otro editor vivo, descartado") << u"vivo"_s << u"descartar"_s << true;
        QTest::newRow("otro editor vivo, texto vuelto al original") << u"vivo"_s << u"volver"_s << true;
        QTest::newRow("editor terminado, guardado otro texto") << u"terminado"_s << u"guardar otro"_s << true;
        QTest::newRow("editor terminado, guardado lo mismo") << u"terminado"_s << u"guardar igual"_s << false;
        QTest::newRow("editor terminado, descartado") << u"terminado"_s << u"descartar"_s << false;
        QTest::newRow("primera version, guardado otro texto") << u"ninguno"_s << u"guardar otro"_s << true;
        QTest::newRow("primera version, descartado") << u"ninguno"_s << u"descartar"_s << false;
        QTest::newRow("este editor, guardado otro texto") << u"este"_s << u"guardar otro"_s << false;
        QTest::newRow("este editor, texto vuelto al original") << u"este"_s << u"volver"_s << false;
    }
    void deOtroEditor()
    {
        QFETCH(QString, escritor);
        QFETCH(QString, accion);
        QFETCH(bool, queda);
        QTemporaryDir dir;
        const QString carpeta = dir.filePath(QStringLiteral("borradores"));
        const QString traduccion = dir.filePath(QStringLiteral("Traducidos/a.txt"));
        Borradores almacen(carpeta);
        // This editor kept a draft in this stretch of editing; then the other one kept its own.
        almacen.ConservarAhora({traduccion, QStringLiteral("mío"), TextoCompacto(QStringLiteral("ref")), 1});
        QProcess otro;
        otro.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(otro.waitForStarted());
        std::optional<IdentidadProceso> identidad;
        if (escritor == u"vivo")
            identidad = IdentidadDe(otro.processId());
        else if (escritor == u"terminado")
            identidad = IdentidadProceso{ProcesoTerminado(), 7, EsteProceso().arranque};
        else if (escritor == u"este")
            identidad = EsteProceso();
        QCOMPARE(identidad.has_value(), escritor != u"ninguno");
        const QString archivo = carpeta + u'/' + NombreArchivoBorrador(traduccion);
        EscribirBytes(archivo, CodificarBorrador({ClaveBorrador(traduccion), QDateTime::currentDateTimeUtc(),
                                                  QStringLiteral("tecleado"), identidad}));

        if (accion == u"guardar igual")
            almacen.Eliminar(traduccion, TextoCompacto(QStringLiteral("tecleado")));
        else if (accion == u"guardar otro")
            almacen.Eliminar(traduccion, TextoCompacto(QStringLiteral("otro texto")));
        else if (accion == u"descartar")
            almacen.Eliminar(traduccion);
        else
            almacen.ConservarAhora(
                {traduccion, QStringLiteral("ref"), TextoCompacto(QStringLiteral("ref")), 1});
        QCOMPARE(QFileInfo::exists(archivo), queda);
        otro.kill();
        otro.waitForFinished();
    }

    // A pipe where a draft should be holds nobody up: it is no draft, and a draft cannot go there.
    void tuberia()
    {
        QTemporaryDir dir;
        const QString carpeta = dir.filePath(QStringLiteral("borradores"));
        const QString traduccion = dir.filePath(QStringLiteral("Traducidos/a.txt"));
        Borradores almacen(carpeta);
        QSignalSpy fallos(&almacen, &Borradores::fallo);
        QVERIFY(QDir().mkpath(carpeta));
        const QString tuberia = carpeta + u'/' + NombreArchivoBorrador(traduccion);
        QVERIFY(::mkfifo(QFile::encodeName(tuberia).constData(), 0600) == 0);
        bool hay = true;
        QVERIFY(TerminaPronto(tuberia, [&] { hay = almacen.Leer(traduccion).has_value(); }));
        QVERIFY(!hay);
        QVERIFY(TerminaPronto(tuberia, [&] { hay = !almacen.Existentes().isEmpty(); }));
        QVERIFY(!hay);
        QVERIFY(TerminaPronto(tuberia, [&] {
            almacen.ConservarAhora({traduccion, QStringLiteral("texto"), TextoCompacto(), 1});
        }));
        QCOMPARE(fallos.size(), 1);
        QVERIFY(TerminaPronto(tuberia, [&] { almacen.Eliminar(traduccion); }));
        QVERIFY(!QFileInfo::exists(tuberia));
    }
};

VELARTO_PRUEBA(PruebaAlmacenBorradores)
#include "tst_borradores.moc"
