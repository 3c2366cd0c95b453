// The checks' widgets on their own: the problems following a real text box and list through every kind of
// change, the window's rows following them and its choice of a row, and the dialog of the folder's codes.
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextBlock>

#include "dialogo_codigos.h"
#include "edicion_azar.h"
#include "principal.h"
#include "problemas_caja.h"
#include "ventana_comprobaciones.h"

using namespace Qt::StringLiterals;

namespace {

QString Aleatorio(QRandomGenerator& azar, bool conSaltos)
{
    static const QStringList piezas = {"¿", "?", "%s", "{A}", "3", " ", "  ", "hola", ".", "\n"};
    QString texto;
    for (int i = int(azar.bounded(4)); i > 0; --i)
        texto += piezas[int(azar.bounded(conSaltos ? piezas.size() : piezas.size() - 1))];
    return texto;
}

QStringList Lineas(const QPlainTextEdit& caja)
{
    QStringList lineas;
    for (QTextBlock bloque = caja.document()->begin(); bloque.isValid(); bloque = bloque.next())
        lineas.append(bloque.text());
    return lineas;
}

QStringList Filas(const QListWidget& lista)
{
    QStringList filas;
    for (int fila = 0; fila < lista.count(); ++fila)
        filas.append(lista.item(fila)->text());
    return filas;
}

// The rows a window of the problems shows, as "line: problem".
QStringList Filas(const ModeloProblemas& modelo)
{
    QStringList filas;
    for (int fila = 0; fila < modelo.rowCount(); ++fila)
        filas.append(modelo.index(fila, ModeloProblemas::Linea).data().toString() + u": " +
                     modelo.index(fila, ModeloProblemas::Descripcion).data().toString());
    return filas;
}

// The same rows for the problems of a whole pair checked at once.
QStringList FilasEsperadas(const ProblemasGuion& guion)
{
    QStringList filas;
    for (int linea = 0; linea < guion.lineasTraduccion(); ++linea)
        for (const Problema& problema : guion.problemas(linea))
            filas.append(QString::number(linea + 1) + u": " + problema.texto);
    if (guion.faltantes() > 0)
        filas.append(QString::number(guion.lineasTraduccion() + 1) + u": " + guion.problemaFaltantes().texto);
    return filas;
}

} // namespace

