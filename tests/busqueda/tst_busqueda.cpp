// The folder's search and status on a real folder indexed by the real memory: the search's options as
// rows (case, whole word, regular expression, both sides, accents and "ñ"), the newest search winning,
// and each script's figures, its one-line summary and the CSV of the table.
#include <optional>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "carpeta_prueba.h"
#include "consultas_carpeta.h"
#include "lector_carpeta.h"
#include "memoria_traduccion.h"
#include "principal.h"

using namespace Qt::StringLiterals;

class PruebaBusqueda final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        carpeta_ = dir_->filePath(u"scripts"_s);
        cache_ = dir_->filePath(u"cache"_s);
        Par(u"a.txt"_s, {u"The King speaks."_s, u"Kingdom of the north"_s, u"Press %s to start"_s, u"Café"_s},
            {u"El rey habla."_s, u"Reino del norte"_s, u"Pulsa %s para empezar"_s, u"Un café"_s});
        Par(u"b.txt"_s, {u"the king"_s, u"A year"_s, u"Hello there"_s},
            {u"el Rey"_s, u"Un año"_s, u"Hola, ÑANDÚ"_s});
        Par(u"C.txt"_s, {u"Years ago"_s, u"Canción"_s, u"Nandu"_s},
            {u"Hace años"_s, u"CANCIÓN de cuna"_s, u"Nandu"_s});
        MemoriaTraduccion memoria(cache_);
        memoria.Abrir(carpeta_);
        memoria.Esperar();
    }

    void buscar_data()
    {
        QTest::addColumn<OpcionesBusqueda>("opciones");
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<QString>("cuenta");
        const auto o = [](const QString& texto, Ambito ambito, bool mayusculas = false, bool palabra = false,
                          bool expresion = false) {
            return OpcionesBusqueda{texto, ambito, mayusculas, palabra, expresion};
        };
        QTest::newRow("originales sin mayúsculas")
            << o(u"king"_s, Ambito::Originales) << QStringList{u"a.txt:1"_s, u"a.txt:2"_s, u"b.txt:1"_s}
            << u"3 resultados en 2 scripts"_s;
        QTest::newRow("mayúsculas y minúsculas")
            << o(u"King"_s, Ambito::Originales, true) << QStringList{u"a.txt:1"_s, u"a.txt:2"_s}
            << u"2 resultados en 1 script"_s;
        QTest::newRow("palabra completa")
            << o(u"king"_s, Ambito::Originales, false, true) << QStringList{u"a.txt:1"_s, u"b.txt:1"_s}
            << u"2 resultados en 2 scripts"_s;
        QTest::newRow("traducciones")
            << o(u"rey"_s, Ambito::Traducciones) << QStringList{u"a.txt:1"_s, u"b.txt:1"_s}
            << u"2 resultados en 2 scripts"_s;
        QTest::newRow("ambos, una fila por línea")
            << o(u"café"_s, Ambito::Ambos) << QStringList{u"a.txt:4"_s} << u"1 resultado en 1 script"_s;
        QTest::newRow("mayúsculas acentuadas")
            << o(u"canción"_s, Ambito::Ambos) << QStringList{u"C.txt:2"_s} << u"1 resultado en 1 script"_s;
        QTest::newRow("ñ y acento no son n ni u")
            << o(u"ñandú"_s, Ambito::Ambos) << QStringList{u"b.txt:3"_s} << u"1 resultado en 1 script"_s;
        QTest::newRow("ñ dentro de la palabra completa")
            << o(u"año"_s, Ambito::Traducciones, false, true) << QStringList{u"b.txt:2"_s}
            << u"1 resultado en 1 script"_s;
        QTest::newRow("letra acentuada al final de la palabra")
            << o(u"canci"_s, Ambito::Ambos, false, true) << QStringList{} << u"Ningún resultado"_s;
        QTest::newRow("forma descompuesta") << o(u"cancio\u0301n"_s, Ambito::Traducciones)
                                            << QStringList{u"C.txt:2"_s} << u"1 resultado en 1 script"_s;
        QTest::newRow("texto corto, sin índice")
            << o(u"el"_s, Ambito::Traducciones) << QStringList{u"a.txt:1"_s, u"a.txt:2"_s, u"b.txt:1"_s}
            << u"3 resultados en 2 scripts"_s;
        QTest::newRow("expresión regular") << o(u"%[sd] to"_s, Ambito::Originales, false, false, true)
                                           << QStringList{u"a.txt:3"_s} << u"1 resultado en 1 script"_s;
        QTest::newRow("expresión con alternativa")
            << o(u"rey|reino"_s, Ambito::Traducciones, false, false, true)
            << QStringList{u"a.txt:1"_s, u"a.txt:2"_s, u"b.txt:1"_s} << u"3 resultados en 2 scripts"_s;
        QTest::newRow("expresión cuya última letra es opcional")
            << o(u"Reinos?"_s, Ambito::Traducciones, true, false, true) << QStringList{u"a.txt:2"_s}
            << u"1 resultado en 1 script"_s;
        QTest::newRow("expresión no válida")
            << o(u"(rey"_s, Ambito::Ambos, false, false, true) << QStringList{} << u"Ningún resultado"_s;
    }
    void buscar()
    {
        QFETCH(OpcionesBusqueda, opciones);
        QFETCH(QStringList, lineas);
        QFETCH(QString, cuenta);
        const ResultadoBusqueda resultado = Buscar(opciones);
        QStringList halladas;
        for (const FilaBusqueda& fila : resultado.filas)
            halladas.append(fila.script + u':' + QString::number(fila.linea + 1));
        QCOMPARE(halladas, lineas);
        QCOMPARE(TextoResultados(resultado.lineas, resultado.scripts), cuenta);
        QCOMPARE(resultado.error.isEmpty(), PatronBusqueda(opciones).valido());
    }

    void tramosDeAmbosLados()
    {
        const ResultadoBusqueda resultado = Buscar({u"CAFÉ"_s, Ambito::Ambos});
        QCOMPARE(resultado.filas.size(), 1);
        QCOMPARE(resultado.filas[0].enOriginal, (Tramos{{0, 4}}));
        QCOMPARE(resultado.filas[0].enTraduccion, (Tramos{{3, 4}}));
        QCOMPARE(resultado.conTraduccion, QStringList{u"a.txt"_s});
    }

    void gananLaUltimaBusqueda()
    {
        ConsultasCarpeta consultas(cache_);
        consultas.Abrir(carpeta_);
        QSignalSpy encontrado(&consultas, &ConsultasCarpeta::encontrado);
        consultas.Buscar({u"king"_s, Ambito::Originales});
        const quint64 ultima = consultas.Buscar({u"rey"_s, Ambito::Traducciones});
        consultas.Esperar();
        QTRY_COMPARE(encontrado.size(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(encontrado.size(), 1);
        const auto resultado = encontrado[0][0].value<ResultadoBusqueda>();
        QCOMPARE(resultado.numero, ultima);
        QCOMPARE(resultado.lineas, 2);
    }

    void estado()
    {
        // Line 2 too long, line 3 empty, line 4 loses its code, one line beyond the original.
        Par(u"d.txt"_s, {u"Hello."_s, u"Go"_s, u"Wait."_s, u"Press %s now."_s},
            {u"Hola."_s, u"Adelante"_s, u""_s, u"Pulsa ahora."_s, u"Sobra."_s});
        Par(u"e.txt"_s, {u"One."_s, u"Two."_s}, {});
        MemoriaTraduccion memoria(cache_);
        memoria.Abrir(carpeta_);
        memoria.Esperar();
        const auto lector = LectorCarpeta::Abrir(cache_, carpeta_);
        QVERIFY(lector);
        const auto figuras = CalcularEstado(*lector, {}, {u"e.txt"_s}, {});
        QVERIFY(figuras);
        QCOMPARE(figuras->size(), 5);
        const FigurasScript& d = (*figuras)[3];
        QCOMPARE(d.nombre, u"d.txt"_s);
        QCOMPARE(CeldasEstado(d).mid(1, 7),
                 (QStringList{u"4"_s, u"3"_s, u"75"_s, u"1"_s, u"2"_s, u"+1"_s, u""_s}));
        QVERIFY(d.guardada.isValid());
        QCOMPARE(TextoFiguras(d),
                 u"3 de 4 líneas traducidas; 1 demasiado larga; 2 problemas; 1 línea de más"_s);
        const FigurasScript& e = (*figuras)[4];
        QCOMPARE(TextoFiguras(e), u"0 de 2 líneas traducidas; faltan 2 líneas; texto sin guardar"_s);
        QVERIFY(!e.guardada.isValid());
        const QList<QByteArray> csv = CsvEstado(*figuras).split('\n');
        QCOMPARE(csv.size(), 8);
        QCOMPARE(csv[0],
                 "Script,Líneas,Traducidas,%,Largas,Problemas,De más o faltan,Sin guardar,"
                 "Guardada\r"_ba);
        QVERIFY(csv[5].startsWith("e.txt,2,0,0,0,0,-2,Sí,\r"));
        QVERIFY(csv[6].startsWith("Total,16,13,81,"));
    }

private:
    void Par(const QString& nombre, const QStringList& originales, const QStringList& traducciones)
    {
        EscribirBytes(carpeta_ + u'/' + nombre, ArchivoCrLf(originales));
        if (!traducciones.isEmpty())
            EscribirBytes(carpeta_ + u"/Traducidos/" + nombre, ArchivoCrLf(traducciones));
    }

    ResultadoBusqueda Buscar(const OpcionesBusqueda& opciones)
    {
        const auto lector = LectorCarpeta::Abrir(cache_, carpeta_);
        if (!lector)
            return {};
        return BuscarEnCarpeta(*lector, opciones, 100, {}).value_or(ResultadoBusqueda{});
    }

    std::optional<QTemporaryDir> dir_;
    QString carpeta_;
    QString cache_;
};

VELARTO_PRUEBA(PruebaBusqueda)
#include "tst_busqueda.moc"
