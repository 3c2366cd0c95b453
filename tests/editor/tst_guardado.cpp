// Saving through the real window: what reaches the disk, byte for byte, which boxes are shown, where the
// selection goes, and that a failed save leaves the earlier translation as it was.
#include <cerrno>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "principal.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

namespace {

const QString guardado = QStringLiteral("¡Archivo guardado!");
const QString creada =
    QStringLiteral("Se ha creado la carpeta Traducidos\r\nEn ella se guardarán los scripts traducidos");

// Whether taking the write permission from a folder stops this process from writing in it (it does
// not for the superuser).
bool PermisosProtegen(const QString& base)
{
    const QString carpeta = base + u"/.prueba_permisos";
    QDir().mkpath(carpeta);
    QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::ExeOwner);
    QFile intento(carpeta + u"/x");
    const bool protegen = !intento.open(QIODevice::WriteOnly);
    intento.remove();
    QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(carpeta).removeRecursively();
    return protegen;
}

enum class Fallo { SoloLectura, DiscoLleno, Reemplazo, CarpetaMovida };

} // namespace

class PruebaGuardado final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        PruebaConVentana::cleanup();
        // Gives back what a test took, so that the folder can be removed.
        QDirIterator carpetas(dir_->path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (carpetas.hasNext())
            QFile::setPermissions(carpetas.next(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void guardarYAvanzar_data()
    {
        QTest::addColumn<bool>("carpetaExiste");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("conBoton");
        QTest::addColumn<QStringList>("mensajes");
        QTest::addColumn<QString>("siguiente");

        QTest::newRow("primera vez en la carpeta")
            << false << "a.txt" << false << QStringList{creada, guardado} << "b.txt";
        QTest::newRow("carpeta ya creada") << true << "a.txt" << false << QStringList{guardado} << "b.txt";
        QTest::newRow("con el botón") << true << "b.txt" << true << QStringList{guardado} << "c.txt";
        QTest::newRow("último archivo") << true << "c.txt" << false << QStringList{guardado} << "c.txt";
    }

    void guardarYAvanzar()
    {
        QFETCH(bool, carpetaExiste);
        QFETCH(QString, script);
        QFETCH(bool, conBoton);
        QFETCH(QStringList, mensajes);
        QFETCH(QString, siguiente);
        for (const char* nombre : {"a.txt", "b.txt", "c.txt"})
            EscribirBytes(Ruta(QString::fromLatin1(nombre)), "original de " + QByteArray(nombre) + "\r\n");
        if (carpetaExiste)
            QDir(dir_->path()).mkdir(QStringLiteral("Traducidos"));
        frmEditor* ventana = Abrir();
        QVERIFY(ElegirScript(*ventana, script));
        ventana->txtTraducido->setPlainText(QStringLiteral("Hola\nmundo"));

        if (conBoton)
            QTest::mouseClick(ventana->cmdGuardar, Qt::LeftButton);
        else
            QTest::keyClick(ventana->txtTraducido, Qt::Key_F12);

        QCOMPARE(LeerBytes(Ruta(QString(u"Traducidos/" + script))), QByteArray("Hola\r\nmundo\r\n"));
        QCOMPARE(caja_.textos(), mensajes);
        for (const MensajeMostrado& m : std::as_const(caja_.mostrados)) {
            QCOMPARE(m.botones, Botones::Aceptar);
            QCOMPARE(m.icono, Icono::Ninguno);
            QCOMPARE(m.titulo, tituloAplicacion);
        }
        QCOMPARE(ventana->File1->nombreArchivo(), siguiente);
        const QString esperado = siguiente == script ? QStringLiteral("Hola\nmundo") : QString();
        QCOMPARE(ventana->txtTraducido->toPlainText(), esperado);
        QCOMPARE(ItemsOriginal(*ventana), QStringList{u"original de " + siguiente});
        QCOMPARE(ventana->parCargado().hayTraducido, siguiente == script);
        QCOMPARE(ventana->focusWidget(), ventana->txtTraducido);
    }

    // Whatever a pair was read in, a save writes it back the same way; a text reloads as it was saved.
    void formato_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("traduccion"); // empty: none on disk
        QTest::addColumn<QString>("texto");         // null: the box as loaded
        QTest::addColumn<QByteArray>("esperado");

        const QByteArray crlf = "uno\r\ndos\r\n";
        QTest::newRow("crlf") << crlf << QByteArray("Hola\r\nadiós\r\n") << QString()
                              << QByteArray("Hola\r\nadiós\r\n");
        QTest::newRow("solo lf") << crlf << QByteArray("Hola\nadiós\n") << QString()
                                 << QByteArray("Hola\nadiós\n");
        QTest::newRow("windows-1252") << crlf << QByteArray("Ca\xf1\xf3n \x80\x85\r\nb\r\n") << QString()
                                      << QByteArray("Ca\xf1\xf3n \x80\x85\r\nb\r\n");
        QTest::newRow("bom utf-8") << crlf
                                   << QByteArray("\xEF\xBB\xBF"
                                                 "cañón €\r\nb\r\n")
                                   << QString()
                                   << QByteArray("\xEF\xBB\xBF"
                                                 "cañón €\r\nb\r\n");
        QTest::newRow("solo cr, con un salto de línea dentro de una línea")
            << crlf << QByteArray("a\nb\rc\r") << QString() << QByteArray("a\nb\rc\r");
        QTest::newRow("utf-16 le con bom") << crlf << QByteArray("\xFF\xFEh\0\xF1\0\r\0\n\0", 10) << QString()
                                           << QByteArray("\xFF\xFEh\0\xF1\0\r\0\n\0", 10);
        QTest::newRow("utf-8 fuera del plano básico") << crlf << QByteArray("\xF0\x9F\x98\x80\r\nb\r\n")
                                                      << QString() << QByteArray("\xF0\x9F\x98\x80\r\nb\r\n");
        QTest::newRow("líneas vacías al principio y al final")
            << crlf << QByteArray("\r\n\r\nx\r\n\r\n") << QString() << QByteArray("\r\n\r\nx\r\n\r\n");
        QTest::newRow("reemplaza una traducción más larga")
            << crlf << QByteArray("1\r\n2\r\n3\r\n") << u"nuevo"_s << QByteArray("nuevo\r\n");
        QTest::newRow("sin traducción, original solo lf")
            << QByteArray("a\nb\n") << QByteArray() << u"x\ny"_s << QByteArray("x\ny\n");
        QTest::newRow("sin traducción, original windows-1252")
            << QByteArray("ca\xf1\x61\r\n") << QByteArray() << u"niño"_s << QByteArray("ni\xf1o\r\n");
        QTest::newRow("sin traducción, original vacío")
            << QByteArray() << QByteArray() << u"ñ\nb"_s << QByteArray("\xc3\xb1\r\nb\r\n");
        QTest::newRow("la traducción manda sobre el original")
            << crlf << QByteArray("a\n") << u"x\ny"_s << QByteArray("x\ny\n");
    }

    void formato()
    {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, traduccion);
        QFETCH(QString, texto);
        QFETCH(QByteArray, esperado);
        EscribirBytes(Ruta(u"a.txt"), original);
        EscribirBytes(Ruta(u"b.txt"), "b\r\n");
        if (!traduccion.isEmpty())
            EscribirBytes(Ruta(u"Traducidos/a.txt"), traduccion);
        frmEditor* ventana = Abrir();
        if (!texto.isNull())
            ventana->txtTraducido->setPlainText(texto);
        const QString guardadoEnCaja = ventana->txtTraducido->toPlainText();

        QTest::keyClick(ventana->txtTraducido, Qt::Key_F12);

        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), esperado);
        QVERIFY(ElegirScript(*ventana, QStringLiteral("a.txt")));
        QCOMPARE(ventana->txtTraducido->toPlainText(), guardadoEnCaja);
    }

    // A character that the code page in use cannot hold is refused, naming the character and the
    // translation's code page; the translation on disk stays as it was.
    void caracterNoCodificable_data()
    {
        QTest::addColumn<QByteArray>("marcador"); // empty: no bookmark file
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("caracter");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("la traducción en windows-1252")
            << QByteArray() << u"niño\nΩ y ñ"_s << u"«Ω» (U+03A9)"_s << u"Europa occidental (Windows-1252)"_s;
        QTest::newRow("fuera del plano básico")
            << QByteArray() << u"niño\nya 😀"_s << u"«😀» (U+1F600)"_s << u"Europa occidental (Windows-1252)"_s;
        QTest::newRow("la elección de la carpeta")
            << QByteArray("[Codificacion]\r\nTraduccion=shift_jis\r\n") << u"uno\nniño"_s << u"«ñ» (U+00F1)"_s
            << u"Japonés (Shift-JIS)"_s;
    }

    void caracterNoCodificable()
    {
        QFETCH(QByteArray, marcador);
        QFETCH(QString, texto);
        QFETCH(QString, caracter);
        QFETCH(QString, nombre);
        const QByteArray anterior = "ca\xf1\x61\r\n";
        EscribirBytes(Ruta(u"a.txt"), "ca\xf1\x61\r\n");
        EscribirBytes(Ruta(u"b.txt"), "b\r\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), anterior);
        if (!marcador.isEmpty())
            EscribirBytes(Ruta(u"Velarto.vrk"), marcador);
        frmEditor* ventana = Abrir();
        ventana->txtTraducido->setPlainText(texto);

        QTest::keyClick(ventana->txtTraducido, Qt::Key_F12);

        QCOMPARE(caja_.mostrados.size(), 1);
        QCOMPARE(caja_.mostrados[0].texto,
                 u"No se ha guardado el archivo: el carácter " + caracter +
                     u" de la línea 2 no cabe en la codificación de la traducción (" + nombre + u").");
        QCOMPARE(caja_.mostrados[0].icono, Icono::Exclamacion);
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), anterior);
        QCOMPARE(ventana->File1->nombreArchivo(), QStringLiteral("a.txt"));
    }

    // Nothing is written and the selection stays: an empty box, no script to save, no script loaded.
    void rechazado_data()
    {
        QTest::addColumn<bool>("conScripts");
        QTest::addColumn<bool>("cambiarCarpeta");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("mensajes");

        QTest::newRow("texto vacío") << true << false << QString()
                                     << QStringList{u"No se guardarán archivos vacíos."_s};
        QTest::newRow("lista vacía") << false << false << u"texto"_s << QStringList();
        QTest::newRow("nada cargado tras cambiar de carpeta") << true << true << u"texto"_s << QStringList();
    }

    void rechazado()
    {
        QFETCH(bool, conScripts);
        QFETCH(bool, cambiarCarpeta);
        QFETCH(QString, texto);
        QFETCH(QStringList, mensajes);
        if (conScripts) {
            EscribirBytes(Ruta(u"a.txt"), "a\r\n");
            EscribirBytes(Ruta(u"b.txt"), "b\r\n");
        }
        frmEditor* ventana = Abrir();
        if (cambiarCarpeta)
            ventana->Dir1->setRuta(dir_->path());
        const int indice = ventana->File1->indice();
        ventana->txtTraducido->setPlainText(texto);

        QTest::keyClick(ventana->txtTraducido, Qt::Key_F12);
        ventana->cmdGuardar_Click();

        QCOMPARE(caja_.textos(), mensajes + mensajes);
        QVERIFY(!QFileInfo::exists(Ruta(u"Traducidos")));
        QCOMPARE(ventana->File1->indice(), indice);
    }

    // The earlier translation stays whole whatever fails, no temporary file is left behind and the
    // selection does not move.
    void falloConservaLaTraduccion_data()
    {
        QTest::addColumn<Fallo>("fallo");
        QTest::addColumn<QString>("mensaje");

        QTest::newRow("traducidos de solo lectura") << Fallo::SoloLectura << u"70Permiso denegado"_s;
        QTest::newRow("disco lleno") << Fallo::DiscoLleno << u"61Disco lleno"_s;
        QTest::newRow("el reemplazo falla") << Fallo::Reemplazo << u"57Error de E/S en el dispositivo"_s;
        QTest::newRow("carpeta de scripts movida")
            << Fallo::CarpetaMovida << u"76No se encontró la ruta de acceso"_s;
    }

    void falloConservaLaTraduccion()
    {
        QFETCH(Fallo, fallo);
        QFETCH(QString, mensaje);
        const QString carpeta = Ruta(u"scripts");
        const QByteArray anterior = "traducción anterior\r\n";
        EscribirBytes(carpeta + u"/a.txt", "a\r\n");
        EscribirBytes(carpeta + u"/b.txt", "b\r\n");
        EscribirBytes(carpeta + u"/Traducidos/a.txt", anterior);
        frmEditor* ventana = Abrir(carpeta);
        ventana->txtTraducido->setPlainText(QStringLiteral("nueva"));
        QString traducidos = carpeta + u"/Traducidos";
        switch (fallo) {
        case Fallo::SoloLectura:
            if (PermisosProtegen(dir_->path()))
                QFile::setPermissions(traducidos, QFile::ReadOwner | QFile::ExeOwner);
            else // the first opening reads the translation again, to see whether someone changed it
                archivos_->programar(OperacionArchivo::Abrir, 2, EACCES);
            break;
        case Fallo::DiscoLleno:
            archivos_->programar(OperacionArchivo::Escribir, 1, ENOSPC);
            break;
        case Fallo::Reemplazo:
            archivos_->programar(OperacionArchivo::Renombrar, 1, EIO);
            break;
        case Fallo::CarpetaMovida:
            QVERIFY(QDir().rename(carpeta, Ruta(u"movida")));
            traducidos = Ruta(u"movida/Traducidos");
            break;
        }

        QTest::keyClick(ventana->txtTraducido, Qt::Key_F12);

        QCOMPARE(caja_.textos(), QStringList{mensaje});
        QCOMPARE(LeerBytes(traducidos + u"/a.txt"), anterior);
        QCOMPARE(QDir(traducidos).entryList(QDir::Files | QDir::Hidden), QStringList{u"a.txt"_s});
        if (fallo == Fallo::CarpetaMovida)
            QVERIFY(!QFileInfo::exists(carpeta));
        QCOMPARE(ventana->File1->nombreArchivo(), QStringLiteral("a.txt"));
        QCOMPARE(ventana->txtTraducido->toPlainText(), QStringLiteral("nueva"));
    }

    void falloEnLaPrimeraEscritura()
    {
        EscribirBytes(Ruta(u"a.txt"), "a\r\n");
        frmEditor* ventana = Abrir();
        ventana->txtTraducido->setPlainText(QStringLiteral("nueva"));
        archivos_->programar(OperacionArchivo::Escribir, 1, ENOSPC);

        QTest::keyClick(ventana->txtTraducido, Qt::Key_F12);

        QCOMPARE(caja_.textos(), (QStringList{creada, u"61Disco lleno"_s}));
        QCOMPARE(QDir(Ruta(u"Traducidos")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

private:
};

VELARTO_PRUEBA(PruebaGuardado)
#include "tst_guardado.moc"
