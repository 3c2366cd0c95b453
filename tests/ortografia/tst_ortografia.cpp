// The spelling library on its own: word splitting, dictionary discovery and names, the checker's
// personal word list.
#include <atomic>
#include <cerrno>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "archivos.h"
#include "carpeta_prueba.h"
#include "fallos_archivos.h"
#include "diccionarios.h"
#include "error_esperado.h"
#include "palabras.h"
#include "principal.h"
#include "revisor.h"

using namespace Qt::StringLiterals;

namespace {

QStringList Palabras(const QString& linea)
{
    QStringList palabras;
    for (const TramoPalabra& tramo : PalabrasRevisables(linea))
        palabras.append(linea.mid(tramo.inicio, tramo.largo));
    return palabras;
}

// The installed Spanish dictionary the checker tests use, or none.
std::optional<Diccionario> DiccionarioEspanol()
{
    for (const Diccionario& d : BuscarDiccionarios())
        if (d.codigo == u"es_ES")
            return d;
    return std::nullopt;
}

const char* const faltaDiccionario = "No hay diccionario es_ES instalado (paquete hunspell-es)";

} // namespace

class PruebaOrtografia final : public QObject
{
    Q_OBJECT
private Q_SLOTS:

    void palabras_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<QStringList>("palabras");
        QTest::newRow("acentos") << QStringLiteral("Una canción útil")
                                 << QStringList{"Una", "canción", "útil"};
        QTest::newRow("eñe y diéresis")
            << QStringLiteral("El niño y el pingüino") << QStringList{"El", "niño", "y", "el", "pingüino"};
        QTest::newRow("acento combinado") << QStringLiteral("cancio\u0301n") << QStringList{"cancio\u0301n"};
        QTest::newRow("signos de apertura")
            << QStringLiteral("¿Quieres venir? ¡Vamos!") << QStringList{"Quieres", "venir", "Vamos"};
        QTest::newRow("apóstrofos dentro")
            << QStringLiteral("l'amour d’Artagnan") << QStringList{"l'amour", "d’Artagnan"};
        QTest::newRow("apóstrofos fuera") << QStringLiteral("'hola' ’adiós’") << QStringList{"hola", "adiós"};
        QTest::newRow("guiones") << QStringLiteral("franco-alemán —dijo— -no-")
                                 << QStringList{"franco-alemán", "dijo", "no"};
        QTest::newRow("mayúsculas") << QStringLiteral("ELIN: Hola, dijo la ONU. Y")
                                    << QStringList{"Hola", "dijo", "la"};
        QTest::newRow("dígitos y guion bajo")
            << QStringLiteral("nivel2 3er x86 nombre_jugador casa") << QStringList{"casa"};
        QTest::newRow("llaves") << QStringLiteral("{nombre} dice {0} {{anidado} x}") << QStringList{"dice"};
        QTest::newRow("ángulos") << QStringLiteral("<color=rojo>rojo</color>") << QStringList{"rojo"};
        QTest::newRow("corchetes") << QStringLiteral("[PAUSA] sigue [jugador]") << QStringList{"sigue"};
        QTest::newRow("sin cerrar es puntuación")
            << QStringLiteral("si a < b [nota") << QStringList{"si", "a", "b", "nota"};
        QTest::newRow("printf") << QStringLiteral("%s tiene %d monedas, %5.2f%% y %-10s %ld %x")
                                << QStringList{"tiene", "monedas", "y"};
        QTest::newRow("numerados") << QStringLiteral("%1 de %2$s o %3") << QStringList{"de", "o"};
        QTest::newRow("porcentaje ante palabra")
            << QStringLiteral("al 100% seguro") << QStringList{"al", "seguro"};
        QTest::newRow("escapes") << QStringLiteral("Hola\\nMundo\\tfin \\x41 \\u00e9 \\\"ya\\\"")
                                 << QStringList{"Hola", "Mundo", "fin", "ya"};
    }
    void palabras()
    {
        QFETCH(QString, linea);
        QFETCH(QStringList, palabras);
        QCOMPARE(Palabras(linea), palabras);
    }

    void palabraEn_data()
    {
        QTest::addColumn<int>("columna");
        QTest::addColumn<QString>("palabra");
        // "¿Ves {nombre} allí?"
        QTest::newRow("dentro de la palabra") << 2 << QStringLiteral("Ves");
        QTest::newRow("justo tras la palabra") << 4 << QStringLiteral("Ves");
        QTest::newRow("en el marcador") << 8 << QString();
        QTest::newRow("al empezar la última") << 14 << QStringLiteral("allí");
        QTest::newRow("tras el signo final") << 19 << QString();
    }
    void palabraEn()
    {
        QFETCH(int, columna);
        QFETCH(QString, palabra);
        const QString linea = QStringLiteral("¿Ves {nombre} allí?");
        const TramoPalabra tramo = PalabraEn(linea, columna);
        QCOMPARE(linea.mid(tramo.inicio, tramo.largo), palabra);
    }

    void nombres_data()
    {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("España") << QStringLiteral("es_ES") << QStringLiteral("Español (España)");
        QTest::newRow("México") << QStringLiteral("es_MX") << QStringLiteral("Español (México)");
        QTest::newRow("Estados Unidos")
            << QStringLiteral("es_US") << QStringLiteral("Español (Estados Unidos)");
        QTest::newRow("sin país") << QStringLiteral("es") << QStringLiteral("Español");
        QTest::newRow("país desconocido") << QStringLiteral("es_ZZ") << QStringLiteral("Español (ZZ)");
        QTest::newRow("otro nombre") << QStringLiteral("es_ES-grande") << QStringLiteral("es_ES-grande");
    }
    void nombres()
    {
        QFETCH(QString, codigo);
        QFETCH(QString, nombre);
        QCOMPARE(NombreLegible(codigo), nombre);
    }

    // Real pairs of files in two folders: the first folder wins, both files are needed (through links),
    // only Spanish ones count, es_ES comes first.
    void buscar()
    {
        QTemporaryDir dir;
        const QString primera = dir.filePath(QStringLiteral("primera"));
        const QString segunda = dir.filePath(QStringLiteral("segunda"));
        for (const QString& archivo :
             {u"primera/es_MX.aff"_qs, u"primera/es_MX.dic"_qs, u"segunda/es_MX.aff"_qs,
              u"segunda/es_MX.dic"_qs, u"segunda/es_ES.aff"_qs, u"segunda/es_ES.dic"_qs,
              u"segunda/es_AR.aff"_qs, u"segunda/en_US.aff"_qs, u"segunda/en_US.dic"_qs,
              u"primera/es_CL.aff"_qs})
            EscribirBytes(dir.filePath(archivo), "x");
        QVERIFY(QFile::link(dir.filePath(u"segunda/nada.dic"_qs), dir.filePath(u"primera/es_CL.dic"_qs)));
        QVERIFY(QFile::link(dir.filePath(u"segunda/es_ES.aff"_qs), dir.filePath(u"primera/es_CO.aff"_qs)));
        QVERIFY(QFile::link(dir.filePath(u"segunda/es_ES.dic"_qs), dir.filePath(u"primera/es_CO.dic"_qs)));

        const QList<Diccionario> encontrados = BuscarDiccionarios({primera, segunda});
        QStringList codigos;
        for (const Diccionario& d : encontrados)
            codigos.append(d.codigo);
        QCOMPARE(codigos, (QStringList{"es_ES", "es_CO", "es_MX"}));
        QCOMPARE(encontrados[2].afijos, QDir(primera).filePath(u"es_MX.aff"_qs));
        QCOMPARE(encontrados[1].nombre, QStringLiteral("Español (Colombia)"));
        QVERIFY(BuscarDiccionarios({dir.filePath(u"no_existe"_qs)}).isEmpty());
    }

    // The personal list: read with a byte-order mark and CR LF, the word added in the list's own form,
    // and a write that fails keeps both the file and the verdict as they were.
    void listaPersonal()
    {
        const std::optional<Diccionario> es = DiccionarioEspanol();
        if (!es)
            QSKIP(faltaDiccionario);
        QTemporaryDir dir;
        const QString ruta = dir.filePath(u"datos/palabras.txt"_qs);
        EscribirBytes(ruta, "\xEF\xBB\xBFVelarto\r\nzorglub\r\n\r\n");
        FallosArchivos fallos;
        Revisor revisor(ruta, fallos);
        QVERIFY(revisor.Cargar(*es));
        QVERIFY(revisor.Correcta(u"Velarto"));
        QVERIFY(revisor.Correcta(u"zorglub"));
        QVERIFY(revisor.Correcta(u"Zorglub")); // Hunspell's own capitalisation rules
        QVERIFY(revisor.Correcta(u"canción"));
        QVERIFY(!revisor.Correcta(u"cancion"));

        fallos.programar(OperacionArchivo::Escribir, 1, ENOSPC);
        QCOMPARE(NumeroDeError([&] { revisor.Anadir(u"ñandúes"_qs); }), Errores::DiscoLleno);
        QCOMPARE(LeerBytes(ruta), QByteArray("\xEF\xBB\xBFVelarto\r\nzorglub\r\n\r\n"));

        QVERIFY(!revisor.Correcta(u"pingüinoz"));
        revisor.Anadir(u"pingüinoz"_qs);
        QVERIFY(revisor.Correcta(u"pingüinoz"));
        QCOMPARE(LeerBytes(ruta), QByteArray("\xEF\xBB\xBFVelarto\r\nzorglub\r\n\r\npingüinoz\r\n"));

        revisor.Ignorar(u"cancion"_qs);
        QVERIFY(revisor.Correcta(u"cancion"));
        QCOMPARE(Revisor(ruta).personales(), (QStringList{"Velarto", "zorglub", "pingüinoz"}));
    }

    // A word added to the list keeps every byte the list had and comes in the list's own code page and
    // line ends; a list that cannot be read whole is never written.
    void anadirALaLista_data()
    {
        QTest::addColumn<QByteArray>("antes"); // null: no list yet
        QTest::addColumn<bool>("ilegible");
        QTest::addColumn<QString>("palabra");
        QTest::addColumn<QByteArray>("despues");
        QTest::addColumn<int>("numero");
        QTest::newRow("latin-1") << QByteArray("caf\xE9\r\nni\xF1o\r\n") << false << u"pingüino"_s
                                 << QByteArray("caf\xE9\r\nni\xF1o\r\nping\xFCino\r\n") << 0;
        QTest::newRow("latin-1 sin salto final")
            << QByteArray("caf\xE9\nt\xE9") << false << u"ñu"_s << QByteArray("caf\xE9\nt\xE9\n\xF1u\n") << 0;
        QTest::newRow("utf-8 con bom y línea vacía")
            << QByteArray("\xEF\xBB\xBFuno\r\n\r\n") << false << u"ñandú"_s
            << QByteArray("\xEF\xBB\xBFuno\r\n\r\n\xC3\xB1"
                          "and\xC3\xBA\r\n")
            << 0;
        QTest::newRow("utf-16") << QByteArray("\xFF\xFEu\0n\0o\0\n\0", 10) << false << u"ñ"_s
                                << QByteArray("\xFF\xFEu\0n\0o\0\n\0\xF1\0\n\0", 14) << 0;
        QTest::newRow("sin lista") << QByteArray() << false << u"ñandú"_s
                                   << QByteArray("\xC3\xB1"
                                                 "and\xC3\xBA\n")
                                   << 0;
        QTest::newRow("no cabe en su codificación")
            << QByteArray("caf\xE9\n") << false << u"Łódź"_s << QByteArray("caf\xE9\n") << 75;
        QTest::newRow("ilegible") << QByteArray("uno\ndos\n") << true << u"tres"_s << QByteArray("uno\ndos\n")
                                  << 57;
    }
    void anadirALaLista()
    {
        QFETCH(QByteArray, antes);
        QFETCH(bool, ilegible);
        QFETCH(QString, palabra);
        QFETCH(QByteArray, despues);
        QFETCH(int, numero);
        QTemporaryDir dir;
        const QString ruta = dir.filePath(u"datos/palabras.txt"_s);
        if (!antes.isNull())
            EscribirBytes(ruta, antes);
        FallosArchivos fallos;
        if (ilegible)
            fallos.programar(OperacionArchivo::Leer, 1, EIO);
        Revisor revisor(ruta, fallos);
        if (ilegible)
            fallos.programar(OperacionArchivo::Leer, 1, EIO);
        QCOMPARE(NumeroDeError([&] { revisor.Anadir(palabra); }), numero);
        QCOMPARE(LeerBytes(ruta), despues);
        QCOMPARE(revisor.personales().contains(palabra), numero == 0);
    }

    // Two editors adding words to one list, one after the other and at the same moment: none is lost.
    void dosEditoresAnaden()
    {
        QTemporaryDir dir;
        const QString ruta = dir.filePath(u"palabras.txt"_s);
        EscribirBytes(ruta, "común\n");
        Revisor uno(ruta);
        Revisor otro(ruta);
        uno.Anadir(u"primera"_s);
        otro.Anadir(u"segunda"_s);
        QCOMPARE(LeerBytes(ruta), QByteArray("común\nprimera\nsegunda\n"));
        QVERIFY(otro.personales().contains(u"primera"_s));

        std::atomic<int> fallidas = 0;
        const auto anadir = [&](QChar letra) {
            Revisor revisor(ruta);
            for (int i = 0; i < 15; ++i) {
                try {
                    revisor.Anadir(letra + QString::number(i));
                } catch (const ErrorEjecucion&) {
                    ++fallidas;
                }
            }
        };
        std::thread a(anadir, u'a');
        std::thread b(anadir, u'b');
        a.join();
        b.join();
        QCOMPARE(fallidas.load(), 0);
        QCOMPARE(Revisor(ruta).personales().size(), 3 + 2 * 15);
    }

    void sugerencias()
    {
        const std::optional<Diccionario> es = DiccionarioEspanol();
        if (!es)
            QSKIP(faltaDiccionario);
        QTemporaryDir dir;
        Revisor revisor(dir.filePath(u"p.txt"_qs));
        QVERIFY(revisor.Cargar(*es));
        const QStringList sugerencias = revisor.Sugerencias(u"cancion"_qs, 6);
        QVERIFY(!sugerencias.isEmpty() && sugerencias.size() <= 6);
        QCOMPARE(sugerencias.first(), QStringLiteral("canción"));
    }
};

VELARTO_PRUEBA(PruebaOrtografia)
#include "tst_ortografia.moc"
