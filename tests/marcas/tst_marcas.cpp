// The marks' own structures against plain recomputation: the ordered line set, the marks kept from a
// document and a list under random edits, and the scroll bar's ticks.
#include <set>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "edicion_azar.h"
#include "marcas.h"
#include "pintura.h"
#include "principal.h"
#include "resumen.h"

namespace {

// The mark of every line as the editor defines it, measured from scratch.
Marca Esperada(const QPlainTextEdit& caja, const QListWidget& lista, int linea)
{
    const int original = lista.count();
    if (original == 0)
        return Marca::Ninguna;
    if (linea >= original)
        return Marca::Sobrante;
    const qsizetype largo = caja.document()->findBlockByNumber(linea).text().size();
    return largo > lista.item(linea)->text().size() ? Marca::Larga : Marca::Ninguna;
}

QString Aleatorio(QRandomGenerator& azar, bool conSaltos)
{
    static const QString letras = QStringLiteral("abcdé\n");
    QString texto;
    for (int i = int(azar.bounded(6)); i > 0; --i)
        texto += letras[int(azar.bounded(conSaltos ? 6 : 5))];
    return texto;
}

} // namespace

using namespace Qt::StringLiterals;

class PruebaMarcas final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conjunto_data()
    {
        QTest::addColumn<int>("lineas");
        QTest::addColumn<quint32>("semilla");
        QTest::newRow("menos de una palabra") << 5 << 1u;
        QTest::newRow("justo una palabra") << 64 << 2u;
        QTest::newRow("una palabra y un bit") << 65 << 3u;
        QTest::newRow("muchas palabras") << 1000 << 4u;
    }

    // Every query agrees with an ordinary ordered set after any mix of insertions, removals and resizes.
    void conjunto()
    {
        QFETCH(int, lineas);
        QFETCH(quint32, semilla);
        QRandomGenerator azar(semilla);
        ConjuntoLineas conjunto;
        conjunto.redimensionar(lineas);
        std::set<int> referencia;
        for (int paso = 0; paso < 2000; ++paso) {
            const int linea = int(azar.bounded(lineas));
            const bool miembro = azar.bounded(3) != 0;
            QCOMPARE(conjunto.poner(linea, miembro),
                     miembro ? referencia.insert(linea).second : referencia.erase(linea) == 1);
            if (paso % 500 == 499) {
                // Shrinking drops the members past the new end; growing back brings none of them back.
                conjunto.redimensionar(lineas / 2);
                referencia.erase(referencia.lower_bound(lineas / 2), referencia.end());
                conjunto.redimensionar(lineas);
            }
            const int consulta = int(azar.bounded(lineas + 2)) - 1;
            const auto desde = referencia.lower_bound(consulta);
            QCOMPARE(conjunto.siguiente(consulta), desde == referencia.end() ? -1 : *desde);
            QCOMPARE(conjunto.anterior(consulta), desde == referencia.begin() ? -1 : *std::prev(desde));
            const int rango = int(std::distance(referencia.begin(), desde));
            QCOMPARE(conjunto.rango(consulta), rango);
            QCOMPARE(conjunto.enesimo(rango), desde == referencia.end() ? -1 : *desde);
            QCOMPARE(conjunto.cantidad(), int(referencia.size()));
        }
    }

    void seguimiento_data()
    {
        QTest::addColumn<quint32>("semilla");
        QTest::addColumn<bool>("conSaltos");
        QTest::newRow("dentro de las líneas") << 11u << false;
        QTest::newRow("líneas que vienen y van") << 12u << true;
        QTest::newRow("otra mezcla") << 13u << true;
    }

    // Edits, undo and redo in the box and every kind of change of the list: after each, the kept marks are
    // the ones measured from scratch, and the overview's rows are the marked lines in order.
    void seguimiento()
    {
        QFETCH(quint32, semilla);
        QFETCH(bool, conSaltos);
        QRandomGenerator azar(semilla);
        QPlainTextEdit caja;
        QListWidget lista;
        caja.setPlainText(QStringLiteral("abc\nab\n\nabcd"));
        lista.addItems({"ab", "abc", "", "abcd"});
        MarcasLineas marcas(&caja, &lista);
        ModeloResumen modelo(marcas);
        QTextDocument& documento = *caja.document();
        for (int paso = 0; paso < 400; ++paso) {
            EditarAlAzar(azar, caja, lista, conSaltos, Aleatorio);
            if (paso == 200) {
                lista.clear();
                lista.addItems({"a", "b"});
            }
            QCOMPARE(marcas.lineasTraduccion(), documento.blockCount());
            QCOMPARE(marcas.lineasOriginal(), lista.count());
            std::vector<int> marcadas;
            for (int linea = 0; linea < documento.blockCount(); ++linea) {
                const Marca esperada = Esperada(caja, lista, linea);
                QCOMPARE(marcas.marca(linea), esperada);
                if (esperada != Marca::Ninguna)
                    marcadas.push_back(linea);
            }
            QCOMPARE(marcas.cantidad(), int(marcadas.size()));
            QCOMPARE(modelo.rowCount(), int(marcadas.size()));
            for (int fila = 0; fila < int(marcadas.size()); ++fila) {
                QCOMPARE(marcas.enesima(fila), marcadas[std::size_t(fila)]);
                QCOMPARE(modelo.linea(fila), marcadas[std::size_t(fila)]);
            }
        }
    }

    // A giant line shows as its start and an ellipsis; its lengths stay whole.
    void celdaDeLineaGigante()
    {
        QPlainTextEdit caja;
        QListWidget lista;
        caja.setPlainText(QString(100000, u'x'));
        lista.addItem(QString(400, u'y'));
        MarcasLineas marcas(&caja, &lista);
        ModeloResumen modelo(marcas);
        QCOMPARE(modelo.index(0, ModeloResumen::Traduccion).data().toString(), QString(300, u'x') + u'…');
        QCOMPARE(modelo.index(0, ModeloResumen::Original).data().toString(), QString(300, u'y') + u'…');
        QCOMPARE(modelo.index(0, ModeloResumen::Exceso).data().toInt(), 100000 - 400);
    }

    void siguiente_data()
    {
        QTest::addColumn<QStringList>("traduccion");
        QTest::addColumn<QStringList>("original");
        QTest::addColumn<int>("desde");
        QTest::addColumn<int>("adelante");
        QTest::addColumn<int>("atras");
        using L = QStringList;
        // Lines 1 and 3 too long, 5 and 6 extra.
        const L t{"a", "abc", "a", "abc", "a", "x", "y"};
        const L o{"a", "a", "a", "a", "a"};
        QTest::newRow("desde el principio") << t << o << 0 << 1 << 6;
        QTest::newRow("entre dos largas") << t << o << 2 << 3 << 1;
        QTest::newRow("de larga a sobrante") << t << o << 3 << 5 << 1;
        QTest::newRow("la última vuelve a la primera") << t << o << 6 << 1 << 5;
        QTest::newRow("una sola marcada vuelve a sí misma") << L{"a", "abc"} << L{"a", "a"} << 1 << 1 << 1;
        QTest::newRow("iguales y más cortas: ninguna") << L{"ab", "a"} << L{"ab", "abc"} << 0 << -1 << -1;
        QTest::newRow("sin original: ninguna") << L{"abc"} << L{} << 0 << -1 << -1;
    }

    void siguiente()
    {
        QFETCH(QStringList, traduccion);
        QFETCH(QStringList, original);
        QFETCH(int, desde);
        QPlainTextEdit caja;
        QListWidget lista;
        caja.setPlainText(traduccion.join(u'\n'));
        lista.addItems(original);
        MarcasLineas marcas(&caja, &lista);
        QTEST(marcas.siguiente(desde, true), "adelante");
        QTEST(marcas.siguiente(desde, false), "atras");
    }

    void trazos_data()
    {
        QTest::addColumn<int>("lineas");
        QTest::addColumn<QList<int>>("largas");
        QTest::addColumn<int>("alto");
        QTest::addColumn<QList<int>>("esperados"); // desde, alto of each red tick
        QTest::newRow("pocas líneas, a su altura")
            << 10 << QList<int>{0, 5} << 100 << QList<int>{0, 3, 50, 3};
        QTest::newRow("vecinas se funden") << 100 << QList<int>{10, 11, 12} << 100 << QList<int>{10, 5};
        QTest::newRow("muchas por fila, un trazo")
            << 100000 << QList<int>{500, 501, 502, 503} << 100 << QList<int>{0, 3};
        QTest::newRow("la última cabe abajo") << 50 << QList<int>{49} << 100 << QList<int>{97, 3};
        QTest::newRow("todas: una barra") << 1000 << QList<int>{} << 30 << QList<int>{0, 30};
    }

    // Ticks at each marked line's relative height, merged where they would touch.
    void trazos()
    {
        QFETCH(int, lineas);
        QFETCH(QList<int>, largas);
        QFETCH(int, alto);
        QPlainTextEdit caja;
        QListWidget lista;
        QStringList traduccion(lineas, QStringLiteral("a"));
        for (const int linea : largas)
            traduccion[linea] = QStringLiteral("aa");
        caja.setPlainText(traduccion.join(u'\n'));
        lista.addItems(QStringList(lineas, largas.isEmpty() ? QString() : QStringLiteral("a")));
        MarcasLineas marcas(&caja, &lista);
        QList<int> obtenidos;
        for (const Trazo& trazo : TrazosBarra(marcas, alto)) {
            QCOMPARE(trazo.marca, Marca::Larga);
            obtenidos << trazo.desde << trazo.alto;
        }
        QTEST(obtenidos, "esperados");
    }

    void lineasTodas_data()
    {
        QTest::addColumn<int>("valor");
        QTest::newRow("arriba") << 0;
        QTest::newRow("en medio") << 700;
        QTest::newRow("abajo") << 100000;
    }

    // Every line too long and every line with a problem: each kind of tick fills its own lane, and the
    // handle still shows wherever it is.
    void lineasTodas()
    {
        QFETCH(int, valor);
        QPlainTextEdit caja;
        QListWidget lista;
        caja.setPlainText(QStringList(1500, u"aa"_s).join(u'\n'));
        lista.addItems(QStringList(1500, u"a"_s));
        caja.resize(300, 300);
        caja.show();
        QVERIFY(QTest::qWaitForWindowExposed(&caja));
        MarcasLineas marcas(&caja, &lista);
        QScrollBar* barra = caja.verticalScrollBar();
        auto* trazos = new MarcasBarra(barra, marcas);
        trazos->agregarCarril([](int alto) {
            return TrazosLineas(
                1500, alto, [](int linea) { return linea < 1500 ? linea : -1; }, ColorTrazoAviso());
        });
        barra->setValue(valor);
        const QRect asa = trazos->asa();
        QVERIFY(!asa.isEmpty());
        const QImage imagen = trazos->grab().toImage();
        const auto color = [&](int x, int y) {
            return QColor(imagen.pixel(x, y));
        };
        const int izquierda = trazos->width() / 4;
        const int derecha = trazos->width() * 3 / 4;
        const int fuera =
            asa.top() > trazos->height() / 2 ? asa.top() / 2 : (asa.bottom() + trazos->height()) / 2;
        QCOMPARE(color(izquierda, fuera), ColorTrazo(Marca::Larga));
        QCOMPARE(color(derecha, fuera), ColorTrazoAviso());
        for (const int x : {izquierda, derecha}) {
            QVERIFY(color(x, asa.center().y()) != ColorTrazo(Marca::Larga));
            QVERIFY(color(x, asa.center().y()) != ColorTrazoAviso());
        }
    }

    // The problems' background keeps text as readable as the marks' do, on a light and on a dark box.
    void fondoAviso()
    {
        QVERIFY(Contraste(ColorFondoAviso(Qt::white), Qt::black) >= 4.5);
        QVERIFY(Contraste(ColorFondoAviso(QColor(30, 30, 30)), Qt::white) >= 4.5);
        QVERIFY(ColorFondoAviso() != ColorFondo(Marca::Larga) &&
                ColorFondoAviso() != ColorFondo(Marca::Sobrante));
    }
};

VELARTO_PRUEBA(PruebaMarcas)
#include "tst_marcas.moc"
