// Lines over their original's limit through the real window: which lines are marked after a load, typing
// and undo, F8 and Shift+F8, the overview window, a superseded load, and the colours on screen.
#include <memory>

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "marcas.h"
#include "pintura.h"
#include "principal.h"
#include "resumen.h"
#include "ventana_prueba.h"

namespace {

// One character per line: "L" too long, "S" extra, "." unmarked.
QString Marcas(const frmEditor& v)
{
    QString texto;
    for (int linea = 0; linea < v.txtTraducido->document()->blockCount(); ++linea) {
        const Marca marca = v.marcas().marca(linea);
        texto += marca == Marca::Larga ? u'L' : marca == Marca::Sobrante ? u'S' : u'.';
    }
    return texto;
}

// The original list's rows painted red, as the same string.
QString FilasRojas(const frmEditor& v)
{
    QString texto;
    for (int fila = 0; fila < v.lstOriginal->count(); ++fila)
        texto += v.lstOriginal->fondoFilas()(fila).isValid() ? u'L' : u'.';
    return texto;
}

} // namespace

class PruebaLineasLargas final : public PruebaConVentana
{
    Q_OBJECT

    // The box has the keyboard, as when the translator works in it: its shortcuts answer.
    void Enfocar()
    {
        ventana_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
        ventana_->txtTraducido->setFocus();
    }

    VentanaResumen* Resumen() const { return ventana_->findChild<VentanaResumen*>(); }

private Q_SLOTS:
    void cleanup()
    {
        QCOMPARE(caja_.textos(), QStringList());
        PruebaConVentana::cleanup();
    }

    void marcadas_data()
    {
        QTest::addColumn<QStringList>("original");
        QTest::addColumn<QStringList>("traduccion");
        QTest::addColumn<int>("linea");
        QTest::addColumn<QString>("teclas"); // typed at the end of `linea`; "^Z" is Ctrl+Z, "\n" Enter
        QTest::addColumn<QString>("marcas");
        QTest::addColumn<QString>("ayuda");
        using L = QStringList;
        const L tres{"abc", "abc", "abc"};
        QTest::newRow("más larga, igual, más corta") << tres << L{"abcd", "abc", "ab"} << 0 << ""
                                                     << "L.."
                                                     << "1 línea supera su original";
        QTest::newRow("más líneas que el original") << L{"a"} << L{"a", "b", "c"} << 0 << ""
                                                    << ".SS"
                                                    << "2 líneas sobran";
        QTest::newRow("dentro de los límites") << tres << L{"abc", "a", ""} << 0 << ""
                                               << "..."
                                               << "Ninguna línea supera su original";
        QTest::newRow("tecleo que alarga") << tres << L{"abc", "ab"} << 1 << "xy"
                                           << ".L"
                                           << "1 línea supera su original";
        QTest::newRow("tecleo que iguala") << tres << L{"abc", "ab"} << 1 << "x"
                                           << ".."
                                           << "Ninguna línea supera su original";
        QTest::newRow("deshacer quita la marca") << tres << L{"abc", "ab"} << 1 << "xy^Z"
                                                 << ".."
                                                 << "Ninguna línea supera su original";
        QTest::newRow("Enter: las líneas siguientes se comparan de nuevo")
            << L{"abcd", "ab"} << L{"abcdef", "ab"} << 0 << "\n"
            << ".LS"
            << "1 línea supera su original; 1 línea sobra";
        QTest::newRow("deshacer el Enter") << L{"abcd", "ab"} << L{"abcdef", "ab"} << 0 << "\n^Z"
                                           << "L."
                                           << "1 línea supera su original";
    }

    // The marks in the box, the red rows of the list and the caption's tooltip after a load and an edit.
    void marcadas()
    {
        QFETCH(QStringList, original);
        QFETCH(QStringList, traduccion);
        QFETCH(int, linea);
        QFETCH(QString, teclas);
        AbrirGuion(original, traduccion);
        frmEditor& v = *ventana_;
        CursorEn(linea, int(traduccion[linea].size()));
        if (linea == 0 && teclas.startsWith(u'\n'))
            CursorEn(0, 2);
        for (const QString& trozo : teclas.split(QStringLiteral("^Z"))) {
            if (trozo.isEmpty())
                continue;
            QTest::keyClicks(v.txtTraducido, QString(trozo).replace(u'\n', u'\r'));
        }
        for (int i = teclas.count(QStringLiteral("^Z")); i > 0; --i)
            QTest::keyClick(v.txtTraducido, Qt::Key_Z, Qt::ControlModifier);
        QTEST(Marcas(v), "marcas");
        QFETCH(QString, marcas);
        QCOMPARE(FilasRojas(v), marcas.replace(u'S', QString()).leftJustified(original.size(), u'.', true));
        QTEST(v.lblLargoLinea->toolTip(), "ayuda");
    }

