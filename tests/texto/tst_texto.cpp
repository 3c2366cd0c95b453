// Line queries on a plain text box: line breaks count two characters in character indexes.
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include "principal.h"
#include "texto.h"

namespace {

const QString lineaLarga(70000, u'x');

// Fills a box and sets its selection; positions are the document's own (a line break counts one).
void Preparar(QPlainTextEdit& caja, const QString& texto, int ancla, int posicion)
{
    caja.setPlainText(texto);
    QTextCursor cursor(caja.document());
    cursor.setPosition(ancla);
    cursor.setPosition(posicion, QTextCursor::KeepAnchor);
    caja.setTextCursor(cursor);
}

} // namespace

class PruebaTexto final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ComprobarSinVentanas(); }

    void lineaDelCursor_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("ancla");
        QTest::addColumn<int>("posicion");
        QTest::addColumn<int>("cantidad");
        QTest::addColumn<int>("actual");
        QTest::addColumn<int>("largoCursor");
        QTest::addColumn<int>("inicioCursor");
        QTest::addColumn<QString>("textoCursor");

        QTest::newRow("caja vacía") << QString() << 0 << 0 << 1 << 0 << 0 << 0 << QString();
        QTest::newRow("cursor tras la c")
            << QStringLiteral("ab\r\ncde") << 4 << 4 << 2 << 1 << 3 << 4 << QStringLiteral("cde");
        QTest::newRow("termina en CR LF")
            << QStringLiteral("ab\r\n") << 3 << 3 << 2 << 1 << 0 << 4 << QString();
        // With a selection the caret line is the selection's start, but line -1 is where the caret is.
        QTest::newRow("selección hacia delante")
            << QStringLiteral("uno\r\ndos\r\ntres") << 1 << 9 << 3 << 0 << 3 << 10 << QStringLiteral("tres");
        QTest::newRow("selección hacia atrás")
            << QStringLiteral("uno\r\ndos\r\ntres") << 9 << 1 << 3 << 0 << 3 << 0 << QStringLiteral("uno");
        QTest::newRow("LF suelto cuenta uno")
            << QStringLiteral("a\u240Ab\r\nc") << 1 << 1 << 2 << 0 << 3 << 0 << QStringLiteral("a\u240Ab");
        QTest::newRow("línea muy larga") << lineaLarga + QStringLiteral("\r\nz") << 70002 << 70002 << 2 << 1
                                         << 1 << 70002 << QStringLiteral("z");
    }
    void lineaDelCursor()
    {
        QFETCH(QString, texto);
        QFETCH(int, ancla);
        QFETCH(int, posicion);
        QPlainTextEdit caja;
        Preparar(caja, texto, ancla, posicion);
        QTEST(CantidadLineas(caja), "cantidad");
        QTEST(LineaActual(caja), "actual");
        QTEST(LargoLineaCursor(caja), "largoCursor");
        QTEST(InicioLinea(caja, -1), "inicioCursor");
        QTEST(TextoLinea(caja, -1), "textoCursor");
    }

    void inicioYTexto_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("linea");
        QTest::addColumn<int>("inicio");
        QTest::addColumn<QString>("esperado");

        const QString dos = QStringLiteral("ab\r\ncde");
        QTest::newRow("caja vacía") << QString() << 0 << 0 << QString();
        QTest::newRow("primera línea") << dos << 0 << 0 << QStringLiteral("ab");
        QTest::newRow("segunda línea") << dos << 1 << 4 << QStringLiteral("cde");
        QTest::newRow("pasada el final") << dos << 2 << -1 << QString();
        QTest::newRow("muy pasada el final") << dos << 1000 << -1 << QString();
        QTest::newRow("negativa") << dos << -2 << -1 << QString();
        QTest::newRow("última vacía tras CR LF") << QStringLiteral("ab\r\n") << 1 << 4 << QString();
        QTest::newRow("tras una línea vacía")
            << QStringLiteral("ab\r\n\r\nx") << 2 << 6 << QStringLiteral("x");
        // A line far past any 16-bit count is an ordinary line.
        QTest::newRow("línea de 65536") << QString(65536, u'y') << 0 << 0 << QString(65536, u'y');
        QTest::newRow("tras una línea muy larga")
            << lineaLarga + QStringLiteral("\r\nz") << 1 << 70002 << QStringLiteral("z");
    }
    void inicioYTexto()
    {
        QFETCH(QString, texto);
        QFETCH(int, linea);
        QPlainTextEdit caja;
        Preparar(caja, texto, 0, 0);
        QTEST(InicioLinea(caja, linea), "inicio");
        QTEST(TextoLinea(caja, linea), "esperado");
    }

    void largoLinea_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("ancla");
        QTest::addColumn<int>("posicion");
        QTest::addColumn<int>("indice");
        QTest::addColumn<int>("largo");

        const QString dos = QStringLiteral("ab\r\ncde");
        QTest::newRow("primer carácter") << dos << 0 << 0 << 0 << 2;
        QTest::newRow("en el CR") << dos << 0 << 0 << 2 << 2;
        QTest::newRow("en el LF") << dos << 0 << 0 << 3 << 2;
        QTest::newRow("inicio de la segunda") << dos << 0 << 0 << 4 << 3;
        QTest::newRow("fin del texto") << dos << 0 << 0 << 7 << 3;
        QTest::newRow("pasado el fin") << dos << 0 << 0 << 8 << 0;
        QTest::newRow("negativo") << dos << 0 << 0 << -2 << 0;
        QTest::newRow("línea vacía final") << QStringLiteral("ab\r\n") << 0 << 0 << 4 << 0;
        QTest::newRow("cursor sin selección") << dos << 5 << 5 << -1 << 3;
        // Index -1: what the selection leaves out of the lines it touches ("u" and "res").
        QTest::newRow("selección en tres líneas")
            << QStringLiteral("uno\r\ndos\r\ntres") << 9 << 1 << -1 << 4;
    }
    void largoLinea()
    {
        QFETCH(QString, texto);
        QFETCH(int, ancla);
        QFETCH(int, posicion);
        QFETCH(int, indice);
        QPlainTextEdit caja;
        Preparar(caja, texto, ancla, posicion);
        QTEST(LargoLinea(caja, indice), "largo");
    }

    // Every line's start, length, text and caret answers agree with one another and with the total,
    // also after edits that split, join and undo lines.
    void recorridoCoherente()
    {
        QPlainTextEdit caja;
        caja.setPlainText(QStringLiteral("primera\r\n\r\nb\u240Ac\r\n") + lineaLarga +
                          QStringLiteral("\r\nfin\r\n"));
        const auto comprobar = [&caja](const char* momento) {
            int inicioEsperado = 0;
            int total = 0;
            for (int linea = 0; linea < CantidadLineas(caja); ++linea) {
                const QString texto = TextoLinea(caja, linea);
                const int inicio = InicioLinea(caja, linea);
                QVERIFY2(inicio == inicioEsperado, momento);
                QVERIFY2(LargoLinea(caja, inicio) == texto.size(), momento);
                QVERIFY2(LargoLinea(caja, inicio + int(texto.size())) == texto.size(), momento);
                QTextCursor cursor(caja.document()->findBlockByNumber(linea));
                cursor.movePosition(QTextCursor::EndOfBlock);
                caja.setTextCursor(cursor);
                QVERIFY2(LineaActual(caja) == linea, momento);
                QVERIFY2(LargoLineaCursor(caja) == texto.size(), momento);
                inicioEsperado += int(texto.size()) + 2;
                total += int(texto.size());
            }
            QVERIFY2(LargoTotal(caja) == total, momento);
        };
        comprobar("al cargar");

        QTextCursor cursor(caja.document()->findBlockByNumber(2));
        cursor.movePosition(QTextCursor::Right);
        cursor.insertText(QStringLiteral("nueva\r\notra\nmás"));
        comprobar("tras insertar líneas");
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 3);
        cursor.removeSelectedText();
        comprobar("tras borrar líneas");
        caja.undo();
        caja.undo();
        comprobar("tras deshacer");
        caja.clear();
        comprobar("vacía");
    }
};

VELARTO_PRUEBA(PruebaTexto)
#include "tst_texto.moc"
