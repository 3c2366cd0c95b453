// The script checks through the real window: the violet background and tick of a line with a problem and
// its tooltip, F9 and Shift+F9 from the caret, the rows of "Comprobación de la traducción" as the text
// changes, the code page a save keeps to, the checks chosen in the menu and remembered, and a warning
// ignored, kept across loads, taken back, and back after an edit of its line.
#include <QAction>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "pintura.h"
#include "principal.h"
#include "ventana_comprobaciones.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

class PruebaComprobacionesVentana final : public PruebaConVentana
{
    Q_OBJECT

    QString Ajustes() const { return datos_->filePath(u"ajustes.ini"_s); }

    // Writes the pair and opens the window on it with this test's settings.
    void AbrirPar(const QStringList& original, const std::optional<QStringList>& traduccion)
    {
        EscribirBytes(Ruta(u"guion.txt"), ArchivoCrLf(original));
        if (traduccion)
            EscribirBytes(Ruta(u"Traducidos/guion.txt"), ArchivoCrLf(*traduccion));
        Reabrir();
    }

    void Reabrir()
    {
        ventana_.reset();
        ventana_ = AbrirVentana(Servicios{.mensajes = &caja_,
                                          .carpetaInicial = dir_->path(),
                                          .carpetaDatos = datos_->path(),
                                          .archivos = &*archivos_,
                                          .archivoAjustes = Ajustes()});
        QVERIFY(ventana_);
        QTRY_VERIFY(ventana_->parCargado().completo);
        Enfocar();
    }

    // The box has the keyboard, as when the translator works in it: its shortcuts answer.
    void Enfocar()
    {
        ventana_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
        ventana_->txtTraducido->setFocus();
    }

    // Ctrl+K, and the rows it shows as "line: problem".
    VentanaComprobaciones* Abrir()
    {
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_K, Qt::ControlModifier);
        return ventana_->findChild<VentanaComprobaciones*>();
    }
    QStringList Filas()
    {
        const VentanaComprobaciones* ventana = Abrir();
        if (!ventana)
            return {u"(sin ventana)"_s};
        QStringList filas;
        const ModeloProblemas& modelo = *ventana->modelo();
        for (int fila = 0; fila < modelo.rowCount(); ++fila)
            filas.append(modelo.index(fila, ModeloProblemas::Linea).data().toString() + u": " +
                         modelo.index(fila, ModeloProblemas::Descripcion).data().toString());
        Enfocar();
        return filas;
    }

    // The context menu as it opens over a line; the caller owns it.
    QMenu* Menu(int linea)
    {
        auto* menu = ventana_->txtTraducido->createStandardContextMenu();
        const QRect lugar = LugarLinea(linea);
        Q_EMIT ventana_->txtTraducido->menuContextual(menu, lugar.center());
        return menu;
    }
    static QAction* Entrada(const QMenu& menu, const QString& texto)
    {
        for (QAction* accion : menu.actions())
            if (accion->text() == texto)
                return accion;
        return nullptr;
    }

    QRect LugarLinea(int linea) const
    {
        const CajaTexto& caja = *ventana_->txtTraducido;
        return caja.cursorRect(QTextCursor(caja.document()->findBlockByNumber(linea)));
    }
    // The background at the right end of a line of the box, on a picture of the window.
    QColor ColorLinea(const QImage& imagen, int linea) const
    {
        const QWidget* vista = ventana_->txtTraducido->viewport();
        return imagen.pixel(
            vista->mapTo(ventana_.get(), QPoint(vista->width() - 3, LugarLinea(linea).center().y())));
    }
    void Escribir(int linea, const QString& texto)
    {
        CursorEn(linea, int(ventana_->txtTraducido->document()->findBlockByNumber(linea).length() - 1));
        // Qt Test types Latin-1 only; the rest goes as the text of a key a keyboard layout would send.
        for (const QChar caracter : texto)
            if (caracter.unicode() < 256)
                QTest::keyClick(ventana_->txtTraducido, caracter.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, ventana_->txtTraducido, Qt::Key_unknown, QString(caracter),
                                    Qt::NoModifier);
    }

