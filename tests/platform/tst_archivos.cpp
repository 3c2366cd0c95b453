// Files other programs and people share with the editor: links, hard links, owners, loops of links, and
// telling whether a file is still the one read.
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "carpeta_prueba.h"
#include "error_esperado.h"
#include "fallos_archivos.h"
#include "principal.h"

using namespace Qt::StringLiterals;

namespace {

// The file a test works on changes in one of these ways after it was read.
enum class Cambio { Ninguno, MismoTamano, MasLargo, MismosBytesReescritos, SoloFecha, Borrado, Creado };

// The message a run-time error shows the user.
QString AvisoDe(const std::function<void()>& accion)
{
    try {
        accion();
    } catch (const ErrorEjecucion& error) {
        return error.aviso();
    }
    return {};
}

ino_t Nodo(const QString& ruta)
{
    struct stat datos;
    return ::stat(QFile::encodeName(ruta).constData(), &datos) == 0 ? datos.st_ino : 0;
}

} // namespace

Q_DECLARE_METATYPE(Cambio)

class PruebaArchivos final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
    }

    void huella_data()
    {
        QTest::addColumn<Cambio>("cambio");
        QTest::addColumn<bool>("cambiado");
        QTest::newRow("sin cambios") << Cambio::Ninguno << false;
        QTest::newRow("otros bytes del mismo tamaño") << Cambio::MismoTamano << true;
        QTest::newRow("más largo") << Cambio::MasLargo << true;
        QTest::newRow("los mismos bytes en otro archivo") << Cambio::MismosBytesReescritos << false;
        QTest::newRow("solo la fecha") << Cambio::SoloFecha << false;
        QTest::newRow("borrado") << Cambio::Borrado << true;
        QTest::newRow("creado cuando no existía") << Cambio::Creado << true;
    }
    void huella()
    {
        QFETCH(Cambio, cambio);
        QFETCH(bool, cambiado);
        const QString ruta = Ruta(u"t.txt");
        if (cambio != Cambio::Creado)
            EscribirBytes(ruta, "uno\r\n");
        HuellaArchivo huella;
        const auto leer = [&] {
            LeerArchivo(ruta, SistemaReal(), maximoArchivo, &huella);
        };
        QCOMPARE(NumeroDeError(leer), cambio == Cambio::Creado ? Errores::ArchivoNoEncontrado : 0);
        QVERIFY(!HaCambiado(ruta, huella));
        switch (cambio) {
        case Cambio::Ninguno:
            break;
        case Cambio::MismoTamano:
            EscribirBytes(ruta, "dos\r\n");
            break;
        case Cambio::MasLargo:
            EscribirBytes(ruta, "uno\r\ndos\r\n");
            break;
        case Cambio::MismosBytesReescritos:
            EscribirArchivoAtomico(ruta, "uno\r\n");
            break;
        case Cambio::SoloFecha: {
            QFile archivo(ruta);
            QVERIFY(archivo.open(QIODevice::ReadWrite) &&
                    archivo.setFileTime(QDateTime::currentDateTime().addDays(1),
                                        QFileDevice::FileModificationTime));
            break;
        }
        case Cambio::Borrado:
            QVERIFY(QFile::remove(ruta));
            break;
        case Cambio::Creado:
            EscribirBytes(ruta, "nuevo\r\n");
            break;
        }
        QCOMPARE(HaCambiado(ruta, huella), cambiado);
        // A record taken long after the file's last change is settled by the file's times alone.
        huella.tomada += qint64(10) * 1'000'000'000;
        QCOMPARE(HaCambiado(ruta, huella), cambiado);
        // What a save wrote is the file on disk.
        QVERIFY(!HaCambiado(ruta, EscribirArchivoAtomico(ruta, "tres\r\n")));
    }

    // A file written in stretches has the record a read of it takes, however the stretches cut it, and a
    // byte changed past the first 64 KiB is still found.
    void huellaPorTramos_data()
    {
        QTest::addColumn<qsizetype>("tramo");
        QTest::newRow("tramos de 1000 bytes") << qsizetype(1000);
        QTest::newRow("justo por debajo de 64 KiB") << qsizetype(65535);
        QTest::newRow("justo por encima de 64 KiB") << qsizetype(65537);
        QTest::newRow("de una vez") << qsizetype(200000);
    }
    void huellaPorTramos()
    {
        QFETCH(qsizetype, tramo);
        QByteArray bytes(200000, Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char('a' + i * 7 % 26);
        const QString ruta = Ruta(u"t.txt");
        qsizetype dados = 0;
        const HuellaArchivo escrita = EscribirArchivoAtomicoPorTramos(ruta, [&](QByteArray& siguiente) {
            siguiente = bytes.mid(dados, tramo);
            dados += siguiente.size();
            return !siguiente.isEmpty();
        });
        HuellaArchivo leida;
        QCOMPARE(LeerArchivo(ruta, SistemaReal(), maximoArchivo, &leida), bytes);
        QCOMPARE(escrita.resumen, leida.resumen);
        QVERIFY(!HaCambiado(ruta, escrita));
        bytes[150000] = '!';
        EscribirBytes(ruta, bytes);
        QVERIFY(HaCambiado(ruta, escrita));
    }

    // A translation that is a link to a shared file: the shared file gets the text, in its own folder,
    // and the link stays a link.
    void enlaceSimbolico_data()
    {
        QTest::addColumn<QString>("enlace");
        QTest::addColumn<QStringList>("cadena"); // what each link of the chain points to, in order
        QTest::addColumn<QString>("destino");
        QTest::newRow("relativo") << u"Traducidos/a.txt"_s << QStringList{u"../compartido/a.txt"_s}
                                  << u"compartido/a.txt"_s;
        QTest::newRow("absoluto") << u"Traducidos/a.txt"_s << QStringList{u"<dir>/compartido/a.txt"_s}
                                  << u"compartido/a.txt"_s;
        QTest::newRow("dos enlaces") << u"Traducidos/a.txt"_s
                                     << QStringList{u"../intermedio.txt"_s, u"compartido/a.txt"_s}
                                     << u"compartido/a.txt"_s;
        QTest::newRow("destino que aún no existe")
            << u"Traducidos/a.txt"_s << QStringList{u"../compartido/nuevo.txt"_s}
            << u"compartido/nuevo.txt"_s;
    }
    void enlaceSimbolico()
    {
        QFETCH(QString, enlace);
        QFETCH(QStringList, cadena);
        QFETCH(QString, destino);
        QVERIFY(QDir(dir_->path()).mkpath(u"Traducidos"_s) && QDir(dir_->path()).mkpath(u"compartido"_s));
        if (destino.endsWith(u"a.txt"))
            EscribirBytes(Ruta(destino), "anterior\r\n");
        QString eslabon = Ruta(enlace);
        for (QString apunta : std::as_const(cadena)) {
            apunta.replace(u"<dir>"_s, dir_->path());
            QVERIFY(::symlink(QFile::encodeName(apunta).constData(),
                              QFile::encodeName(eslabon).constData()) == 0);
            eslabon = QDir::cleanPath(QFileInfo(eslabon).absolutePath() + u'/' + apunta);
            if (QDir::isAbsolutePath(apunta))
                eslabon = apunta;
        }
        EscribirArchivoAtomico(Ruta(enlace), "nuevo\r\n");
        QCOMPARE(LeerBytes(Ruta(destino)), QByteArray("nuevo\r\n"));
        QVERIFY(QFileInfo(Ruta(enlace)).isSymLink());
        QCOMPARE(QFileInfo(Ruta(enlace)).canonicalFilePath(), QFileInfo(Ruta(destino)).canonicalFilePath());
        QCOMPARE(QDir(Ruta(u"Traducidos")).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{u"a.txt"_s});
    }

    // The replaced file's mode always; its owner and group where this process may give them (root).
    void duenoYModo()
    {
        const QString ruta = Ruta(u"t.txt");
        EscribirBytes(ruta, "x");
        QVERIFY(::chmod(QFile::encodeName(ruta).constData(), 0640) == 0);
        const bool raiz = ::geteuid() == 0;
        if (raiz)
            QVERIFY(::chown(QFile::encodeName(ruta).constData(), 4321, 4322) == 0);
        EscribirArchivoAtomico(ruta, "y");
        struct stat datos;
        QVERIFY(::stat(QFile::encodeName(ruta).constData(), &datos) == 0);
        QCOMPARE(datos.st_mode & 07777, mode_t(0640));
        if (!raiz)
            QSKIP("Solo root puede dar un archivo a otro usuario");
        QCOMPARE(datos.st_uid, uid_t(4321));
        QCOMPARE(datos.st_gid, gid_t(4322));
        QCOMPARE(ReemplazoPara(ruta), Reemplazo::Atomico);
    }

    // A file with two names is written in place: both names keep seeing one file. A write that fails
    // leaves the old bytes.
    void enlaceDuro_data()
    {
        QTest::addColumn<int>("operacion"); // OperacionArchivo, or -1 for none
        QTest::addColumn<int>("codigoErrno");
        QTest::addColumn<int>("numero");
        QTest::newRow("bien") << -1 << 0 << 0;
        QTest::newRow("disco lleno al escribir") << int(OperacionArchivo::Escribir) << ENOSPC << 61;
        QTest::newRow("error de e/s al vaciar") << int(OperacionArchivo::Sincronizar) << EIO << 57;
    }
    void enlaceDuro()
    {
        QFETCH(int, operacion);
        QFETCH(int, codigoErrno);
        QFETCH(int, numero);
        const QString ruta = Ruta(u"t.txt");
        const QString otro = Ruta(u"copia.txt");
        EscribirBytes(ruta, "anterior y más largo\r\n");
        QVERIFY(::link(QFile::encodeName(ruta).constData(), QFile::encodeName(otro).constData()) == 0);
        QCOMPARE(ReemplazoPara(ruta), Reemplazo::EnSitio);
        FallosArchivos fallos;
        if (operacion >= 0)
            fallos.programar(OperacionArchivo(operacion), 1, codigoErrno);
        QCOMPARE(NumeroDeError([&] { EscribirArchivoEnSitio(ruta, "nuevo\r\n", fallos); }), numero);
        const QByteArray esperado = numero == 0 ? "nuevo\r\n" : "anterior y más largo\r\n";
        QCOMPARE(LeerBytes(ruta), esperado);
        QCOMPARE(LeerBytes(otro), esperado);
        QCOMPARE(Nodo(ruta), Nodo(otro));
    }

    // A link that leads back to itself is no regular file, for reading and for writing, and is left as it is.
    void bucleDeEnlaces()
    {
        const QString a = Ruta(u"a.txt");
        QVERIFY(QFile::link(Ruta(u"b.txt"), a) && QFile::link(a, Ruta(u"b.txt")));
        const QString aviso = u"No se puede abrir «%1»: no es un archivo normal."_s.arg(a);
        QCOMPARE(AvisoDe([&] { LeerArchivo(a); }), aviso);
        QCOMPARE(AvisoDe([&] { EscribirArchivoAtomico(a, "x"); }), aviso);
        QCOMPARE(AvisoDe([&] { ComprobarReemplazable(a); }), aviso);
        QVERIFY(QFileInfo(a).isSymLink());
        QCOMPARE(QDir(dir_->path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 (QStringList{u"a.txt"_s, u"b.txt"_s}));
    }

private:
    QString Ruta(QStringView relativa) const { return dir_->filePath(relativa.toString()); }

    std::optional<QTemporaryDir> dir_;
};

VELARTO_PRUEBA(PruebaArchivos)
#include "tst_archivos.moc"