    // Marking is no edit: no undo step, no modified document, and the monitor's timer still rests.
    void noEsEdicion()
    {
        AbrirGuion({"ab", "ab"}, QStringList{"abcd", "ab", "extra"});
        frmEditor& v = *ventana_;
        QTextDocument& documento = *v.txtTraducido->document();
        QCOMPARE(Marcas(v), QStringLiteral("L.S"));
        for (int i = 0; i < 3; ++i)
            v.timer_Timer();
        QVERIFY(!v.timer->isActive());
        Enfocar();
        QTest::keyClick(v.txtTraducido, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(Resumen() && Resumen()->isVisible());
        (void)v.grab();
        QCOMPARE(documento.availableUndoSteps(), 0);
        QVERIFY(!documento.isModified());

        // A keystroke that marks a line wakes the monitor as any keystroke does, and no more.
        CursorEn(1, 2);
        QTest::keyClicks(v.txtTraducido, QStringLiteral("z"));
        QCOMPARE(Marcas(v), QStringLiteral("LLS"));
        QCOMPARE(documento.availableUndoSteps(), 1);
        for (int i = 0; i < 3; ++i)
            v.timer_Timer();
        QVERIFY(!v.timer->isActive());
        QCoreApplication::processEvents();
        QVERIFY(!v.timer->isActive());
        QCOMPARE(v.lblLargoLinea->toolTip(), QStringLiteral("2 líneas superan su original; 1 línea sobra"));
    }

    void irAMarca_data()
    {
        QTest::addColumn<int>("desde");
        QTest::addColumn<int>("columna"); // -1: the line's end
        QTest::addColumn<bool>("atras");
        QTest::addColumn<int>("esperada");
        // Lines 1 and 3 too long, 5 extra.
        QTest::newRow("F8 a la siguiente") << 0 << 0 << false << 1;
        QTest::newRow("F8 desde el principio de una marcada") << 1 << 0 << false << 1;
        QTest::newRow("F8 desde el final de una marcada") << 1 << -1 << false << 3;
        QTest::newRow("F8 de larga a sobrante") << 3 << -1 << false << 5;
        QTest::newRow("F8 vuelve al principio") << 5 << -1 << false << 1;
        QTest::newRow("Mayús+F8 a la anterior") << 4 << 0 << true << 3;
        QTest::newRow("Mayús+F8 desde dentro de una marcada") << 3 << 1 << true << 1;
        QTest::newRow("Mayús+F8 vuelve al final") << 1 << 0 << true << 5;
    }

    // The caret goes to the end of the marked line, and the list follows on the next tick.
    void irAMarca()
    {
        QFETCH(int, desde);
        QFETCH(int, columna);
        QFETCH(bool, atras);
        QFETCH(int, esperada);
        AbrirGuion({"a", "a", "a", "a", "a"}, QStringList{"a", "abc", "a", "abc", "a", "extra"});
        frmEditor& v = *ventana_;
        Enfocar();
        CursorEn(desde,
                 columna < 0 ? v.txtTraducido->document()->findBlockByNumber(desde).length() - 1 : columna);
        v.timer_Timer();
        QTest::keyClick(v.txtTraducido, Qt::Key_F8, atras ? Qt::ShiftModifier : Qt::NoModifier);
        const QTextCursor cursor = v.txtTraducido->textCursor();
        QCOMPARE(cursor.blockNumber(), esperada);
        QVERIFY(cursor.atBlockEnd());
        QVERIFY(!cursor.hasSelection());
        v.timer_Timer();
        QCOMPARE(v.lstOriginal->indice(), esperada < v.lstOriginal->count() ? esperada : desde);
    }

    // After Ctrl+Home a marked first line is the first F8 visits.
    void f8DesdeElPrincipio()
    {
        AbrirGuion({"a", "a", "a"}, QStringList{"abc", "a", "abc"});
        frmEditor& v = *ventana_;
        Enfocar();
        CursorEn(2);
        QTest::keyClick(v.txtTraducido, Qt::Key_Home, Qt::ControlModifier);
        QList<int> visitadas;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(v.txtTraducido, Qt::Key_F8);
            visitadas.append(v.txtTraducido->textCursor().blockNumber());
        }
        QCOMPARE(visitadas, (QList<int>{0, 2, 0}));
    }

