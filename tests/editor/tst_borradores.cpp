// Drafts through the real window: what a translator typed comes back with Ctrl+R after another load,
// a folder change, closing the window or a kill; a save, a deletion or undoing back to the loaded
// text removes it; the file list marks it; a broken data folder or draft file never stops the editor.
#include <csignal>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "borradores_editor.h"
#include "formato_borrador.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "principal.h"
#include "ventana_prueba.h"

namespace {

void PulsarCtrlR(frmEditor& ventana)
{
    ventana.activateWindow();
    ventana.txtTraducido->setFocus();
    QTest::keyClick(ventana.txtTraducido, Qt::Key_R, Qt::ControlModifier);
}

// The file list shows the draft mark on the script.
bool Marcado(const frmEditor& ventana, const QString& nombre)
{
    const QList<QListWidgetItem*> elementos = ventana.File1->findItems(nombre, Qt::MatchExactly);
    return !elementos.isEmpty() && !elementos.first()->icon().isNull() &&
           elementos.first()->toolTip().startsWith(u"Texto sin guardar del ");
}

// The enabled state of the context menu's draft entries, as the menu would show them.
QList<bool> EntradasMenu(frmEditor& ventana, QMenu& menu)
{
    Q_EMIT ventana.txtTraducido->menuContextual(&menu, QPoint());
    QList<bool> habilitadas;
    for (QAction* accion : menu.actions()) {
        if (accion->text().startsWith(u"Recuperar texto sin guardar") ||
            accion->text() == u"Descartar texto sin guardar")
            habilitadas.append(accion->isEnabled());
    }
    return habilitadas;
}

void DeshacerTodo(frmEditor& ventana)
{
    while (ventana.txtTraducido->document()->isUndoAvailable())
        ventana.txtTraducido->undo();
}

QAction* Entrada(QMenu& menu, const QString& principio)
{
    for (QAction* accion : menu.actions()) {
        if (accion->text().startsWith(principio))
            return accion;
    }
    return nullptr;
}

} // namespace

