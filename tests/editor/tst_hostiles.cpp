// Hostile files met through the real window: pipes, devices, links to them, huge files, giant lines and
// files protected by their mode. Each case ends in its message with the window still answering and every
// file on disk as it was.
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "principal.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

namespace {

enum class Accion { Elegir, Guardar, Eliminar, InsertarMarcador, LeerMarcador };

const QString accesoRuta = QStringLiteral("75:Error de acceso a la ruta o el archivo");

// What a folder holds, for comparing before and after: each entry with its kind and, for a regular file,
// its size and (when small) its bytes. Links are not followed.
QStringList Contenido(const QString& carpeta)
{
    QStringList entradas;
    QDirIterator it(carpeta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString ruta = it.next();
        struct stat datos
        {
        };
        ::lstat(QFile::encodeName(ruta).constData(), &datos);
        QString entrada = ruta.mid(carpeta.size()) + u' ' + QString::number(datos.st_mode, 8) + u' ' +
                          QString::number(datos.st_size);
        if (S_ISREG(datos.st_mode) && datos.st_size < (1 << 22))
            entrada += u' ' + QString::fromLatin1(LeerBytes(ruta).toBase64());
        entradas.append(entrada);
    }
    entradas.sort();
    return entradas;
}

} // namespace

class PruebaHostiles final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void archivos_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<Accion>("accion");
        QTest::addColumn<QStringList>("listados");
        QTest::addColumn<QStringList>("mensajes");
        const QStringList todos{"a.txt", "b.txt"};
        // The translation's path is only known once the test's folder is there.
        const QString tuberia = u"No se puede abrir «<traduccion>»: no es un archivo normal."_s;
        const QString ilegible =
            u"No se ha guardado el archivo: la traducción que ya existe no se pudo leer (%1)."_s;

        QTest::newRow("traducción que es una tubería")
            << "tuberia" << Accion::Guardar << todos << QStringList{tuberia, ilegible.arg(accesoRuta)};
        QTest::newRow("traducción enlazada a un dispositivo")
            << "dispositivo" << Accion::Guardar << todos << QStringList{tuberia, ilegible.arg(accesoRuta)};
        QTest::newRow("enlaces a una tubería y a un dispositivo")
            << "enlaces" << Accion::Elegir << todos << QStringList();
        QTest::newRow("carpeta con nombre de script")
            << "carpeta" << Accion::Elegir << todos << QStringList();
        QTest::newRow("archivo enorme")
            << "enorme" << Accion::Elegir << todos
            << QStringList{u"El archivo es demasiado grande para abrirlo (2,0 GiB; como máximo 512 MiB)."_s};
        QTest::newRow("línea gigante")
            << "linea" << Accion::Elegir << todos
            << QStringList{u"La línea 2 es demasiado larga para mostrarla (1048577 caracteres; como máximo "
                           "1048576)."_s};
        QTest::newRow("traducción ilegible")
            << "ilegible" << Accion::Guardar << todos << QStringList{ilegible.arg(u"70:Permiso denegado"_s)};
        QTest::newRow("traducción de solo lectura")
            << "traduccion protegida" << Accion::Guardar << todos
            << QStringList{u"75Error de acceso a la ruta o el archivo"_s};
        QTest::newRow("marcador de solo lectura")
            << "marcador protegido" << Accion::InsertarMarcador << todos << QStringList{accesoRuta};
        QTest::newRow("script de solo lectura")
            << "script protegido" << Accion::Eliminar << todos
            << QStringList{u"¿Desea eliminar el script: b.txt?"_s, accesoRuta};
        QTest::newRow("traducción de solo lectura al eliminar")
            << "traduccion protegida" << Accion::Eliminar << todos
            << QStringList{u"¿Desea eliminar el script: b.txt?"_s, accesoRuta};
        QTest::newRow("marcador que es una tubería, al guardar")
            << "marcador tuberia" << Accion::InsertarMarcador << todos << QStringList{accesoRuta};
        QTest::newRow("marcador que es una tubería, al cargar")
            << "marcador tuberia" << Accion::LeerMarcador << todos
            << QStringList{u"Error al cargar marcador"_s};
    }
    void archivos()
    {
        QFETCH(QString, caso);
        QFETCH(Accion, accion);
        QFETCH(QStringList, listados);
        QFETCH(QStringList, mensajes);
        mensajes.replaceInStrings(u"<traduccion>"_s, Ruta(u"Traducidos/b.txt"));
        EscribirBytes(Ruta(u"a.txt"), "Hello\r\n");
        EscribirBytes(Ruta(u"b.txt"), "One\r\nTwo\r\n");
        Preparar(caso);
        const QStringList antes = Contenido(dir_->path());
        frmEditor* ventana = Abrir();
        QCOMPARE(ListaArchivos::ArchivosDe(dir_->path()), listados);

        if (caso == u"ilegible")
            // Root reads whatever the mode says: the refusal the system would give is made by hand.
            archivos_->programar(OperacionArchivo::Abrir, 1, EACCES);
        QVERIFY(ElegirScript(*ventana, QStringLiteral("b.txt")));
        caja_.respuestas = {Respuesta::Si};
        switch (accion) {
        case Accion::Elegir:
            break;
        case Accion::Guardar:
            ventana->txtTraducido->setPlainText(QStringLiteral("Uno\nDos"));
            QTest::keyClick(ventana->txtTraducido, Qt::Key_F12);
            break;
        case Accion::Eliminar:
            QTest::keyClick(ventana->File1, Qt::Key_Delete);
            break;
        case Accion::InsertarMarcador:
            ventana->cmdInsMarcador->click();
            break;
        case Accion::LeerMarcador:
            ventana->cmdLeerMarcador->click();
            break;
        }

        QCOMPARE(caja_.textos(), mensajes);
        QCOMPARE(Contenido(dir_->path()), antes);
        // The window still answers: another script loads as usual.
        caja_.olvidar();
        QVERIFY(ElegirScript(*ventana, QStringLiteral("a.txt")));
        QCOMPARE(ItemsOriginal(*ventana), QStringList{"Hello"});
        QCOMPARE(caja_.textos(), QStringList());
    }

    void cleanup()
    {
        PruebaConVentana::cleanup();
        // Gives back what a case took, so that the folder can be removed.
        QDirIterator it(dir_->path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            ::chmod(QFile::encodeName(it.next()).constData(), 0700);
    }

private:
    void Preparar(const QString& caso)
    {
        const QByteArray traduccion = QFile::encodeName(Ruta(u"Traducidos/b.txt"));
        QDir(dir_->path()).mkpath(QStringLiteral("Traducidos"));
        if (caso == u"tuberia") {
            QCOMPARE(::mkfifo(traduccion.constData(), 0644), 0);
        } else if (caso == u"dispositivo") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), Ruta(u"Traducidos/b.txt")));
        } else if (caso == u"enlaces") {
            QCOMPARE(::mkfifo(QFile::encodeName(Ruta(u"tuberia")).constData(), 0644), 0);
            QVERIFY(QFile::link(Ruta(u"tuberia"), Ruta(u"e.txt")));
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), Ruta(u"z.txt")));
        } else if (caso == u"carpeta") {
            QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("c.txt")));
        } else if (caso == u"enorme") {
            QFile enorme(Ruta(u"b.txt"));
            QVERIFY(enorme.resize(qint64(2) << 30));
        } else if (caso == u"linea") {
            EscribirBytes(Ruta(u"b.txt"), "One\r\n" + QByteArray((1 << 20) + 1, 'a') + "\r\n");
        } else if (caso == u"ilegible") {
            EscribirBytes(Ruta(u"Traducidos/b.txt"), "secreto\r\n");
            ::chmod(traduccion.constData(), 0);
        } else if (caso == u"traduccion protegida") {
            EscribirBytes(Ruta(u"Traducidos/b.txt"), "Uno\r\n");
            ::chmod(traduccion.constData(), 0444);
        } else if (caso == u"marcador protegido") {
            EscribirBytes(Ruta(u"Velarto.vrk"), "[Marcador]\r\nIndice=1\r\n");
            ::chmod(QFile::encodeName(Ruta(u"Velarto.vrk")).constData(), 0444);
        } else if (caso == u"script protegido") {
            ::chmod(QFile::encodeName(Ruta(u"b.txt")).constData(), 0444);
        } else if (caso == u"marcador tuberia") {
            QCOMPARE(::mkfifo(QFile::encodeName(Ruta(u"Velarto.vrk")).constData(), 0644), 0);
        }
    }
};

VELARTO_PRUEBA(PruebaHostiles)
#include "tst_hostiles.moc"