    // The context menu holds the three entries together after a separator, each showing its key.
    void menu()
    {
        AbrirGuion({"a"}, QStringList{"a"});
        QMenu menu;
        menu.addAction(QStringLiteral("Copiar"));
        Q_EMIT ventana_->txtTraducido->menuContextual(&menu, QPoint());
        const QList<QAction*> acciones = menu.actions();
        qsizetype primera = 0;
        while (primera < acciones.size() && !acciones[primera]->text().startsWith(u"Ir a la siguiente"))
            ++primera;
        QVERIFY(primera > 0 && primera + 3 <= acciones.size());
        QVERIFY(acciones[primera - 1]->isSeparator());
        QStringList textos;
        for (const QAction* accion : acciones.mid(primera, 3))
            textos << accion->text() + u' ' + accion->shortcut().toString();
        QCOMPARE(textos, (QStringList{"Ir a la siguiente línea demasiado larga F8",
                                      "Ir a la anterior línea demasiado larga Shift+F8",
                                      "Líneas que superan el original… Ctrl+L"}));
    }

    // Ctrl+L opens the overview on the marked lines; its rows follow typing; Enter and a double-click jump;
    // Escape closes it.
    void resumen()
    {
        AbrirGuion({"hola", "abc", "mundo"}, QStringList{"hola!!", "ab", "mundo", "extra"});
        frmEditor& v = *ventana_;
        Enfocar();
        CursorEn(1);
        QTest::keyClick(v.txtTraducido, Qt::Key_L, Qt::ControlModifier);
        VentanaResumen* ventana = Resumen();
        QVERIFY(ventana && ventana->isVisible());
        QVERIFY(!ventana->isModal());
        QCOMPARE(ventana->windowTitle(), QStringLiteral("Líneas que superan el original"));
        // Never over the text being typed: beside the editor, or here, where the screen is too narrow for
        // that, over the folder frame.
        for (const QWidget* texto :
             {static_cast<QWidget*>(v.txtTraducido), static_cast<QWidget*>(v.lstOriginal)})
            QVERIFY(!ventana->frameGeometry().intersects(QRect(texto->mapToGlobal(QPoint()), texto->size())));
        QCOMPARE(ventana->resumen()->text(), QStringLiteral("1 línea supera su original y 1 línea sobra"));
        const QAbstractItemModel& modelo = *ventana->tabla()->model();
        const auto fila = [&](int f) {
            QStringList celdas;
            for (int c = 0; c < modelo.columnCount(); ++c)
                celdas << modelo.index(f, c).data().toString();
            return celdas.join(u'|');
        };
        QCOMPARE(modelo.rowCount(), 2);
        QCOMPARE(fila(0), QStringLiteral("1|6|4|2|hola!!|hola"));
        QCOMPARE(fila(1), QStringLiteral("4|5||5|extra|"));
        // Opened from line 2, the first row at or after it is the current one.
        QCOMPARE(ventana->tabla()->currentIndex().row(), 1);

        CursorEn(1, 2);
        QTest::keyClicks(v.txtTraducido, QStringLiteral("cd"));
        QCOMPARE(modelo.rowCount(), 3);
        QCOMPARE(fila(1), QStringLiteral("2|4|3|1|abcd|abc"));
        QCOMPARE(ventana->resumen()->text(), QStringLiteral("2 líneas superan su original y 1 línea sobra"));

        ventana->tabla()->setFocus();
        ventana->tabla()->setCurrentIndex(modelo.index(0, 3));
        QTest::keyClick(ventana->tabla(), Qt::Key_Return);
        QCOMPARE(v.txtTraducido->textCursor().position(), InicioBloque(v, 0) + 6);
        QTRY_COMPARE(QApplication::focusWidget(), v.txtTraducido);

        QTableView* tabla = ventana->tabla();
        const QRect celda = tabla->visualRect(modelo.index(2, 0));
        // A double-click as the system delivers it: press, release, double-click, release.
        QTest::mouseClick(tabla->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(tabla->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseRelease(tabla->viewport(), Qt::LeftButton, {}, celda.center());
        QCOMPARE(v.txtTraducido->textCursor().position(), InicioBloque(v, 3) + 5);

        QTest::keyClick(tabla, Qt::Key_Escape);
        QVERIFY(!ventana->isVisible());

        // Opened again after an edit made while it was closed, it shows the marks as they are now.
        CursorEn(0);
        QTest::keyClick(v.txtTraducido, Qt::Key_Delete);
        QTest::keyClick(v.txtTraducido, Qt::Key_Delete);
        Enfocar();
        QTest::keyClick(v.txtTraducido, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(ventana->isVisible());
        QCOMPARE(modelo.rowCount(), 2);
        QCOMPARE(fila(0), QStringLiteral("2|4|3|1|abcd|abc"));
    }

    // While a long load yields, the marks follow the part of the original listed so far; a load that
    // supersedes it leaves only its own pair's marks.
    void cargaSustituida()
    {
        // An original long enough that listing it takes more than one stretch of the load's work, however
        // fast the list takes its rows; the window opens on a short script listed before it.
        EscribirBytes(dir_->filePath(QStringLiteral("0.txt")), "0\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), ScriptDePrueba(1000000, 40, "Original A"));
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/a.txt")),
                      ScriptDePrueba(300000, 50, "Traduccion A"));
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), "B1\r\nB2\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("Traducidos/b.txt")), "Tbbb\r\nT\r\nT3\r\n");
        Abrir();
        frmEditor& v = *ventana_;
        bool visto = false;
        const QMetaObject::Connection conexion =
            connect(v.lstOriginal->model(), &QAbstractItemModel::rowsInserted, &v, [&] {
                if (visto)
                    return;
                visto = true;
                // Runs when the load next yields, with part of the original listed.
                QTimer::singleShot(0, &v, [&] {
                    const int listadas = v.lstOriginal->count();
                    QVERIFY(listadas > 0 && listadas < 1000000);
                    QCOMPARE(v.marcas().lineasOriginal(), listadas);
                    QCOMPARE(v.marcas().largas(), std::min(listadas, 300000));
                    QCOMPARE(v.marcas().sobrantes(), std::max(0, 300000 - listadas));
                    if (listadas < 300000)
                        QCOMPARE(v.marcas().marca(listadas), Marca::Sobrante);
                    ElegirScript(v, QStringLiteral("b.txt"));
                });
            });
        QVERIFY(ElegirScript(v, QStringLiteral("a.txt")));
        disconnect(conexion);
        QVERIFY(visto);
        QCOMPARE(ItemsOriginal(v), (QStringList{"B1", "B2"}));
        QCOMPARE(Marcas(v), QStringLiteral("L.S"));
        QCOMPARE(FilasRojas(v), QStringLiteral("L."));
        QCOMPARE(v.lblLargoLinea->toolTip(), QStringLiteral("1 línea supera su original; 1 línea sobra"));
    }

    // On screen: red behind the too long line across the box, orange behind the extra one, red on the
    // list's row and a red tick on the scroll bar; the selection still shows over a marked line.
    void colores()
    {
        AbrirGuion({"abc", "abc", "abc"}, QStringList{"abcdef", "abc", "abc", "x"});
        frmEditor& v = *ventana_;
        CursorEn(1);
        v.timer_Timer();
        const QColor texto = v.txtTraducido->palette().color(QPalette::Text);
        const QColor base = v.txtTraducido->palette().color(QPalette::Base);
        QVERIFY(Contraste(ColorFondo(Marca::Larga, base), texto) >= 4.5);
        QVERIFY(Contraste(ColorFondo(Marca::Sobrante, base), texto) >= 4.5);
        // On a dark background the marks darken too, and light text stays readable.
        QVERIFY(Contraste(ColorFondo(Marca::Larga, QColor(30, 30, 30)), Qt::white) >= 4.5);

        const QImage imagen = v.grab().toImage();
        QWidget* vista = v.txtTraducido->viewport();
        const auto enLinea = [&](int linea, int x) {
            const QRect r =
                v.txtTraducido->cursorRect(QTextCursor(v.txtTraducido->document()->findBlockByNumber(linea)));
            return QColor(imagen.pixel(vista->mapTo(&v, QPoint(x, r.center().y()))));
        };
        const int derecha = vista->width() - 3;
        QCOMPARE(enLinea(0, derecha), QColor(255, 204, 204));
        QCOMPARE(enLinea(1, derecha), v.txtTraducido->palette().color(QPalette::Base));
        QCOMPARE(enLinea(3, derecha), QColor(255, 224, 179));
        const QRect fila = v.lstOriginal->visualRect(v.lstOriginal->model()->index(0, 0));
        QCOMPARE(QColor(imagen.pixel(v.lstOriginal->viewport()->mapTo(
                     &v, QPoint(v.lstOriginal->viewport()->width() - 3, fila.center().y())))),
                 QColor(255, 204, 204));
        QScrollBar* barra = v.txtTraducido->verticalScrollBar();
        const MarcasBarra* trazos = barra->findChild<MarcasBarra*>();
        QVERIFY(trazos);
        // The marks' lane is the left one, beside the checks'.
        QCOMPARE(QColor(imagen.pixel(trazos->mapTo(&v, QPoint(trazos->width() / 4, 1)))),
                 ColorTrazo(Marca::Larga));

        QTextCursor seleccion(v.txtTraducido->document()->findBlockByNumber(0));
        seleccion.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        v.txtTraducido->setTextCursor(seleccion);
        const QImage seleccionada = v.grab().toImage();
        const QRect fin = v.txtTraducido->cursorRect();
        QCOMPARE(QColor(seleccionada.pixel(vista->mapTo(&v, QPoint(fin.left() - 2, fin.center().y() + 1)))),
                 v.txtTraducido->palette().color(QPalette::Highlight));
    }

private:
    static int InicioBloque(const frmEditor& v, int linea)
    {
        return v.txtTraducido->document()->findBlockByNumber(linea).position();
    }
};

VELARTO_PRUEBA(PruebaLineasLargas)
#include "tst_lineas_largas.moc"
