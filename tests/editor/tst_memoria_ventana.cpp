// The translation memory through the real window: Ctrl+1… putting a match in the caret's line as one
// edit, Ctrl+Shift+M filling repetitions with its messages, a save that the next lookup already sees, and
// a folder added from the box's menu into a bookmark file written on Windows.
#include <QDir>
#include <QTest>
#include <QTextBlock>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "memoria_traduccion.h"
#include "principal.h"
#include "problemas_guion.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

namespace {

QStringList LineasCaja(const frmEditor& ventana)
{
    QStringList lineas;
    for (QTextBlock b = ventana.txtTraducido->document()->begin(); b.isValid(); b = b.next())
        lineas.append(b.text());
    return lineas;
}

} // namespace

class PruebaMemoriaVentana final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    // Sorted after "guion.txt", so that the window opens on the script under test.
    void init()
    {
        PruebaConVentana::init();
        EscribirBytes(Ruta(u"otro.txt"), ArchivoCrLf({u"Do you want to save the game?"_s, u"Yes."_s, u"No."_s,
                                                      u"Do you want to load the game?"_s}));
        EscribirBytes(Ruta(u"Traducidos/otro.txt"),
                      ArchivoCrLf({u"¿Quieres guardar la partida?"_s, u"Sí."_s, u"No."_s,
                                   u"¿Quieres cargar la partida?"_s}));
    }

    // The match's translation replaces the caret line's text, with the window shown or not; one Ctrl+Z
    // takes the whole replacement back. A match that is not there changes nothing.
    void elegirCoincidencia_data()
    {
        QTest::addColumn<bool>("mostrada");
        QTest::addColumn<int>("linea");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("esperada");
        QTest::newRow("línea vacía, la idéntica") << false << 0 << 1 << u"¿Quieres guardar la partida?"_s;
        QTest::newRow("línea con texto, ventana a la vista") << true << 1 << 1 << u"Sí."_s;
        QTest::newRow("la segunda, parecida") << false << 0 << 2 << u"¿Quieres cargar la partida?"_s;
        QTest::newRow("no hay quinta") << true << 0 << 5 << QString();
    }

    void elegirCoincidencia()
    {
        QFETCH(bool, mostrada);
        QFETCH(int, linea);
        QFETCH(int, tecla);
        QFETCH(QString, esperada);
        const QStringList antes{QString(), u"Vale, sí."_s, u"Fin."_s};
        AbrirGuion({u"Do you want to save the game?"_s, u"Yes."_s, u"The end."_s}, antes);
        ventana_->memoria().Esperar();
        ventana_->activateWindow();
        ventana_->txtTraducido->setFocus();
        if (mostrada)
            QTest::keyClick(ventana_->txtTraducido, Qt::Key_M, Qt::ControlModifier);
        CursorEn(linea, int(antes[linea].size() / 2));
        QTest::keyClick(ventana_->txtTraducido, Qt::Key(Qt::Key_0 + tecla), Qt::ControlModifier);

        QStringList despues = antes;
        if (!esperada.isNull())
            despues[linea] = esperada;
        QTRY_COMPARE(LineasCaja(*ventana_), despues);
        if (esperada.isNull()) {
            ventana_->memoria().Esperar();
            QCoreApplication::processEvents();
            QCOMPARE(LineasCaja(*ventana_), antes);
            QVERIFY(!ventana_->txtTraducido->document()->isUndoAvailable());
            return;
        }
        QCOMPARE(ventana_->txtTraducido->textCursor().blockNumber(), linea);
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(LineasCaja(*ventana_), antes);
        QVERIFY(!ventana_->txtTraducido->document()->isUndoAvailable());
    }

    // Empty lines and lines beyond the translation's end whose original the memory knows are filled in
    // one edit, and the message says how many; lines already translated keep their text.
    void rellenar_data()
    {
        QTest::addColumn<QStringList>("originales");
        QTest::addColumn<QStringList>("traduccion");
        QTest::addColumn<QStringList>("rellena");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("varias") << QStringList{u"Yes."_s, u"No."_s, u"Nothing alike."_s, u"Yes."_s}
                                << QStringList{QString(), QString(), QString(), QString()}
                                << QStringList{u"Sí."_s, u"No."_s, QString(), u"Sí."_s}
                                << u"Se han rellenado 3 líneas con traducciones de la memoria."_s;
        QTest::newRow("una, más allá del final")
            << QStringList{u"Yes."_s, u"Nothing alike."_s, u"No."_s} << QStringList{u"Vale."_s}
            << QStringList{u"Vale."_s, QString(), u"No."_s}
            << u"Se ha rellenado 1 línea con traducciones de la memoria."_s;
        QTest::newRow("ninguna") << QStringList{u"Yes."_s, u"Nothing alike."_s}
                                 << QStringList{u"Vale."_s, QString()} << QStringList{u"Vale."_s, QString()}
                                 << u"No hay líneas que rellenar desde la memoria."_s;
    }

    void rellenar()
    {
        QFETCH(QStringList, originales);
        QFETCH(QStringList, traduccion);
        QFETCH(QStringList, rellena);
        QFETCH(QString, mensaje);
        AbrirGuion(originales, traduccion);
        ventana_->memoria().Esperar();
        const QStringList antes = LineasCaja(*ventana_);
        ventana_->activateWindow();
        ventana_->txtTraducido->setFocus();
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);

        QTRY_COMPARE(caja_.textos(), QStringList{mensaje});
        QCOMPARE(LineasCaja(*ventana_), rellena);
        // The counters and the checks follow the box: its total length is the filled text's, and only the
        // lines left empty are still "Línea vacía".
        ventana_->timer_Timer();
        QCOMPARE(ventana_->lblLtl->text(), QString::number(rellena.join(QString()).size()));
        const ProblemasGuion* guion = ventana_->comprobaciones().guion();
        QVERIFY(guion);
        QTRY_VERIFY(!guion->pendiente());
        QList<bool> conProblemas;
        QList<bool> vacias;
        for (int i = 0; i < rellena.size(); ++i) {
            conProblemas.append(guion->tieneProblemas(i));
            vacias.append(rellena[i].isEmpty());
        }
        QCOMPARE(conProblemas, vacias);
        if (rellena != antes) {
            QTest::keyClick(ventana_->txtTraducido, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(LineasCaja(*ventana_), antes);
        }
        QVERIFY(!ventana_->txtTraducido->document()->isUndoAvailable());
    }

    // A save goes into the memory at once: the next script's lookup finds it without another visit.
    void guardadoEnLaMemoria()
    {
        EscribirBytes(Ruta(u"otro.txt"), ArchivoCrLf({u"Hello there, traveller."_s}));
        QFile::remove(Ruta(u"Traducidos/otro.txt"));
        AbrirGuion({u"Hello there, traveller."_s}, std::nullopt);
        ventana_->memoria().Esperar();
        ventana_->txtTraducido->setPlainText(u"Hola, viajero."_s);
        ventana_->cmdGuardar_Click();
        QCOMPARE(caja_.textos().value(0), u"¡Archivo guardado!"_s);
        QTRY_VERIFY(ventana_->parCargado().completo &&
                    ventana_->parCargado().rutaOriginal.endsWith(u"/otro.txt"));

        ventana_->activateWindow();
        ventana_->txtTraducido->setFocus();
        CursorEn(0);
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_1, Qt::ControlModifier);
        QTRY_COMPARE(LineasCaja(*ventana_), QStringList{u"Hola, viajero."_s});
    }

    // A folder added from the box's menu is kept in a bookmark file written on Windows, changing only the
    // section's lines, and its scripts answer the next lookup; taking it out empties its key.
    void carpetaAnadida()
    {
        const QString extra = Ruta(u"Extra");
        EscribirBytes(extra + u"/uno.txt", ArchivoCrLf({u"Where is the sword of light?"_s}));
        EscribirBytes(extra + u"/Traducidos/uno.txt", ArchivoCrLf({u"¿Dónde está la espada de luz?"_s}));
        const QByteArray windows =
            "[Marcador]\r\nINDICE=0\r\n\r\n[Codificacion]\r\nORIGINAL=windows-1252\r\n";
        EscribirBytes(Ruta(u"Velarto.vrk"), windows);
        elegirCarpeta_ = [extra](QWidget*, const QString&) {
            return extra;
        };
        AbrirGuion({u"Where is the sword of light?"_s}, QStringList{QString()});

        std::unique_ptr<QMenu> menu = MenuDeLaCaja(*ventana_);
        QAction* anadir = EntradaDelMenu(*menu, u"Añadir carpeta a la memoria…"_s);
        QVERIFY(anadir && anadir->isEnabled());
        anadir->trigger();
        QCOMPARE(LeerBytes(Ruta(u"Velarto.vrk")),
                 windows + "[Memoria]\r\nCARPETA1=" + extra.toUtf8() + "\r\n");
        ventana_->memoria().Esperar();
        ventana_->activateWindow();
        ventana_->txtTraducido->setFocus();
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_1, Qt::ControlModifier);
        QTRY_COMPARE(LineasCaja(*ventana_), QStringList{u"¿Dónde está la espada de luz?"_s});

        menu = MenuDeLaCaja(*ventana_);
        QAction* quitar = EntradaDelMenu(*menu, u"Quitar carpeta de la memoria"_s);
        QVERIFY(quitar && quitar->menu() && quitar->menu()->actions().size() == 1);
        quitar->menu()->actions().front()->trigger();
        QCOMPARE(LeerBytes(Ruta(u"Velarto.vrk")), windows + "[Memoria]\r\nCARPETA1=\r\n");
        QVERIFY(caja_.textos().isEmpty());
    }
};

VELARTO_PRUEBA(PruebaMemoriaVentana)
#include "tst_memoria_ventana.moc"
