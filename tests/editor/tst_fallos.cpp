// What happens to the translator's files when things go wrong: a killed editor, hostile file names,
// links, a full disk, a folder or a permission that goes away. Each case ends with the message the
// editor gives and the files on disk as they must be.
#include <cerrno>
#include <csignal>

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "principal.h"
#include "ventana_prueba.h"

namespace {

// Starts the child in a mode, lets it finish `completas` writes and kills it halfway through the next.
bool MatarHijoAMitad(const QString& modo, const QString& carpeta, int completas)
{
    QProcess hijo;
    hijo.start(QStringLiteral(VELARTO_HIJO), {modo, carpeta, QString::number(completas)});
    if (!hijo.waitForStarted())
        return false;
    while (!hijo.canReadLine())
        if (!hijo.waitForReadyRead(60000))
            return false;
    if (hijo.readLine() != "a mitad\n")
        return false;
    ::kill(pid_t(hijo.processId()), SIGKILL);
    return hijo.waitForFinished(10000);
}

QStringList Archivos(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class PruebaFallos final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    // Killed in the middle of saving a large translation, the editor leaves the old file or the new one,
    // and nothing else.
    void muerteAlGuardar()
    {
        const QByteArray a = TraduccionGrande('A');
        const QByteArray b = TraduccionGrande('B');
        EscribirBytes(dir_->filePath(QStringLiteral("guion.txt")), "Hello\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/guion.txt")), a);
        for (int completas = 0; completas < 3; ++completas) {
            QVERIFY(MatarHijoAMitad(QStringLiteral("guardar"), dir_->path(), completas));
            const QByteArray queda = LeerBytes(dir_->filePath(QStringLiteral("Traducidos/guion.txt")));
            // The writes before the killed one went A, B, A...: the last whole one is what must remain.
            QVERIFY2(queda == (completas < 2 ? a : b),
                     qPrintable(QStringLiteral("%1 bytes").arg(queda.size())));
            QCOMPARE(Archivos(dir_->filePath(QStringLiteral("Traducidos"))), QStringList{"guion.txt"});
        }
    }

    // The same for the bookmark file.
    void muerteAlMarcar()
    {
        QByteArray comentarios;
        for (int i = 0; i < 10000; ++i)
            comentarios += "; nota " + QByteArray::number(i) + " sobre el avance de la traduccion\r\n";
        const QByteArray uno = "[Otra]\r\n" + comentarios + "[Marcador]\r\nINDICE=1\r\n";
        QByteArray dos = uno;
        dos.replace("INDICE=1", "INDICE=2");
        EscribirBytes(dir_->filePath(QStringLiteral("Velarto.vrk")), uno);
        for (int completas = 0; completas < 3; ++completas) {
            QVERIFY(MatarHijoAMitad(QStringLiteral("marcador"), dir_->path(), completas));
            const QByteArray queda = LeerBytes(dir_->filePath(QStringLiteral("Velarto.vrk")));
            QVERIFY2(queda == (completas < 2 ? uno : dos),
                     qPrintable(QStringLiteral("%1 bytes").arg(queda.size())));
            QCOMPARE(Archivos(dir_->path()), QStringList{"Velarto.vrk"});
        }
    }

    void nombresHostiles_data()
    {
        QTest::addColumn<QString>("nombre");
        QTest::newRow("blancos") << QStringLiteral("guion con  blancos .txt");
        QTest::newRow("acentos") << QStringLiteral("diálogo ñandú.txt");
        QTest::newRow("comillas") << QStringLiteral("dice \"hola\" y 'adiós'.txt");
        QTest::newRow("corchetes") << QStringLiteral("[Marcador] [1].txt");
        QTest::newRow("guion delante") << QStringLiteral("-rf.txt");
        QTest::newRow("255 bytes") << QString(QString(251, u'a') + u".txt");
        QTest::newRow("255 bytes con acentos") << QString(QString(125, u'é') + u"a.txt");
    }
    void nombresHostiles()
    {
        QFETCH(QString, nombre);
        QCOMPARE(QFile::encodeName(nombre).size() <= 255, true);
        EscribirBytes(dir_->filePath(nombre), "Hello\r\nBye\r\n");
        EscribirBytes(dir_->filePath(u"Traducidos/" + nombre), "Hola\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("otro.txt")), "Other\r\n");
        Abrir();
        QVERIFY(ElegirScript(*ventana_, nombre));
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{"Hello", "Bye"}));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Hola"));

        ventana_->txtTraducido->setPlainText(QStringLiteral("Hola\nAdiós"));
        ventana_->cmdGuardar_Click();
        QCOMPARE(caja_.textos().last(), QStringLiteral("¡Archivo guardado!"));
        QCOMPARE(LeerBytes(dir_->filePath(u"Traducidos/" + nombre)), QByteArray("Hola\r\nAdi\xC3\xB3s\r\n"));

        QVERIFY(ElegirScript(*ventana_, nombre));
        caja_.respuestas = {Respuesta::Si};
        ventana_->cmdEliminar_Click();
        QVERIFY(!QFileInfo::exists(dir_->filePath(nombre)));
        QVERIFY(!QFileInfo::exists(dir_->filePath(u"Traducidos/" + nombre)));
        QCOMPARE(Archivos(dir_->path()), QStringList{"otro.txt"});
        QCOMPARE(Archivos(dir_->filePath(QStringLiteral("Traducidos"))), QStringList());
    }

    // Deleting a link named like a script removes the link; what it points to, outside the folder, stays.
    void enlaceNoSeSigue()
    {
        const QString fuera = dir_->filePath(QStringLiteral("fuera/valioso.txt"));
        EscribirBytes(fuera, "Valuable\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("guiones/a.txt")), "A\r\n");
        QVERIFY(QFile::link(fuera, dir_->filePath(QStringLiteral("guiones/enlace.txt"))));
        Abrir(dir_->filePath(QStringLiteral("guiones")));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("enlace.txt")));
        QCOMPARE(ItemsOriginal(*ventana_), QStringList{"Valuable"});
        caja_.respuestas = {Respuesta::Si};
        ventana_->cmdEliminar_Click();
        QVERIFY(!QFileInfo(dir_->filePath(QStringLiteral("guiones/enlace.txt"))).isSymLink());
        QCOMPARE(LeerBytes(fuera), QByteArray("Valuable\r\n"));
        QCOMPARE(Archivos(dir_->filePath(QStringLiteral("guiones"))), QStringList{"a.txt"});
    }

    // A translation that cannot be opened loads the original alone and stays on disk as it was.
    void traduccionSinPermiso()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), "A\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), "B1\r\nB2\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/b.txt")), "secreto\r\n");
        Abrir();
        const QString traduccion = dir_->filePath(QStringLiteral("Traducidos/b.txt"));
        QFile::setPermissions(traduccion, QFile::WriteOwner);
        archivos_->programar(OperacionArchivo::Abrir, 1, EACCES); // root reads whatever the permissions say
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{"B1", "B2"}));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QString());
        QVERIFY(!ventana_->parCargado().hayTraducido);
        QVERIFY(caja_.mostrados.isEmpty());
        QFile::setPermissions(traduccion, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(LeerBytes(traduccion), QByteArray("secreto\r\n"));
    }

    // The folder shown is removed by someone else: choosing a script reports it and changes nothing.
    void carpetaEliminada()
    {
        const QString carpeta = dir_->filePath(QStringLiteral("guiones"));
        EscribirBytes(carpeta + u"/a.txt", "A\r\n");
        EscribirBytes(carpeta + u"/b.txt", "B\r\n");
        Abrir(carpeta);
        QVERIFY(QDir(carpeta).removeRecursively());
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        QCOMPARE(caja_.textos(), QStringList{"76:No se encontró la ruta de acceso"});
        QVERIFY(!ventana_->cmdGuardar->isEnabled());
        // F12 then has nothing to save, and creates nothing.
        ventana_->txtTraducido_KeyUp(123, 0);
        QCOMPARE(caja_.mostrados.size(), 1);
        QVERIFY(!QFileInfo::exists(carpeta));
    }

    // A save on a full disk reports it and leaves the earlier translation whole, with nothing left over.
    void discoLleno()
    {
        const QString carpeta = dir_->filePath(QStringLiteral("pequeno"));
        EscribirBytes(carpeta + u"/guion.txt", "Hello\r\n");
        EscribirBytes(carpeta + u"/Traducidos/guion.txt", "Hola\r\n");
        archivos_->programar(OperacionArchivo::Escribir, 1, ENOSPC);
        Abrir(carpeta);
        ventana_->txtTraducido->setPlainText(QString(20000, u'x'));
        ventana_->cmdGuardar_Click();
        QCOMPARE(caja_.textos(), QStringList{"61Disco lleno"});
        QCOMPARE(LeerBytes(carpeta + u"/Traducidos/guion.txt"), QByteArray("Hola\r\n"));
        QCOMPARE(Archivos(carpeta + u"/Traducidos"), QStringList{"guion.txt"});
        QCOMPARE(ventana_->File1->nombreArchivo(), QStringLiteral("guion.txt"));
    }
};

VELARTO_PRUEBA(PruebaFallos)
#include "tst_fallos.moc"