class PruebaBorradores final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        PruebaConVentana::init();
        EscribirBytes(Ruta(u"a.txt"), "Hello\r\nBye\r\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), "Hola\r\nAdios\r\n");
        EscribirBytes(Ruta(u"b.txt"), "Other\r\n");
        EscribirBytes(Ruta(u"otra/c.txt"), "Third\r\n");
    }
    // Loading a script whose draft differs from the disk shows the notice inside the box, with the draft's
    // time, until the first keystroke; Ctrl+R brings the draft back wherever the focus is.
    void aviso()
    {
        Abrir();
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("¡Ya! "));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        auto* aviso = ventana_->txtTraducido->viewport()->findChild<QLabel*>(QStringLiteral("avisoBorrador"));
        QVERIFY(aviso && !aviso->isVisible());

        QVERIFY(ElegirScript(*ventana_, QStringLiteral("a.txt")));

        QVERIFY(aviso->isVisible());
        const QString fecha = ventana_->File1->currentItem()->toolTip().section(u' ', -2);
        QCOMPARE(aviso->text(),
                 u"Hay texto sin guardar de este script, del " + fecha + u". Ctrl+R lo recupera.");
        QVERIFY(ventana_->txtTraducido->viewport()->rect().contains(aviso->geometry()));
        QTest::keyClick(ventana_->File1, Qt::Key_Escape);
        QVERIFY(!aviso->isVisible());
        ventana_->activateWindow();
        ventana_->File1->setFocus();
        QTest::keyClick(ventana_->File1, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("¡Ya! Hola\nAdios"));
    }

    // Typed text survives whatever replaces the box; loading shows the disk, Ctrl+R the draft, and
    // one Ctrl+Z the disk again. Nothing is written beside the scripts.
    void recuperar_data()
    {
        QTest::addColumn<QString>("accion");
        QTest::newRow("otro script") << QStringLiteral("script");
        QTest::newRow("otra carpeta") << QStringLiteral("carpeta");
        QTest::newRow("cerrar la ventana") << QStringLiteral("cerrar");
        QTest::newRow("eliminacion cancelada y otro script") << QStringLiteral("cancelar");
    }
    void recuperar()
    {
        QFETCH(QString, accion);
        Abrir();
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Hola\nAdios"));
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("¡Ya! "));
        if (accion == u"script") {
            QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        } else if (accion == u"carpeta") {
            ventana_->Dir1->setRuta(Ruta(u"otra"));
            QCOMPARE(ventana_->File1->cantidad(), 1);
            ventana_->Dir1->setRuta(dir_->path());
        } else if (accion == u"cerrar") {
            ventana_->close();
            ventana_.reset();
            Abrir();
        } else {
            caja_.respuestas = {Respuesta::No};
            ventana_->cmdEliminar_Click();
            QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        }
        QVERIFY(Marcado(*ventana_, QStringLiteral("a.txt")));
        QVERIFY(!Marcado(*ventana_, QStringLiteral("b.txt")));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("a.txt")));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Hola\nAdios"));

        PulsarCtrlR(*ventana_);
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("¡Ya! Hola\nAdios"));
        ventana_->txtTraducido->undo();
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Hola\nAdios"));
        for (const QString& texto : caja_.textos())
            QVERIFY2(texto.startsWith(u"¿Desea eliminar"), qPrintable(texto));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"a.txt", "b.txt"}));
        QCOMPARE(QDir(Ruta(u"Traducidos")).entryList(QDir::Files | QDir::Hidden), QStringList{"a.txt"});
    }

    // Killed 3 s after typing, the editor leaves the draft its pause kept; asked to end by a signal at
    // once, it keeps the draft before it exits. Either way the next editor brings it back.
    void muerte_data()
    {
        QTest::addColumn<int>("senal");
        QTest::newRow("SIGKILL 3 s despues") << int(SIGKILL);
        QTest::newRow("SIGTERM al momento") << int(SIGTERM);
        QTest::newRow("SIGHUP al momento") << int(SIGHUP);
    }
    void muerte()
    {
        QFETCH(int, senal);
        QProcess hijo;
        hijo.start(QStringLiteral(VELARTO_HIJO), {QStringLiteral("teclear"), dir_->path(), datos_->path()});
        QVERIFY(hijo.waitForStarted() && hijo.waitForReadyRead(60000));
        const QString archivo = ArchivoBorrador(u"Traducidos/a.txt");
        if (senal == SIGKILL) {
            QElapsedTimer reloj;
            reloj.start();
            QVERIFY(QTest::qWaitFor([&] { return reloj.elapsed() >= 3000 && QFileInfo::exists(archivo); },
                                    30000));
        }
        ::kill(pid_t(hijo.processId()), senal);
        QVERIFY(hijo.waitForFinished(10000));
        QCOMPARE(hijo.exitStatus() == QProcess::NormalExit, senal != SIGKILL);

        Abrir();
        QVERIFY(Marcado(*ventana_, QStringLiteral("a.txt")));
        PulsarCtrlR(*ventana_);
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("tecleado Hola\nAdios"));
        QCOMPARE(QFileInfo(Carpeta()).permissions() & 0x0077, QFileDevice::Permissions());
    }

    // Only what differs from the loaded text is copied out of the box for a draft: wherever the edits
    // fall, the draft holds the box's whole text.
    void tramos_data()
    {
        QTest::addColumn<QString>("edicion");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("al final") << QStringLiteral("final") << QStringLiteral("Hola\nAdiosZ");
        QTest::newRow("salto de línea en medio")
            << QStringLiteral("medio") << QStringLiteral("Hox\nyla\nAdios");
        QTest::newRow("borrado hasta el final") << QStringLiteral("borrado") << QStringLiteral("Hol");
        QTest::newRow("todo reemplazado") << QStringLiteral("todo") << QStringLiteral("Nuevo");
        QTest::newRow("deshecho en parte") << QStringLiteral("deshacer") << QStringLiteral("AHola\nAdios");
        QTest::newRow("dos borradores seguidos") << QStringLiteral("dos") << QStringLiteral("AHola\nAdiosB");
        QTest::newRow("línea nueva al final") << QStringLiteral("linea") << QStringLiteral("Hola\nAdios\n");
    }
    void tramos()
    {
        QFETCH(QString, edicion);
        QFETCH(QString, esperado);
        Abrir();
        CajaTexto& caja = *ventana_->txtTraducido;
        QTextCursor cursor(caja.document());
        const auto insertar = [&](int posicion, const QString& texto) {
            cursor.setPosition(posicion);
            cursor.insertText(texto);
        };
        const int fin = caja.document()->characterCount() - 1;
        if (edicion == u"final") {
            insertar(fin, QStringLiteral("Z"));
        } else if (edicion == u"medio") {
            insertar(2, QStringLiteral("x\ny"));
        } else if (edicion == u"borrado") {
            cursor.setPosition(3);
            cursor.setPosition(fin, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        } else if (edicion == u"todo") {
            caja.setPlainText(QStringLiteral("Nuevo"));
        } else if (edicion == u"deshacer") {
            insertar(0, QStringLiteral("A"));
            insertar(fin + 1, QStringLiteral("B"));
            caja.undo();
        } else if (edicion == u"dos") {
            insertar(0, QStringLiteral("A"));
            QTRY_COMPARE(TextoBorrador(), QStringLiteral("AHola\nAdios"));
            insertar(fin + 1, QStringLiteral("B"));
        } else {
            insertar(fin, QStringLiteral("\n"));
        }
        QCOMPARE(caja.toPlainText(), esperado);
        QTRY_COMPARE(TextoBorrador(), esperado);
    }

    // Another editor on the same folder, killed after its typing was kept or still running: this one's
    // save never takes that draft away, and Ctrl+R here brings it back.
    void otroEditor_data()
    {
        QTest::addColumn<bool>("muerto");
        QTest::newRow("muerto antes del guardado") << true;
        QTest::newRow("vivo durante el guardado") << false;
    }
    void otroEditor()
    {
        QFETCH(bool, muerto);
        QProcess hijo;
        hijo.start(QStringLiteral(VELARTO_HIJO), {QStringLiteral("teclear"), dir_->path(), datos_->path()});
        QVERIFY(hijo.waitForStarted() && hijo.waitForReadyRead(60000));
        QVERIFY(QTest::qWaitFor([&] { return !TextoBorrador().isEmpty(); }, 30000));
        if (muerto) {
            hijo.kill();
            QVERIFY(hijo.waitForFinished(10000));
        }
        Abrir();
        // Saved at once: no draft of this editor's own is due in between.
        ventana_->txtTraducido->setPlainText(QStringLiteral("Mio\nAdios"));
        ventana_->cmdGuardar_Click();
        QCOMPARE(caja_.textos(), QStringList{"¡Archivo guardado!"});
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("a.txt")));
        QVERIFY(Marcado(*ventana_, QStringLiteral("a.txt")));
        PulsarCtrlR(*ventana_);
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("tecleado Hola\nAdios"));
        hijo.kill();
        hijo.waitForFinished(10000);
    }

    // Another editor saved the translation after this one loaded it: this one asks before it replaces
    // that work, and No keeps both, the other's on disk and this one's typing as its draft.
    void guardadoDeOtro_data()
    {
        QTest::addColumn<Respuesta>("respuesta");
        QTest::addColumn<QByteArray>("enDisco");
        QTest::addColumn<QString>("borrador");
        QTest::newRow("No") << Respuesta::No << QByteArray("tecleado Hola\r\nAdios\r\n")
                            << QStringLiteral("Mio Hola\nAdios");
        QTest::newRow("Sí") << Respuesta::Si << QByteArray("Mio Hola\r\nAdios\r\n") << QString();
    }
    void guardadoDeOtro()
    {
        QFETCH(Respuesta, respuesta);
        QFETCH(QByteArray, enDisco);
        QFETCH(QString, borrador);
        Abrir();
        QProcess hijo;
        hijo.start(QStringLiteral(VELARTO_HIJO),
                   {QStringLiteral("teclearYGuardar"), dir_->path(), datos_->path()});
        QVERIFY(hijo.waitForStarted() && hijo.waitForReadyRead(60000));
        hijo.kill();
        hijo.waitForFinished(10000);
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), QByteArray("tecleado Hola\r\nAdios\r\n"));

        caja_.respuestas = {respuesta};
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("Mio "));
        ventana_->cmdGuardar_Click();
        QCOMPARE(caja_.textos().value(0),
                 QStringLiteral("La traducción de «a.txt» ha cambiado en el disco desde que se cargó. ¿Desea "
                                "reemplazarla con el texto del editor?"));
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), enDisco);
        QCOMPARE(TextoBorrador(), borrador);
    }

    // A successful save, a deletion, "Descartar" and undoing back to the loaded text remove the draft
    // and its mark; a failed save keeps both.
    void seVa_data()
    {
        QTest::addColumn<QString>("accion");
        QTest::addColumn<bool>("queda");
        QTest::newRow("guardar") << QStringLiteral("guardar") << false;
        QTest::newRow("guardado fallido") << QStringLiteral("fallo") << true;
        QTest::newRow("eliminar") << QStringLiteral("eliminar") << false;
        QTest::newRow("descartar") << QStringLiteral("descartar") << false;
        QTest::newRow("deshacer") << QStringLiteral("deshacer") << false;
        QTest::newRow("deshacer, traducción vacía") << QStringLiteral("deshacer vacía") << false;
        QTest::newRow("deshacer, sin traducción") << QStringLiteral("deshacer sin") << false;
    }
    void seVa()
    {
        QFETCH(QString, accion);
        QFETCH(bool, queda);
        if (accion == u"deshacer vacía")
            EscribirBytes(Ruta(u"Traducidos/a.txt"), "");
        else if (accion == u"deshacer sin")
            QVERIFY(QFile::remove(Ruta(u"Traducidos/a.txt")));
        Abrir();
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("xy"));
        // Kept a while after the last change, without anything else happening.
        QTRY_VERIFY_WITH_TIMEOUT(Marcado(*ventana_, QStringLiteral("a.txt")), 10000);
        const QString archivo = ArchivoBorrador(u"Traducidos/a.txt");
        QVERIFY(QFileInfo::exists(archivo));
        const QString ayuda =
            ventana_->File1->findItems(QStringLiteral("a.txt"), Qt::MatchExactly)[0]->toolTip();
        const QDateTime cuando = QDateTime::fromString(ayuda.mid(22), QStringLiteral("dd/MM/yyyy HH:mm"));
        QVERIFY2(cuando.isValid() && qAbs(cuando.secsTo(QDateTime::currentDateTime())) < 120,
                 qPrintable(ayuda));
        if (accion == u"guardar" || accion == u"fallo") {
            if (accion == u"fallo")
                archivos_->programar(OperacionArchivo::Renombrar, 1, EIO);
            ventana_->txtTraducido_KeyUp(123, 0);
            QCOMPARE(caja_.textos().last(), accion == u"fallo"
                                                ? QStringLiteral("57Error de E/S en el dispositivo")
                                                : QStringLiteral("¡Archivo guardado!"));
        } else if (accion == u"eliminar") {
            caja_.respuestas = {Respuesta::Si};
            ventana_->cmdEliminar_Click();
            QVERIFY(!QFileInfo::exists(Ruta(u"a.txt")));
        } else if (accion == u"descartar") {
            QMenu menu;
            QCOMPARE(EntradasMenu(*ventana_, menu), (QList<bool>{false, false})); // the box holds it
            DeshacerTodo(*ventana_);
            QMenu otro;
            QCOMPARE(EntradasMenu(*ventana_, otro), (QList<bool>{true, true}));
            Entrada(otro, QStringLiteral("Descartar"))->trigger();
        } else {
            DeshacerTodo(*ventana_);
            // Found equal on the store's thread a while later; the mark goes when the store tells.
            QTRY_VERIFY_WITH_TIMEOUT(!Marcado(*ventana_, QStringLiteral("a.txt")), 10000);
        }
        QCOMPARE(QFileInfo::exists(archivo), queda);
        QCOMPARE(Marcado(*ventana_, QStringLiteral("a.txt")), queda);
    }

    // A draft that holds what the translation now holds goes when the script is loaded.
    void igualAlDisco()
    {
        Abrir();
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("Ya "));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        QVERIFY(Marcado(*ventana_, QStringLiteral("a.txt")));
        EscribirBytes(Ruta(u"Traducidos/a.txt"), "Ya Hola\r\nAdios\r\n");
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("a.txt")));
        QVERIFY(!Marcado(*ventana_, QStringLiteral("a.txt")));
        QVERIFY(!QFileInfo::exists(ArchivoBorrador(u"Traducidos/a.txt")));
    }

    // A data folder that cannot be made: one message naming it and why, and then the editor goes on.
    void carpetaDatosRota()
    {
        EscribirBytes(datos_->filePath(QStringLiteral("archivo")), "x");
        ventana_ = AbrirVentana(dir_->path(), caja_, {}, datos_->filePath(QStringLiteral("archivo/velarto")));
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("uno "));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        const QString mensaje =
            QStringLiteral(
                "No se puede conservar el texto sin guardar en la carpeta %1: No se encontró la ruta de "
                "acceso.\n"
                "El editor sigue funcionando, pero lo que no se guarde con F12 no se podrá recuperar.")
                .arg(datos_->filePath(QStringLiteral("archivo/velarto/borradores")));
        QTRY_COMPARE(caja_.textos(), QStringList{mensaje});
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("dos"));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("dos"));
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("a.txt")));
        QTest::keyClicks(ventana_->txtTraducido, QStringLiteral("tres "));
        ventana_->cmdGuardar_Click();
        QCOMPARE(caja_.textos(), (QStringList{mensaje, QStringLiteral("¡Archivo guardado!")}));
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), QByteArray("tres Hola\r\nAdios\r\n"));
        QVERIFY(!Marcado(*ventana_, QStringLiteral("a.txt")));
    }

    // A draft file that is not a whole draft of this version: no mark, Ctrl+R does nothing, and the
    // file stays as it was.
    void borradorRoto_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        const QByteArray ruta = QFile::encodeName(QDir::cleanPath(Ruta(u"Traducidos/a.txt")));
        const QByteArray cabecera = "velarto-borrador 1\nruta " + ruta + "\nfecha 2026-01-02T03:04:05.000Z\n";
        QTest::newRow("cortado") << QByteArray(cabecera + "largo 10\n\nHola");
        QTest::newRow("sobrante") << QByteArray(cabecera + "largo 2\n\nHola");
        QTest::newRow("otra version")
            << QByteArray("velarto-borrador 2" + cabecera.mid(18) + "largo 4\n\nHola");
        QTest::newRow("no UTF-8") << QByteArray(cabecera + "largo 4\n\nHol\xE1");
        QTest::newRow("mas de lo que cabe") << QByteArray(cabecera + "largo 999999999999\n\nHola");
        QTest::newRow("sin cabecera") << QByteArray("Hola\n");
        QTest::newRow("vacio") << QByteArray();
    }
    void borradorRoto()
    {
        QFETCH(QByteArray, contenido);
        const QString archivo = ArchivoBorrador(u"Traducidos/a.txt");
        EscribirBytes(archivo, contenido);
        Abrir();
        QVERIFY(!Marcado(*ventana_, QStringLiteral("a.txt")));
        PulsarCtrlR(*ventana_);
        QMenu menu;
        QCOMPARE(EntradasMenu(*ventana_, menu), (QList<bool>{false, false}));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("Hola\nAdios"));
        QVERIFY(caja_.mostrados.isEmpty());
        QCOMPARE(LeerBytes(archivo), contenido);
    }

    // Bringing a draft back touches only what differs, and one undo gives the box back as it was.
    void reemplazo_data()
    {
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("borrador");
        QTest::newRow("al principio") << QStringLiteral("Hola\nAdios") << QStringLiteral("¡Ya! Hola\nAdios");
        QTest::newRow("en medio") << QStringLiteral("uno\ndos\ntres") << QStringLiteral("uno\nDOS\ntres");
        QTest::newRow("al final") << QStringLiteral("uno\ndos") << QStringLiteral("uno\ndos\n");
        QTest::newRow("repetido mas largo") << QStringLiteral("aa") << QStringLiteral("aaa");
        QTest::newRow("repetido mas corto") << QStringLiteral("abcabc") << QStringLiteral("abc");
        QTest::newRow("lineas quitadas") << QStringLiteral("a\nb\nc\nd") << QStringLiteral("a\nd");
        QTest::newRow("caja vacia") << QString() << QStringLiteral("nuevo\ntexto");
        QTest::newRow("borrador vacio") << QStringLiteral("algo") << QString();
    }
    void reemplazo()
    {
        QFETCH(QString, caja);
        QFETCH(QString, borrador);
        CajaTexto texto;
        texto.setPlainText(caja);
        ReemplazarComoUnaEdicion(texto, borrador);
        QCOMPARE(texto.toPlainText(), borrador);
        texto.undo();
        QCOMPARE(texto.toPlainText(), caja);
        QVERIFY(!texto.document()->isUndoAvailable());
    }

private:
    QString Carpeta() const { return datos_->filePath(QStringLiteral("borradores")); }
    QString ArchivoBorrador(QStringView relativa) const
    {
        return Carpeta() + u'/' + NombreArchivoBorrador(Ruta(relativa));
    }
    // The text of a.txt's draft; "" when there is none.
    QString TextoBorrador() const
    {
        const std::optional<Borrador> borrador =
            DecodificarBorrador(LeerBytes(ArchivoBorrador(u"Traducidos/a.txt")));
        return borrador ? borrador->texto : QString();
    }
};

VELARTO_PRUEBA(PruebaBorradores)
#include "tst_borradores.moc"