class PruebaVentanaComprobaciones final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ComprobarSinVentanas(); }

    void seguimiento_data()
    {
        QTest::addColumn<quint32>("semilla");
        QTest::newRow("una") << 31u;
        QTest::newRow("otra") << 32u;
    }

    // Typing, undo and redo in the box and every kind of change of the list: the problems kept and the
    // window's rows are always those of the pair checked afresh.
    void seguimiento()
    {
        QFETCH(quint32, semilla);
        QRandomGenerator azar(semilla);
        QPlainTextEdit caja;
        QListWidget lista;
        caja.setPlainText(u"¿Hola %s\n3 {A}\n\nfin."_s);
        lista.addItems({"Hi %s?", "{A} 3", "x", "end.", "más"});
        ProblemasCaja problemas(&caja, &lista);
        ModeloProblemas modelo(problemas.guion(), problemas);
        QTextDocument& documento = *caja.document();
        for (int paso = 0; paso < 300; ++paso) {
            EditarAlAzar(azar, caja, lista, true, Aleatorio);
            if (paso == 150) {
                lista.clear();
                lista.addItems({"a", "b"});
            }
            TextosEnLista textos;
            textos.original = Filas(lista);
            textos.traduccion = Lineas(caja);
            ProblemasGuion nuevo(textos);
            nuevo.releer();
            QCOMPARE(problemas.guion().lineasTraduccion(), documento.blockCount());
            QCOMPARE(problemas.guion().lineasOriginal(), lista.count());
            QCOMPARE(Filas(modelo), FilasEsperadas(nuevo));
            QCOMPARE(problemas.guion().resumen(), nuevo.resumen());
        }
    }

    // The window counts the problems, lists them by line, follows an edit and tells the line of the row
    // chosen with Enter.
    void ventana()
    {
        QPlainTextEdit caja;
        QListWidget lista;
        caja.setPlainText(u"Tienes monedas\n¿Vienes"_s);
        lista.addItems({"You have %d coins", "Coming?", "Bye."});
        ProblemasCaja problemas(&caja, &lista);
        VentanaComprobaciones ventana(problemas.guion(), problemas, nullptr);
        ventana.show();
        QCOMPARE(ventana.windowTitle(), u"Comprobación de la traducción"_s);
        QCOMPARE(ventana.resumen()->text(), u"4 problemas en 3 líneas"_s);
        QCOMPARE(Filas(*ventana.modelo()),
                 (QStringList{"1: Falta «%d»", "2: Falta «?»",
                              "2: Termina con otra puntuación que el original", "3: Falta 1 línea (la 3)"}));
        const QAbstractItemModel& modelo = *ventana.modelo();
        QCOMPARE(modelo.index(1, ModeloProblemas::Original).data().toString(), u"Coming?"_s);
        QCOMPARE(modelo.index(1, ModeloProblemas::Traduccion).data().toString(), u"¿Vienes"_s);

        QTextCursor cursor(caja.document()->findBlockByNumber(1));
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(u"?\nAdiós."_s);
        QCOMPARE(ventana.resumen()->text(), u"1 problema en 1 línea"_s);
        QCOMPARE(Filas(*ventana.modelo()), QStringList{"1: Falta «%d»"});

        QSignalSpy elegidas(&ventana, &VentanaComprobaciones::elegida);
        ventana.irAFila(0);
        QTest::keyClick(ventana.tabla(), Qt::Key_Return);
        QCOMPARE(elegidas.size(), 1);
        QCOMPARE(elegidas.constFirst().constFirst().toInt(), 0);
    }

    void dialogo_data()
    {
        QTest::addColumn<QString>("expresion");
        QTest::addColumn<QString>("validez");
        QTest::addColumn<QString>("codigos");
        QTest::addColumn<bool>("aceptable");
        QTest::newRow("propia") << u"\\$[A-Z]+\\$"_s
                                << u"La expresión es válida; sustituye a los códigos de siempre."_s
                                << u"Códigos en la línea original: «$NOMBRE$»"_s << true;
        QTest::newRow("vacía") << u"  "_s << u"Sin expresión propia: se usan los códigos de siempre."_s
                               << u"Códigos en la línea original: «{x}» «%d»"_s << true;
        QTest::newRow("no válida")
            << u"([A-Z]"_s << u"La expresión no es válida: falta un «)» que cierre el grupo (carácter 7)."_s
            << u"Códigos en la línea original: «{x}» «%d»"_s << false;
        QTest::newRow("sin códigos en la línea")
            << u"@[0-9]+"_s << u"La expresión es válida; sustituye a los códigos de siempre."_s
            << u"Ningún código en la línea original."_s << true;
    }
    // What the pattern finds in the current original line shows as it is typed; an invalid one cannot be
    // accepted.
    void dialogo()
    {
        QFETCH(QString, expresion);
        DialogoCodigos dialogo(u"{antes}"_s, u"Hola $NOMBRE$, {x} tiene %d"_s, nullptr);
        QCOMPARE(dialogo.campo()->text(), u"{antes}"_s);
        dialogo.campo()->setText(expresion);
        QTEST(dialogo.validez()->text(), "validez");
        QTEST(dialogo.codigos()->text(), "codigos");
        QTEST(dialogo.botones()->button(QDialogButtonBox::Ok)->isEnabled(), "aceptable");
        QCOMPARE(dialogo.expresion(), expresion.trimmed());
    }
};

VELARTO_PRUEBA(PruebaVentanaComprobaciones)
#include "tst_ventana_comprobaciones.moc"
