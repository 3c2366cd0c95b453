// The whole folder through the real window: Ctrl+Shift+F and Ctrl+E open their windows beside the editor,
// a chosen search result opens its script as a click in the file list does and selects the match in
// the box, a replacement puts the loaded script's part into the box as one edit, and the status window
// lists the scripts, opens one and follows a save.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "principal.h"
#include "ventana_busqueda.h"
#include "ventana_estado.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

class PruebaCarpetaVentana final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        PruebaConVentana::init();
        EscribirBytes(Ruta(u"a.txt"), ArchivoCrLf({u"Hello."_s, u"Where is the dragon?"_s}));
        EscribirBytes(Ruta(u"Traducidos/a.txt"), ArchivoCrLf({u"Hola."_s, u"¿Dónde está el dragón?"_s}));
        EscribirBytes(Ruta(u"b.txt"), ArchivoCrLf({u"One."_s, u"Two."_s, u"The dragon sleeps."_s}));
        EscribirBytes(Ruta(u"Traducidos/b.txt"),
                      ArchivoCrLf({u"Uno."_s, u"Dos, largo de más."_s, u"El dragón duerme."_s}));
    }

    void buscarYSaltar()
    {
        frmEditor& v = *Abrir();
        QVERIFY(ElegirScript(v, u"a.txt"_s));
        Enfocar();
        QTest::keyClick(v.txtTraducido, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        VentanaBusqueda* buscar = v.findChild<VentanaBusqueda*>();
        QVERIFY(buscar && buscar->isVisible());
        QVERIFY(!buscar->frameGeometry().intersects(
            v.txtTraducido->rect().translated(v.txtTraducido->mapToGlobal(QPoint()))));
        QTest::keyClicks(buscar->txtBuscar(), u"DRAGÓN"_s);
        // The memory indexes the folder on its own thread; the search answers once it has.
        QTRY_COMPARE(buscar->resumen()->text(), u"2 resultados en 2 scripts"_s);
        QTableView* tabla = buscar->tabla();
        tabla->setFocus();
        tabla->setCurrentIndex(tabla->model()->index(1, 0));
        QTest::keyClick(tabla, Qt::Key_Return);
        QTRY_COMPARE(v.File1->nombreArchivo(), u"b.txt"_s);
        QTRY_COMPARE(v.txtTraducido->textCursor().selectedText(), u"dragón"_s);
        QCOMPARE(v.txtTraducido->textCursor().blockNumber(), 2);
    }

    void reemplazarEnLaCajaYEnDisco()
    {
        frmEditor& v = *Abrir();
        QVERIFY(ElegirScript(v, u"a.txt"_s));
        QTRY_VERIFY(v.parCargado().completo);
        Enfocar();
        QTest::keyClick(v.txtTraducido, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        VentanaBusqueda* buscar = v.findChild<VentanaBusqueda*>();
        buscar->txtBuscar()->setText(u"dragón"_s);
        QTRY_COMPARE(buscar->resumen()->text(), u"2 resultados en 2 scripts"_s);
        buscar->txtReemplazar()->setText(u"wyvern"_s);
        caja_.respuestas = {Respuesta::Si};
        buscar->cmdReemplazar()->click();
        QTRY_COMPARE(caja_.textos().size(), 2);
        QCOMPARE(caja_.textos()[0], u"¿Reemplazar 2 apariciones en 2 traducciones?"_s);
        QCOMPARE(caja_.textos()[1], u"Se han reemplazado 2 apariciones en 2 traducciones."_s);
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/b.txt")),
                 ArchivoCrLf({u"Uno."_s, u"Dos, largo de más."_s, u"El wyvern duerme."_s}));
        // The loaded script's part is in the box, unsaved, and one Ctrl+Z takes it out.
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")),
                 ArchivoCrLf({u"Hola."_s, u"¿Dónde está el dragón?"_s}));
        QCOMPARE(v.txtTraducido->lineas(), (QStringList{u"Hola."_s, u"¿Dónde está el wyvern?"_s}));
        Enfocar();
        QTest::keyClick(v.txtTraducido, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(v.txtTraducido->lineas(), (QStringList{u"Hola."_s, u"¿Dónde está el dragón?"_s}));

        QVERIFY(buscar->cmdDeshacer()->isEnabled());
        buscar->cmdDeshacer()->click();
        QTRY_COMPARE(caja_.textos().size(), 3);
        QCOMPARE(caja_.textos()[2], u"Se ha restaurado 1 traducción."_s);
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/b.txt")),
                 ArchivoCrLf({u"Uno."_s, u"Dos, largo de más."_s, u"El dragón duerme."_s}));
    }

    void ventanaDeEstado()
    {
        frmEditor& v = *Abrir();
        QVERIFY(ElegirScript(v, u"a.txt"_s));
        QTRY_VERIFY(v.parCargado().completo);
        Enfocar();
        QTest::keyClick(v.txtTraducido, Qt::Key_E, Qt::ControlModifier);
        VentanaEstado* estado = v.findChild<VentanaEstado*>();
        QVERIFY(estado && estado->isVisible());
        const QAbstractItemModel& modelo = *estado->tabla()->model();
        const auto fila = [&](int f) {
            QStringList celdas;
            for (int c = 0; c < 8; ++c)
                celdas << modelo.index(f, c).data().toString();
            return celdas.join(u'|');
        };
        QTRY_COMPARE(modelo.rowCount(), 3);
        QCOMPARE(fila(0), u"a.txt|2|2|100|1|0|0|"_s);
        QCOMPARE(fila(1), u"b.txt|3|3|100|1|0|0|"_s);
        QCOMPARE(fila(2), u"Total|5|5|100|2|0|0|"_s);

        // A save of a shorter translation without its "?": the row follows, once the queries' thread has
        // checked the saved text. The save moves on to b.txt.
        QTest::keyClick(v.txtTraducido, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(v.txtTraducido, Qt::Key_Backspace);
        QTest::keyClick(v.txtTraducido, Qt::Key_Backspace);
        QTest::keyClick(v.txtTraducido, Qt::Key_Backspace);
        v.cmdGuardar_Click();
        QTRY_COMPARE(fila(0), u"a.txt|2|2|100|0|1|0|"_s);

        estado->tabla()->setFocus();
        QTRY_COMPARE(v.File1->nombreArchivo(), u"b.txt"_s);
        estado->tabla()->setCurrentIndex(modelo.index(0, 0));
        QTest::keyClick(estado->tabla(), Qt::Key_Return);
        QTRY_COMPARE(v.File1->nombreArchivo(), u"a.txt"_s);
    }

private:
    void Enfocar()
    {
        ventana_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
        ventana_->txtTraducido->setFocus();
    }
};

VELARTO_PRUEBA(PruebaCarpetaVentana)
#include "tst_carpeta_ventana.moc"
