// The live length monitor through the real window: selection, counters, warnings and tooltips after
// one tick, and a timer that rests while idle but never misses a change.
#include <memory>
#include <optional>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "principal.h"
#include "ventana_prueba.h"

namespace {

const QString avisoLineas =
    QStringLiteral("Líneas en archivo traducido superan las líneas del archivo original.");
const QString avisoLinea = QStringLiteral(
    "Largo de línea del archivo traducido es mayor que el largo de la línea del archivo original");
const QString avisoTotal =
    QStringLiteral("Largo total del archivo traducido es mayor que el largo total del archivo original");

// Lets the event loop wait for events, as it does between the user's actions.
void Esperar(int milisegundos)
{
    QEventLoop bucle;
    QTimer::singleShot(milisegundos, &bucle, &QEventLoop::quit);
    bucle.exec();
}

} // namespace

class PruebaMonitor final : public PruebaConVentana
{
    Q_OBJECT

    void Escribir(const QString& nombre, const QStringList& original,
                  const std::optional<QStringList>& traduccion)
    {
        EscribirBytes(dir_->filePath(nombre), ArchivoCrLf(original));
        if (traduccion)
            EscribirBytes(dir_->filePath(u"Traducidos/" + nombre), ArchivoCrLf(*traduccion));
    }

    void Ticks(int cuantos)
    {
        for (int i = 0; i < cuantos; ++i)
            ventana_->timer_Timer();
    }

    QString Contadores() const
    {
        const frmEditor& v = *ventana_;
        return QStringList{v.lblLl->text(), v.lblLlo->text(), v.lblLtl->text(), v.lblLtlo->text(),
                           v.lblDisp->text()}
            .join(u' ');
    }

private Q_SLOTS:
    void cleanup()
    {
        // The monitor never reports anything in a box.
        QCOMPARE(caja_.textos(), QStringList());
        PruebaConVentana::cleanup();
    }

    void avisos_data()
    {
        QTest::addColumn<QStringList>("original");
        QTest::addColumn<std::optional<QStringList>>("traduccion");
        QTest::addColumn<int>("linea");
        QTest::addColumn<QString>("contadores"); // lblLl lblLlo lblLtl lblLtlo lblDisp
        QTest::addColumn<QString>("aviso");

        using Lineas = QStringList;
        using Traduccion = std::optional<QStringList>;
        QTest::newRow("dentro de los límites")
            << Lineas{"abcd", "efg"} << Traduccion(Lineas{"ab", "efg"}) << 1 << "3 3 5 7 2" << QString();
        QTest::newRow("totales iguales no avisan")
            << Lineas{"abc", "de"} << Traduccion(Lineas{"xyz", "uv"}) << 0 << "3 3 5 5 0" << QString();
        QTest::newRow("más líneas gana a los demás")
            << Lineas{"ab", "c"} << Traduccion(Lineas{"abcdef", "c", "d"}) << 0 << "6 2 8 3 -5"
            << avisoLineas;
        QTest::newRow("línea larga gana al total")
            << Lineas{"ab", "cd"} << Traduccion(Lineas{"abcdef", "cd"}) << 0 << "6 2 8 4 -4" << avisoLinea;
        QTest::newRow("línea larga lejos del cursor")
            << Lineas{"abcdef", "ab"} << Traduccion(Lineas{"a", "abc"}) << 0 << "1 6 4 8 4" << QString();
        QTest::newRow("total mayor") << Lineas{"abc", "abc"} << Traduccion(Lineas{"abc", "abcd"}) << 0
                                     << "3 3 7 6 -1" << avisoTotal;
        QTest::newRow("sin traducción: una línea vacía")
            << Lineas{"ab"} << Traduccion() << 0 << "0 2 0 2 2" << QString();
        // The original's total is 0, so the available count is never written.
        QTest::newRow("original de líneas vacías")
            << Lineas{"", ""} << Traduccion(Lineas{"a"}) << 0 << "1 0 1 0 " << avisoLinea;
        QTest::newRow("LF suelto cuenta uno")
            << Lineas{"abc"} << Traduccion(Lineas{"a\nb"}) << 0 << "3 3 3 3 0" << QString();
        const QString larga(70000, u'x');
        QTest::newRow("línea de 70000 caracteres") << Lineas{larga, "y"} << Traduccion(Lineas{larga, "yz"})
                                                   << 0 << "70000 70000 70002 70001 -1" << avisoTotal;
    }
    void avisos()
    {
        QFETCH(QStringList, original);
        QFETCH(std::optional<QStringList>, traduccion);
        QFETCH(int, linea);
        QFETCH(QString, aviso);
        AbrirGuion(original, traduccion);
        CursorEn(linea);
        Ticks(1);
        QTEST(Contadores(), "contadores");
        QCOMPARE(ventana_->msg->text(), aviso);
        QCOMPARE(ventana_->p->isVisible(), !aviso.isEmpty());
        QCOMPARE(ventana_->lstOriginal->indice(), linea);
    }

