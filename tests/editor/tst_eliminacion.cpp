// Deleting through the real window: the question, which files go to the trash, and what the window shows
// afterwards.
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "principal.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

class PruebaEliminacion final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void sinConfirmar_data()
    {
        QTest::addColumn<Respuesta>("respuesta");
        QTest::newRow("no") << Respuesta::No;
        QTest::newRow("cancelar") << Respuesta::Cancelar;
    }

    void sinConfirmar()
    {
        QFETCH(Respuesta, respuesta);
        Escribir({u"a.txt"_s, u"b.txt"_s}, {u"a.txt"_s});
        frmEditor* ventana = Abrir();
        ventana->txtTraducido->setPlainText(u"sin guardar"_s);
        caja_.respuestas = {respuesta};

        QTest::keyClick(ventana->File1, Qt::Key_Delete);

        QCOMPARE(caja_.mostrados.size(), 1);
        const MensajeMostrado& pregunta = caja_.mostrados[0];
        QCOMPARE(pregunta.texto, u"¿Desea eliminar el script: a.txt?"_s);
        // Yes, No and Cancel, with No the default: Enter deletes nothing.
        QCOMPARE(pregunta.botones, Botones::SiNoCancelarNo);
        QCOMPARE(pregunta.icono, Icono::Exclamacion);
        QCOMPARE(pregunta.titulo, u"Advertencia"_s);
        QCOMPARE(Archivos(), (QStringList{u"a.txt"_s, u"b.txt"_s, u"Traducidos/a.txt"_s}));
        QCOMPARE(ventana->txtTraducido->toPlainText(), u"sin guardar"_s);
        QCOMPARE(ventana->File1->nombreArchivo(), u"a.txt"_s);
    }

    // Four scripts, a and c with a translation. After the deletion the file that followed is loaded;
    // when none follows the window is left empty.
    void eliminar_data()
    {
        QTest::addColumn<QStringList>("scripts");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("conBoton");
        QTest::addColumn<QStringList>("quedan");
        QTest::addColumn<QString>("cargado"); // "": nothing loaded

        const QStringList cuatro{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"d.txt"_s};
        QTest::newRow("con traducción")
            << cuatro << u"a.txt"_s << false
            << QStringList{u"b.txt"_s, u"c.txt"_s, u"d.txt"_s, u"Traducidos/c.txt"_s} << u"b.txt"_s;
        QTest::newRow("sin traducción")
            << cuatro << u"b.txt"_s << true
            << QStringList{u"a.txt"_s, u"c.txt"_s, u"d.txt"_s, u"Traducidos/a.txt"_s, u"Traducidos/c.txt"_s}
            << u"c.txt"_s;
        QTest::newRow("penúltimo") << cuatro << u"c.txt"_s << false
                                   << QStringList{u"a.txt"_s, u"b.txt"_s, u"d.txt"_s, u"Traducidos/a.txt"_s}
                                   << u"d.txt"_s;
        QTest::newRow("último") << cuatro << u"d.txt"_s << false
                                << QStringList{u"a.txt"_s, u"b.txt"_s, u"c.txt"_s, u"Traducidos/a.txt"_s,
                                               u"Traducidos/c.txt"_s}
                                << QString();
        QTest::newRow("único") << QStringList{u"a.txt"_s} << u"a.txt"_s << true << QStringList() << QString();
    }

    void eliminar()
    {
        QFETCH(QStringList, scripts);
        QFETCH(QString, script);
        QFETCH(bool, conBoton);
        QFETCH(QStringList, quedan);
        QFETCH(QString, cargado);
        Escribir(scripts, {u"a.txt"_s, u"c.txt"_s});
        frmEditor* ventana = Abrir();
        QVERIFY(ElegirScript(*ventana, script));
        caja_.respuestas = {Respuesta::Si};

        if (conBoton)
            QTest::mouseClick(ventana->cmdEliminar, Qt::LeftButton);
        else
            QTest::keyClick(ventana->File1, Qt::Key_Delete);

        QCOMPARE(caja_.textos(), QStringList{u"¿Desea eliminar el script: " + script + u'?'});
        QCOMPARE(Archivos(), quedan);
        // The deleted pair is in the trash, whole, where a file manager restores it from.
        QStringList desechados{Ruta(script)};
        if (script == u"a.txt" || script == u"c.txt")
            desechados.append(Ruta(QString(u"Traducidos/" + script)));
        desechados.sort();
        const QMap<QString, QString> papelera = papelera_->Contenido();
        QCOMPARE(papelera.keys(), desechados);
        QCOMPARE(LeerBytes(papelera.value(Ruta(script))), "original " + script.toUtf8() + "\r\n");
        QCOMPARE(ventana->File1->nombreArchivo(), cargado);
        QCOMPARE(ItemsOriginal(*ventana),
                 cargado.isEmpty() ? QStringList() : QStringList{u"original " + cargado});
        QCOMPARE(ventana->txtTraducido->toPlainText(),
                 cargado == u"c.txt" ? u"traducción c.txt"_s : QString());
        QCOMPARE(ventana->parCargado().hayTraducido, cargado == u"c.txt");
        QCOMPARE(ventana->cmdGuardar->isEnabled(), !cargado.isEmpty());
        QCOMPARE(ventana->lblLtlo->text(), cargado.isEmpty() ? QString() : u"14"_s);
        QCOMPARE(ventana->focusWidget(), ventana->File1);
    }

    // Each press asks once and removes one script; once no file is selected, Yes removes nothing.
    void pulsacionesRepetidas()
    {
        Escribir({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}, {u"b.txt"_s});
        frmEditor* ventana = Abrir();
        caja_.respuestas = {Respuesta::Si, Respuesta::Si, Respuesta::Si, Respuesta::Si};

        for (int i = 0; i < 4; ++i)
            QTest::keyClick(ventana->File1, Qt::Key_Delete);

        QCOMPARE(caja_.textos(),
                 (QStringList{u"¿Desea eliminar el script: a.txt?"_s, u"¿Desea eliminar el script: b.txt?"_s,
                              u"¿Desea eliminar el script: c.txt?"_s, u"¿Desea eliminar el script: ?"_s,
                              u"53:No se encontró el archivo"_s}));
        QCOMPARE(Archivos(), QStringList());
        QVERIFY(QFileInfo(dir_->path() + u"/Traducidos").isDir());
    }

    // A file gone from the disk since it was loaded stops the deletion where it fails.
    void archivoDesaparecido_data()
    {
        QTest::addColumn<QString>("borrado");
        QTest::addColumn<QStringList>("quedan");
        QTest::newRow("el original") << u"a.txt"_s << QStringList{u"b.txt"_s, u"Traducidos/a.txt"_s};
        QTest::newRow("la traducción") << u"Traducidos/a.txt"_s << QStringList{u"b.txt"_s};
    }

    void archivoDesaparecido()
    {
        QFETCH(QString, borrado);
        QFETCH(QStringList, quedan);
        Escribir({u"a.txt"_s, u"b.txt"_s}, {u"a.txt"_s});
        frmEditor* ventana = Abrir();
        QVERIFY(QFile::remove(dir_->path() + u'/' + borrado));
        caja_.respuestas = {Respuesta::Si};

        QTest::keyClick(ventana->File1, Qt::Key_Delete);

        QCOMPARE(caja_.textos().value(1), u"53:No se encontró el archivo"_s);
        QCOMPARE(Archivos(), quedan);
        QCOMPARE(ventana->txtTraducido->toPlainText(), u"traducción a.txt"_s);
    }

    // After a folder change nothing is loaded: the highlighted script goes, its translation stays.
    void trasCambiarDeCarpeta()
    {
        Escribir({u"a.txt"_s, u"b.txt"_s}, {u"a.txt"_s});
        frmEditor* ventana = Abrir();
        ventana->Dir1->setRuta(dir_->path());
        caja_.respuestas = {Respuesta::Si};

        QTest::keyClick(ventana->File1, Qt::Key_Delete);

        QCOMPARE(Archivos(), (QStringList{u"b.txt"_s, u"Traducidos/a.txt"_s}));
        QCOMPARE(ItemsOriginal(*ventana), QStringList{u"original b.txt"_s});
    }

private:
    // Scripts whose only line is "original " and their name (14 characters), and translations of those
    // of them named in `traducidos`.
    void Escribir(const QStringList& scripts, const QStringList& traducidos)
    {
        for (const QString& nombre : scripts)
            EscribirBytes(dir_->path() + u'/' + nombre, "original " + nombre.toUtf8() + "\r\n");
        for (const QString& nombre : traducidos) {
            if (scripts.contains(nombre))
                EscribirBytes(dir_->path() + u"/Traducidos/" + nombre,
                              QByteArray("traducción ") + nombre.toUtf8());
        }
    }

    // The files left in the folder and in "Traducidos", relative to the folder.
    QStringList Archivos() const
    {
        QStringList archivos;
        const QDir carpeta(dir_->path());
        for (const QString& nombre : carpeta.entryList(QDir::Files | QDir::Hidden, QDir::Name))
            archivos.append(nombre);
        for (const QString& nombre :
             QDir(carpeta.filePath(u"Traducidos"_s)).entryList(QDir::Files | QDir::Hidden, QDir::Name))
            archivos.append(u"Traducidos/" + nombre);
        return archivos;
    }
};

VELARTO_PRUEBA(PruebaEliminacion)
#include "tst_eliminacion.moc"