private Q_SLOTS:
    void cleanup()
    {
        QToolTip::hideText();
        QCOMPARE(caja_.textos(), QStringList());
        PruebaConVentana::cleanup();
    }

    // Violet behind a line with a problem, red still behind one too long; a violet tick in the bar's lane
    // right of the marks'; the tooltip lists the line's problems and leaves other lines to the box.
    void tintes()
    {
        AbrirPar({"Hola %s, tienes 3", "abc", "Largo %d"},
                 QStringList{"Hola, tienes 4", "abc", "Larguísimo"});
        frmEditor& v = *ventana_;
        const QImage imagen = v.grab().toImage();
        const QColor base = v.txtTraducido->palette().color(QPalette::Base);
        QCOMPARE(ColorLinea(imagen, 0), ColorFondoAviso(base));
        QCOMPARE(ColorLinea(imagen, 1), base);
        QCOMPARE(ColorLinea(imagen, 2), ColorFondo(Marca::Larga, base));

        const MarcasBarra* barra = v.txtTraducido->verticalScrollBar()->findChild<MarcasBarra*>();
        QVERIFY(barra);
        bool violeta = false;
        for (int x = barra->width() / 2; x < barra->width(); ++x)
            violeta |= QColor(imagen.pixel(barra->mapTo(&v, QPoint(x, 1)))) == ColorTrazoAviso();
        QVERIFY(violeta);

        QWidget* vista = v.txtTraducido->viewport();
        const auto ayuda = [&](int linea) {
            QHelpEvent evento(QEvent::ToolTip, LugarLinea(linea).center(),
                              vista->mapToGlobal(LugarLinea(linea).center()));
            QCoreApplication::sendEvent(vista, &evento);
        };
        ayuda(0);
        QTRY_COMPARE(QToolTip::text(), u"Falta «%s»\nFalta el número 3\nSobra el número 4"_s);
        // Elsewhere the box's own tooltip, which the length monitor keeps.
        for (int tick = 0; tick < 3; ++tick)
            v.timer_Timer();
        QVERIFY(!v.txtTraducido->toolTip().isEmpty());
        ayuda(1);
        QTRY_COMPARE(QToolTip::text(), v.txtTraducido->toolTip());
    }

    void siguiente_data()
    {
        QTest::addColumn<int>("linea");
        QTest::addColumn<int>("columna"); // -1: the line's end
        QTest::addColumn<bool>("adelante");
        QTest::addColumn<int>("esperada");
        // Problems on lines 1 and 3.
        QTest::newRow("F9 desde el principio") << 0 << 0 << true << 1;
        QTest::newRow("F9 antes del final de una línea con problemas") << 1 << 0 << true << 1;
        QTest::newRow("F9 al final de una línea con problemas") << 1 << -1 << true << 3;
        QTest::newRow("F9 da la vuelta") << 4 << 0 << true << 1;
        QTest::newRow("Mayús+F9 desde una línea con problemas") << 3 << 2 << false << 1;
        QTest::newRow("Mayús+F9 da la vuelta") << 0 << 0 << false << 3;
    }

    // F9 and Shift+F9 put the caret at the end of the next or previous line with a problem.
    void siguiente()
    {
        QFETCH(int, linea);
        QFETCH(int, columna);
        QFETCH(bool, adelante);
        const QStringList original{"Uno", "Dos %s", "Tres", "Cuatro 4", "Cinco"};
        AbrirPar(original, QStringList{"Un", "Dos", "Tre", "Cuatro", "Cin"});
        CursorEn(linea,
                 columna < 0 ? int(QStringList{"Un", "Dos", "Tre", "Cuatro", "Cin"}[linea].size()) : columna);
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_F9, adelante ? Qt::NoModifier : Qt::ShiftModifier);
        const QTextCursor cursor = ventana_->txtTraducido->textCursor();
        QTEST(cursor.blockNumber(), "esperada");
        QVERIFY(cursor.atBlockEnd());
    }

    void filas_data()
    {
        QTest::addColumn<QByteArray>("marcador");   // Velarto.vrk
        QTest::addColumn<QByteArray>("traduccion"); // empty: none yet
        QTest::addColumn<QString>("escrito");       // typed at the end of line 0
        QTest::addColumn<QStringList>("filas");
        const QByteArray utf8 = "Hola\r\nHasta luego\r\n";
        const QStringList ninguna;
        QTest::newRow("código que falta")
            << QByteArray() << utf8 << QString() << QStringList{"1: Falta «%s»"};
        QTest::newRow("códigos propios de la carpeta")
            << QByteArray("[Comprobaciones]\r\nCodigos=\"@[A-Z]+\"\r\n") << utf8 << u"%s"_s
            << QStringList{"1: Falta «@NOMBRE»"};
        QTest::newRow("codificación elegida en la carpeta")
            << QByteArray("[Codificacion]\r\nTRADUCCION=windows-1252\r\n") << utf8 << u"%sā"_s
            << QStringList{"1: «ā» no cabe en Europa occidental (Windows-1252)"};
        QTest::newRow("traducción en Windows-1252")
            << QByteArray() << QByteArray("Hola\r\n\xa1Hasta luego, se\xf1or!\r\n") << u"%sā"_s
            << QStringList{"1: «ā» no cabe en Europa occidental (Windows-1252)"};
        QTest::newRow("traducción nueva, que se guarda donde quepa")
            << QByteArray() << QByteArray() << u"Hola %sā"_s << ninguna;
    }

    // The window's rows after a load and an edit, with the folder's codes and the code page a save keeps.
    void filas()
    {
        QFETCH(QByteArray, marcador);
        QFETCH(QByteArray, traduccion);
        QFETCH(QString, escrito);
        if (!marcador.isEmpty())
            EscribirBytes(Ruta(u"Velarto.vrk"), marcador);
        if (!traduccion.isEmpty())
            EscribirBytes(Ruta(u"Traducidos/guion.txt"), traduccion);
        AbrirPar({"Hola %s @NOMBRE", "Adiós, amigo mío"}, std::nullopt);
        if (traduccion.isEmpty())
            QTest::keyClicks(ventana_->txtTraducido, u"\rHasta luego"_s);
        Escribir(0, escrito);
        QTEST(Filas(), "filas");
    }

    // The window follows the text; Enter on a row puts the caret at the end of that line.
    void ventanaSigueElTexto()
    {
        AbrirPar({"Uno %d", "Dos", "Tres %s"}, QStringList{"Un", "Dos", "Tres %s"});
        QCOMPARE(Filas(), QStringList{"1: Falta «%d»"});
        VentanaComprobaciones* ventana = Abrir();
        QCOMPARE(ventana->resumen()->text(), u"1 problema en 1 línea"_s);
        Enfocar();
        Escribir(1, u" 7"_s);
        Escribir(2, u"?"_s);
        QCOMPARE(ventana->resumen()->text(), u"3 problemas en 3 líneas"_s);
        QCOMPARE(ventana->modelo()->rowCount(), 3);
        ventana->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ventana));
        ventana->tabla()->setCurrentIndex(ventana->modelo()->index(1, 0));
        QTest::keyClick(ventana->tabla(), Qt::Key_Return);
        const QTextCursor cursor = ventana_->txtTraducido->textCursor();
        QCOMPARE(cursor.blockNumber(), 1);
        QVERIFY(cursor.atBlockEnd());
    }

    // A check turned off in the menu stays off in the next run.
    void elegirComprobacion()
    {
        AbrirPar({"Hay 3 %s"}, QStringList{"Hay 4"});
        QCOMPARE(Filas(), (QStringList{"1: Falta «%s»", "1: Falta el número 3", "1: Sobra el número 4"}));
        {
            std::unique_ptr<QMenu> menu(Menu(0));
            QMenu* elegibles = Entrada(*menu, u"Comprobaciones"_s)->menu();
            QAction* numeros = Entrada(*elegibles, u"Números"_s);
            QVERIFY(numeros->isChecked());
            numeros->trigger();
        }
        QCOMPARE(Filas(), QStringList{"1: Falta «%s»"});
        Reabrir();
        QCOMPARE(Filas(), QStringList{"1: Falta «%s»"});
    }

    // An ignored warning goes, stays gone in the next load, shows again on request, and comes back when
    // its line changes.
    void ignorar()
    {
        AbrirPar({"Hola %s", "Dos %d"}, QStringList{"Hola", "Dos"});
        {
            std::unique_ptr<QMenu> menu(Menu(0));
            QAction* ignorar = Entrada(*menu, u"Ignorar este aviso en esta línea"_s);
            QVERIFY(ignorar && ignorar->menu());
            Entrada(*ignorar->menu(), u"Falta «%s»"_s)->trigger();
        }
        QCOMPARE(Filas(), QStringList{"2: Falta «%d»"});
        QCOMPARE(ColorLinea(ventana_->grab().toImage(), 0),
                 ventana_->txtTraducido->palette().color(QPalette::Base));
        QCOMPARE(QDir(datos_->filePath(u"ignorados"_s)).entryList(QDir::Files).size(), 1);

        Reabrir();
        QCOMPARE(Filas(), QStringList{"2: Falta «%d»"});
        {
            std::unique_ptr<QMenu> menu(Menu(0));
            QVERIFY(!Entrada(*menu, u"Ignorar este aviso en esta línea"_s));
            Entrada(*menu, u"Mostrar avisos ignorados"_s)->trigger();
        }
        QCOMPARE(Filas(), (QStringList{"1: Falta «%s» (ignorado)", "2: Falta «%d»"}));
        {
            std::unique_ptr<QMenu> menu(Menu(0));
            QAction* ignorado =
                Entrada(*Entrada(*menu, u"Ignorar este aviso en esta línea"_s)->menu(), u"Falta «%s»"_s);
            QVERIFY(ignorado->isChecked());
            ignorado->trigger();
        }
        QCOMPARE(Filas(), (QStringList{"1: Falta «%s»", "2: Falta «%d»"}));
        {
            std::unique_ptr<QMenu> menu(Menu(0));
            Entrada(*Entrada(*menu, u"Ignorar este aviso en esta línea"_s)->menu(), u"Falta «%s»"_s)
                ->trigger();
            Entrada(*menu, u"Mostrar avisos ignorados"_s)->trigger();
        }
        QCOMPARE(Filas(), QStringList{"2: Falta «%d»"});
        Escribir(0, u"a"_s);
        QCOMPARE(Filas(), (QStringList{"1: Falta «%s»", "2: Falta «%d»"}));
    }
};

VELARTO_PRUEBA(PruebaComprobacionesVentana)
#include "tst_comprobaciones_ventana.moc"