    // The selection follows the caret's line, whichever way a selection was made; a click elsewhere
    // in the list is undone; a caret past the original's end leaves the selection where it was.
    void seleccionSigueAlCursor()
    {
        AbrirGuion({"uno", "dos", "tres", "cuatro"}, QStringList{"one", "two", "three", "four", "five"});
        frmEditor& v = *ventana_;
        CursorEn(2, 1);
        Ticks(1);
        QCOMPARE(v.lstOriginal->indice(), 2);
        QCOMPARE(v.lblLlo->text(), QStringLiteral("4"));
        QCOMPARE(v.lstOriginal->toolTip(), QStringLiteral("tres"));

        QTextCursor seleccion(v.txtTraducido->document()->findBlockByNumber(3));
        seleccion.setPosition(v.txtTraducido->document()->findBlockByNumber(1).position() + 2,
                              QTextCursor::KeepAnchor);
        v.txtTraducido->setTextCursor(seleccion);
        Ticks(1);
        QCOMPARE(v.lstOriginal->indice(), 1);
        QCOMPARE(v.lblLl->text(), QStringLiteral("3"));

        v.lstOriginal->setCurrentIndex(v.lstOriginal->model()->index(3, 0));
        Ticks(1);
        QCOMPARE(v.lstOriginal->indice(), 1);
        QCOMPARE(v.lstOriginal->toolTip(), QStringLiteral("dos"));

        CursorEn(4);
        Ticks(1);
        QCOMPARE(v.lstOriginal->indice(), 1);
        QCOMPARE(v.lblLlo->text(), QStringLiteral("3"));
        QCOMPARE(v.msg->text(), avisoLineas);
        QVERIFY(v.p->isVisible());
    }

    // The translation's tooltip shows the line matching the selection the previous tick left.
    void ayudaDeLaTraduccion()
    {
        AbrirGuion({"uno", "dos", "tres"}, QStringList{"one", "two", "three"});
        frmEditor& v = *ventana_;
        CursorEn(0);
        Ticks(3);
        QCOMPARE(v.txtTraducido->toolTip(), QStringLiteral("one"));
        CursorEn(2);
        Ticks(1);
        QCOMPARE(v.txtTraducido->toolTip(), QStringLiteral("one"));
        Ticks(1);
        QCOMPARE(v.txtTraducido->toolTip(), QStringLiteral("three"));
        QTextCursor cursor = v.txtTraducido->textCursor();
        cursor.insertText(QStringLiteral("!"));
        Ticks(1);
        QCOMPARE(v.txtTraducido->toolTip(), QStringLiteral("!three"));
    }

    // With the original's list empty a tick changes nothing: counters and warning keep their values.
    void listaVaciaDejaLoAnterior()
    {
        Escribir(QStringLiteral("a.txt"), {"abc"}, QStringList{"abcdef"});
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), QByteArray());
        Abrir();
        frmEditor& v = *ventana_;
        QVERIFY(ElegirScript(v, QStringLiteral("a.txt")));
        CursorEn(0, 6);
        Ticks(1);
        QCOMPARE(Contadores(), QStringLiteral("6 3 6 3 -3"));
        QCOMPARE(v.msg->text(), avisoLinea);

        QVERIFY(ElegirScript(v, QStringLiteral("b.txt")));
        QCOMPARE(v.lstOriginal->count(), 0);
        v.txtTraducido->setPlainText(QStringLiteral("x\r\ny"));
        Ticks(3);
        QCOMPARE(Contadores(), QStringLiteral("6 3 6 0 -3"));
        QCOMPARE(v.msg->text(), avisoLinea);
        QVERIFY(v.p->isVisible());
    }

    // Idle, the timer rests; a keystroke wakes it and the real timer brings the counters up to date.
    void tecleoEnUnTick()
    {
        AbrirGuion({"abcdef", "gh"}, QStringList{"abc", "gh"});
        frmEditor& v = *ventana_;
        CursorEn(0, 3);
        Ticks(3);
        QVERIFY(!v.timer->isActive());
        QCOMPARE(v.timer->interval(), 2);

        QTest::keyClick(v.txtTraducido, Qt::Key_X);
        QVERIFY(v.timer->isActive());
        Ticks(1);
        QCOMPARE(Contadores(), QStringLiteral("4 6 6 8 2"));
        QCOMPARE(v.msg->text(), QString());

        QTest::keyClicks(v.txtTraducido, QStringLiteral("yzw"));
        QTRY_COMPARE(Contadores(), QStringLiteral("7 6 9 8 -1"));
        QCOMPARE(v.msg->text(), avisoLinea);
        QVERIFY(v.p->isVisible());
        QTRY_VERIFY(!v.timer->isActive());
    }

    // A counter written by another handler, with no signal of its own, still wakes the resting timer.
    void contadorAjenoDespierta()
    {
        AbrirGuion({"abcd"}, QStringList{"ab"});
        frmEditor& v = *ventana_;
        Ticks(3);
        QVERIFY(!v.timer->isActive());
        v.lblLtlo->setText(QStringLiteral("10"));
        Esperar(50);
        QCOMPARE(v.lblDisp->text(), QStringLiteral("8"));
        QVERIFY(!v.timer->isActive());
        v.lblLtlo->setText(QStringLiteral("20"));
        QTRY_COMPARE(v.lblDisp->text(), QStringLiteral("18"));
    }
};

VELARTO_PRUEBA(PruebaMonitor)
#include "tst_monitor.moc"
