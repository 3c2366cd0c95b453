// The translation memory on real script folders and a real SQLite database: matches and their order,
// codes set aside, the several-ways notice, filling repetitions, saves and changed scripts, damaged and
// unwritable databases, and folders added in a bookmark file written on Windows.
#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "base_memoria.h"
#include "carpeta_prueba.h"
#include "memoria_traduccion.h"
#include "principal.h"
#include "relleno.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Tramo)

namespace {

// A script and its translation, each line ended by CR LF.
void EscribirPar(const QString& carpeta, const QString& nombre, const QStringList& originales,
                 const QStringList& traducciones)
{
    EscribirBytes(carpeta + u'/' + nombre, ArchivoCrLf(originales));
    if (!traducciones.isEmpty())
        EscribirBytes(carpeta + u"/Traducidos/" + nombre, ArchivoCrLf(traducciones));
}

// Codes as a script check would see them: anything in braces or angle brackets.
QString SinCodigos(QStringView texto)
{
    static const QRegularExpression codigo(u"\\{[^}]*\\}|<[^>]*>"_s);
    return texto.toString().remove(codigo);
}

// "100 % Sí. (a.txt:2)": a match as the tests compare it.
QString Describir(const Coincidencia& c)
{
    return u"%1 % %2 (%3:%4)"_s.arg(QString::number(c.porcentaje), c.traduccion, c.ubicacion.script,
                                    QString::number(c.ubicacion.linea + 1));
}

} // namespace

class PruebaMemoria final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
        carpeta_ = dir_->filePath(u"Capitulo2"_s);
        cache_ = dir_->filePath(u"cache"_s);
        QDir().mkpath(carpeta_ + u"/Traducidos");
        EscribirPar(carpeta_, u"a.txt"_s,
                    {u"Do you want to save the game?"_s, u"Yes."_s, u"The dragon sleeps in the cave."_s,
                     u"Hello {name}, welcome back!"_s},
                    {u"¿Quieres guardar la partida?"_s, u"Sí."_s, u"El dragón duerme en la cueva."_s,
                     u"¡Hola {name}, bienvenido!"_s});
        EscribirPar(carpeta_, u"b.txt"_s,
                    {u"Yes."_s, u"Do you want to load the game?"_s, u"The dragon sleeps in the big cave."_s,
                     u"Untranslated line."_s},
                    {u"Vale."_s, u"¿Quieres cargar la partida?"_s, u"El dragón duerme en la gran cueva."_s});
        EscribirPar(carpeta_, u"c.txt"_s, {u"Yes."_s, u"Nothing alike at all here."_s},
                    {u"Sí."_s, u"Nada parecido."_s});
    }

    void similitud_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("porcentaje");
        QTest::newRow("mayúsculas y signos aparte") << u"Save the game?"_s << u"SAVE THE GAME!"_s << 100;
        QTest::newRow("una palabra de cuatro") << u"Open the red door"_s << u"Open the blue door"_s << 75;
        QTest::newRow("una de más, redondeo abajo")
            << u"You found six gold coins here"_s << u"You found six old gold coins here"_s << 85;
        QTest::newRow("japonés carácter a carácter") << u"宝箱を開けた"_s << u"宝箱を開けない"_s << 71;
        QTest::newRow("nada en común") << u"Yes"_s << u"No"_s << 0;
    }
    void similitud()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, porcentaje);
        QCOMPARE(Porcentaje(Palabras(a), Palabras(b)), porcentaje);
        QCOMPARE(Porcentaje(Palabras(b), Palabras(a)), porcentaje);
    }

    void diferencias_data()
    {
        QTest::addColumn<QString>("recordado");
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QList<Tramo>>("tramos");
        QTest::newRow("palabra cambiada")
            << u"Open the red door."_s << u"Open the blue door."_s << QList<Tramo>{{9, 3}};
        QTest::newRow("palabras seguidas, un tramo")
            << u"You found 3 gold coins"_s << u"You found a sword"_s << QList<Tramo>{{10, 12}};
        QTest::newRow("signo distinto") << u"Yes!"_s << u"Yes."_s << QList<Tramo>{{3, 1}};
        QTest::newRow("solo mayúsculas") << u"YES"_s << u"yes"_s << QList<Tramo>{};
    }
    void diferencias()
    {
        QFETCH(QString, recordado);
        QFETCH(QString, actual);
        QFETCH(QList<Tramo>, tramos);
        QCOMPARE(Diferencias(recordado, actual), tramos);
    }

    void coincidencias_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QStringList>("esperadas");
        QTest::newRow("idéntica y parecida") << u"Do you want to save the game?"_s
                                             << QStringList{u"100 % ¿Quieres guardar la partida? (a.txt:1)"_s,
                                                            u"85 % ¿Quieres cargar la partida? (b.txt:2)"_s};
        QTest::newRow("sin mayúsculas ni idéntica")
            << u"the dragon sleeps in the cave."_s
            << QStringList{u"99 % El dragón duerme en la cueva. (a.txt:3)"_s,
                           u"85 % El dragón duerme en la gran cueva. (b.txt:3)"_s};
        QTest::newRow("más usada primero")
            << u"Yes."_s << QStringList{u"100 % Sí. (c.txt:1)"_s, u"100 % Vale. (b.txt:1)"_s};
        QTest::newRow("nada por debajo del 70 %") << u"Do you want to quit now?"_s << QStringList{};
        QTest::newRow("sin traducción no cuenta") << u"Untranslated line."_s << QStringList{};
    }
    void coincidencias()
    {
        QFETCH(QString, original);
        QFETCH(QStringList, esperadas);
        MemoriaTraduccion memoria(cache_);
        Abrir(memoria, carpeta_);
        QStringList halladas;
        for (const Coincidencia& c : Consultar(memoria, u"nuevo.txt"_s, 0, original).coincidencias)
            halladas.append(Describir(c));
        QCOMPARE(halladas, esperadas);
    }

    // The caret's own line, as last saved, is no match for itself; the differences are marked.
    void lineaPropiaYDiferencias()
    {
        MemoriaTraduccion memoria(cache_);
        Abrir(memoria, carpeta_);
        const ResultadoConsulta r =
            Consultar(memoria, u"b.txt"_s, 2, u"The dragon sleeps in the big cave."_s);
        QCOMPARE(r.coincidencias.size(), 1);
        const Coincidencia& c = r.coincidencias.front();
        QCOMPARE(Describir(c), u"85 % El dragón duerme en la cueva. (a.txt:3)"_s);
        QCOMPARE(c.ubicacion.carpeta, carpeta_);
        QCOMPARE(c.diferencias, (QList<Tramo>{}));
        const ResultadoConsulta otra = Consultar(memoria, u"a.txt"_s, 2, u"The dragon sleeps in the cave."_s);
        QCOMPARE(otra.coincidencias.front().diferencias, (QList<Tramo>{{25, 3}}));
    }

    void codigosApartados_data()
    {
        QTest::addColumn<bool>("quitar");
        QTest::addColumn<QStringList>("esperadas");
        QTest::newRow("códigos apartados")
            << true << QStringList{u"99 % ¡Hola {name}, bienvenido! (a.txt:4)"_s};
        QTest::newRow("códigos contados") << false << QStringList{};
    }
    void codigosApartados()
    {
        QFETCH(bool, quitar);
        QFETCH(QStringList, esperadas);
        MemoriaTraduccion memoria(cache_);
        memoria.Abrir(carpeta_, quitar ? MemoriaTraduccion::QuitarCodigos(SinCodigos) : nullptr);
        memoria.Esperar();
        QStringList halladas;
        for (const Coincidencia& c :
             Consultar(memoria, u"nuevo.txt"_s, 0, u"Hello <b>{player}</b>, welcome back!"_s).coincidencias)
            halladas.append(Describir(c));
        QCOMPARE(halladas, esperadas);
    }

    void maneras()
    {
        MemoriaTraduccion memoria(cache_);
        Abrir(memoria, carpeta_);
        const ResultadoConsulta r = Consultar(memoria, u"a.txt"_s, 1, u"Yes."_s);
        QCOMPARE(r.maneras.size(), 2);
        QCOMPARE(TextoManeras(r.maneras.size()), u"Traducido de 2 maneras distintas en la carpeta"_s);
        QCOMPARE(r.maneras[0].traduccion, u"Sí."_s);
        QCOMPARE(r.maneras[0].usos, 2);
        QCOMPARE(r.maneras[0].ubicaciones.size(), 2);
        QCOMPARE(r.maneras[1].traduccion, u"Vale."_s);
        QCOMPARE(r.maneras[1].ubicaciones, (QList<Ubicacion>{{carpeta_, u"b.txt"_s, 0}}));
    }

    void rellenar_data()
    {
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<QStringList>("esperadas");
        QTest::addColumn<int>("rellenadas");
        const QStringList originales{u"Yes."_s, u"Do you want to save the game?"_s, u"Unknown."_s, u"Yes."_s};
        QTest::newRow("caja vacía") << QStringList{QString()}
                                    << QStringList{u"Sí."_s, u"¿Quieres guardar la partida?"_s, QString(),
                                                   u"Sí."_s}
                                    << 3;
        QTest::newRow("idéntica al original y escrita")
            << QStringList{u"Yes."_s, u"Mi versión"_s}
            << QStringList{u"Sí."_s, u"Mi versión"_s, QString(), u"Sí."_s} << 2;
        QTest::newRow("nada que rellenar") << QStringList{u"Sí."_s, u"Otra"_s, u"X"_s, u"Sí."_s}
                                           << QStringList{u"Sí."_s, u"Otra"_s, u"X"_s, u"Sí."_s} << 0;
    }
    // "Yes." is "Sí." twice and "Vale." once in the folder: the most used way fills.
    void rellenar()
    {
        QFETCH(QStringList, lineas);
        QFETCH(QStringList, esperadas);
        QFETCH(int, rellenadas);
        MemoriaTraduccion memoria(cache_);
        Abrir(memoria, carpeta_);
        const QStringList originales{u"Yes."_s, u"Do you want to save the game?"_s, u"Unknown."_s, u"Yes."_s};
        const ResultadoRelleno r = RellenarEn(memoria, originales, lineas);
        QCOMPARE(r.lineas, esperadas);
        QCOMPARE(r.rellenadas, rellenadas);
    }

    void elegirForma_data()
    {
        QTest::addColumn<QList<FormaTraduccion>>("formas");
        QTest::addColumn<QString>("elegida");
        QTest::newRow("la más usada") << QList<FormaTraduccion>{{u"A"_s, 1, 50}, {u"B"_s, 3, 10}} << u"B"_s;
        QTest::newRow("empate: la más reciente")
            << QList<FormaTraduccion>{{u"A"_s, 2, 10}, {u"B"_s, 2, 50}} << u"B"_s;
    }
    void elegirForma()
    {
        QFETCH(QList<FormaTraduccion>, formas);
        QFETCH(QString, elegida);
        QCOMPARE(ElegirForma(formas)->traduccion, elegida);
    }

    void textos_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("ninguna") << TextoRelleno(0) << u"No hay líneas que rellenar desde la memoria."_s;
        QTest::newRow("una") << TextoRelleno(1)
                             << u"Se ha rellenado 1 línea con traducciones de la memoria."_s;
        QTest::newRow("varias") << TextoRelleno(37)
                                << u"Se han rellenado 37 líneas con traducciones de la memoria."_s;
        QTest::newRow("miles") << TextoRelleno(1234)
                               << u"Se han rellenado 1.234 líneas con traducciones de la memoria."_s;
        QTest::newRow("preparando") << TextoPreparando(412, 1023)
                                    << u"Preparando la memoria: 412 de 1.023 scripts"_s;
    }
    void textos()
    {
        QFETCH(QString, texto);
        QFETCH(QString, esperado);
        QCOMPARE(texto, esperado);
    }

    // A save is in the memory at once, before any other opening.
    void guardado()
    {
        MemoriaTraduccion memoria(cache_);
        Abrir(memoria, carpeta_);
        const QStringList lineas{u"Claro."_s, u"Lo que diga la partida"_s};
        EscribirBytes(carpeta_ + u"/Traducidos/c.txt", ArchivoCrLf(lineas));
        memoria.Guardado(u"c.txt"_s, lineas.join(u'\n'));
        QCOMPARE(Traducciones(Consultar(memoria, u"a.txt"_s, 1, u"Yes."_s)),
                 (QStringList{u"Claro."_s, u"Vale."_s}));
        // A script the opening did not see yet.
        EscribirPar(carpeta_, u"nuevo.txt"_s, {u"Good morning, traveller."_s}, {u"Buenos días, viajero."_s});
        memoria.Guardado(u"nuevo.txt"_s, u"Buenos días, viajero."_s);
        QCOMPARE(Traducciones(Consultar(memoria, u"a.txt"_s, 0, u"Good morning, traveller!"_s)),
                 QStringList{u"Buenos días, viajero."_s});
    }

    // What the folder's status reads from the index, and a script in Windows-1252 read as a load reads it.
    void resumen()
    {
        EscribirBytes(carpeta_ + u"/e.txt", "Caf\xe9\r\nTea\r\n\r\n");
        EscribirBytes(carpeta_ + u"/Traducidos/e.txt", "Caf\xe9\r\n\r\nT\xe9\r\nDe m\xe1s\r\n");
        QFile::remove(carpeta_ + u"/Traducidos/c.txt");
        QDir().mkpath(cache_);
        BaseMemoria base(carpeta_, BaseMemoria::RutaBase(cache_, carpeta_));
        for (const QString& nombre : base.Preparar({}))
            base.Indexar(nombre, {}, SistemaReal());
        const auto fecha = [&](const QString& nombre) {
            return HuellaDe(carpeta_ + u"/Traducidos/" + nombre).fecha;
        };
        const QList<BaseMemoria::ResumenScript> esperado{{u"a.txt"_s, 4, 4, 4, fecha(u"a.txt"_s)},
                                                         {u"b.txt"_s, 4, 3, 3, fecha(u"b.txt"_s)},
                                                         {u"c.txt"_s, 2, 0, 0, -1},
                                                         {u"e.txt"_s, 3, 4, 2, fecha(u"e.txt"_s)}};
        QCOMPARE(base.Resumen(), esperado);
        QVERIFY(base.IdOriginal(u"Café"));
    }

    // A script whose files are let go at every wait is read again from where it stopped: no line is
    // lost, repeated or paired with another's translation.
    void indexadoSoltando_data()
    {
        QTest::addColumn<bool>("soltando");
        QTest::newRow("sin esperas") << false;
        QTest::newRow("soltando en cada espera") << true;
    }
    void indexadoSoltando()
    {
        QFETCH(bool, soltando);
        QStringList originales;
        QStringList traducciones;
        for (int i = 0; i < 10000; ++i) {
            originales.append(u"Línea %1"_s.arg(i));
            traducciones.append(i % 3 ? u"Traducción %1"_s.arg(i) : QString());
        }
        EscribirPar(carpeta_, u"largo.txt"_s, originales, traducciones);
        QDir().mkpath(cache_);
        BaseMemoria base(carpeta_, BaseMemoria::RutaBase(cache_, carpeta_));
        int esperas = 0;
        base.Indexar(u"largo.txt"_s, {}, SistemaReal(), [&](const std::function<void()>& soltar) {
            ++esperas;
            if (soltando)
                soltar();
        });
        QCOMPARE(esperas, 2);
        const qint64 fecha = HuellaDe(carpeta_ + u"/Traducidos/largo.txt").fecha;
        QCOMPARE(base.Resumen().constLast(),
                 (BaseMemoria::ResumenScript{u"largo.txt"_s, 10000, 10000, 6666, fecha}));
        base.Catalogar(true);
        QVERIFY(base.IdOriginal(u"Línea 9999"));
    }

    // While paused (a load under way) nothing is indexed, yet lookups are answered; the end of the pause
    // lets the indexing go on, and a test waiting for the memory sees it finished.
    void pausada()
    {
        MemoriaTraduccion memoria(cache_);
        memoria.pausar(true);
        Abrir(memoria, carpeta_);
        QCOMPARE(Traducciones(Consultar(memoria, u"nuevo.txt"_s, 0, u"Yes."_s)), QStringList());
        QVERIFY(memoria.preparando());
        memoria.pausar(false);
        memoria.Esperar();
        QStringList halladas = Traducciones(Consultar(memoria, u"nuevo.txt"_s, 0, u"Yes."_s));
        halladas.sort();
        QCOMPARE(halladas, (QStringList{u"Sí."_s, u"Vale."_s}));
    }

    // A script changed, added or removed since the last opening is indexed again or forgotten; a file
    // the editor refuses is left out without blocking.
    void cambiosAlAbrir()
    {
        {
            MemoriaTraduccion memoria(cache_);
            Abrir(memoria, carpeta_);
        }
        EscribirBytes(carpeta_ + u"/Traducidos/c.txt", ArchivoCrLf({u"Afirmativo."_s}));
        QFile::remove(carpeta_ + u"/b.txt");
        EscribirPar(carpeta_, u"d.txt"_s, {u"Yes."_s}, {u"Desde luego."_s});
        QCOMPARE(::mkfifo(QFile::encodeName(carpeta_ + u"/tuberia.txt").constData(), 0600), 0);
        MemoriaTraduccion memoria(cache_);
        QSignalSpy progreso(&memoria, &MemoriaTraduccion::progreso);
        Abrir(memoria, carpeta_);
        QStringList halladas = Traducciones(Consultar(memoria, u"a.txt"_s, 1, u"Yes."_s));
        halladas.sort();
        QCOMPARE(halladas, (QStringList{u"Afirmativo."_s, u"Desde luego."_s}));
        QCOMPARE(progreso.last(), (QVariantList{3, 3})); // the pipe is no script
    }

    void baseDanada_data()
    {
        QTest::addColumn<bool>("conCabecera");
        QTest::newRow("no es una base") << false;
        QTest::newRow("páginas dañadas") << true;
    }
    void baseDanada()
    {
        QFETCH(bool, conCabecera);
        QString ruta;
        {
            MemoriaTraduccion memoria(cache_);
            Abrir(memoria, carpeta_);
            ruta = QDir(cache_ + u"/memoria").entryInfoList({u"*.sqlite"_s}).value(0).filePath();
        }
        QVERIFY(!ruta.isEmpty());
        QByteArray bytes = LeerBytes(ruta);
        if (conCabecera)
            bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\xA5'));
        else
            bytes = QByteArray(bytes.size(), 'x');
        EscribirBytes(ruta, bytes);
        MemoriaTraduccion memoria(cache_);
        QSignalSpy avisos(&memoria, &MemoriaTraduccion::noDisponible);
        QSignalSpy progreso(&memoria, &MemoriaTraduccion::progreso);
        Abrir(memoria, carpeta_);
        QCOMPARE(Traducciones(Consultar(memoria, u"nuevo.txt"_s, 0, u"Yes."_s)),
                 (QStringList{u"Sí."_s, u"Vale."_s}));
        QCOMPARE(avisos.count(), 0);
        QCOMPARE(progreso.last(), (QVariantList{3, 3}));
    }

    // A cache folder that cannot be made, a database that cannot be opened (root may write anything, so
    // both are made impossible by something else in their place): the memory says why once per opening,
    // and nothing appears beside the scripts.
    void baseNoEscribible_data()
    {
        QTest::addColumn<bool>("carpeta");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("carpeta de la caché imposible")
            << true << u"no se puede crear la carpeta {caché}/memoria (No se encontró la ruta de acceso)"_s;
        QTest::newRow("base imposible") << false << u"no se puede abrir ni crear {base}"_s;
    }
    void baseNoEscribible()
    {
        QFETCH(bool, carpeta);
        QFETCH(QString, motivo);
        const QString ruta = BaseMemoria::RutaBase(cache_ + u"/memoria", carpeta_);
        motivo.replace(u"{caché}"_s, cache_).replace(u"{base}"_s, ruta);
        if (carpeta)
            EscribirBytes(cache_, "un archivo donde iría la carpeta");
        else
            QDir().mkpath(ruta);
        const QStringList antes = Listar(carpeta_);
        MemoriaTraduccion memoria(cache_);
        QSignalSpy avisos(&memoria, &MemoriaTraduccion::noDisponible);
        Abrir(memoria, carpeta_);
        QCOMPARE(Traducciones(Consultar(memoria, u"nuevo.txt"_s, 0, u"Yes."_s)), QStringList());
        Abrir(memoria, carpeta_);
        QCOMPARE(avisos.count(), 2);
        QCOMPARE(avisos.first().first().toString(),
                 u"La memoria de traducción no está disponible: %1."_s.arg(motivo));
        QCOMPARE(Listar(carpeta_), antes);
    }

    // The added folder in a bookmark file written on Windows counts, and adding or removing one changes
    // only the section's lines.
    void carpetaAnadida()
    {
        const QString capitulo1 = dir_->filePath(u"Capitulo1"_s);
        const QString extra = dir_->filePath(u"Extra"_s);
        EscribirPar(capitulo1, u"uno.txt"_s, {u"Where is the sword of light?"_s},
                    {u"¿Dónde está la espada de luz?"_s});
        QDir().mkpath(extra);
        const QByteArray windows = LeerBytes(QFINDTESTDATA(u"datos/windows.vrk"_s));
        const QString marcador = carpeta_ + u"/Velarto.vrk";
        EscribirBytes(marcador, windows);

        MemoriaTraduccion memoria(cache_);
        Abrir(memoria, carpeta_);
        QCOMPARE(memoria.CarpetasAnadidas(), QStringList{capitulo1});
        const ResultadoConsulta r = Consultar(memoria, u"nuevo.txt"_s, 0, u"Where is the sword of light?"_s);
        QCOMPARE(r.coincidencias.size(), 1);
        QCOMPARE(r.coincidencias.front().ubicacion, (Ubicacion{capitulo1, u"uno.txt"_s, 0}));

        QVERIFY(memoria.AnadirCarpeta(extra));
        memoria.Esperar();
        QVERIFY(!memoria.AnadirCarpeta(capitulo1 + u"/"));
        QCOMPARE(LeerBytes(marcador),
                 QByteArray(windows).replace(
                     "Carpeta1=../Capitulo1\r\n",
                     QByteArray("Carpeta1=../Capitulo1\r\nCARPETA2=" + extra.toUtf8() + "\r\n")));
        QVERIFY(memoria.QuitarCarpeta(capitulo1));
        QCOMPARE(LeerBytes(marcador),
                 QByteArray(windows).replace("Carpeta1=../Capitulo1\r\n",
                                             QByteArray("Carpeta1=" + extra.toUtf8() + "\r\nCARPETA2=\r\n")));
        QCOMPARE(
            Consultar(memoria, u"nuevo.txt"_s, 0, u"Where is the sword of light?"_s).coincidencias.size(), 0);
    }

    // Only the newest lookup is answered.
    void consultaMasNueva()
    {
        MemoriaTraduccion memoria(cache_);
        memoria.Abrir(carpeta_);
        QList<quint64> respondidas;
        connect(&memoria, &MemoriaTraduccion::consultada, this,
                [&](const ResultadoConsulta& r) { respondidas.append(r.numero); });
        memoria.Consultar(u"a.txt"_s, 0, u"Yes."_s);
        const quint64 ultima = memoria.Consultar(u"a.txt"_s, 1, u"Yes."_s);
        memoria.Esperar();
        QCoreApplication::processEvents();
        QCOMPARE(respondidas, QList<quint64>{ultima});
    }

private:
    // Opens a folder's memory and waits until it is indexed.
    static void Abrir(MemoriaTraduccion& memoria, const QString& carpeta)
    {
        memoria.Abrir(carpeta);
        memoria.Esperar();
        QCoreApplication::processEvents();
    }

    ResultadoConsulta Consultar(MemoriaTraduccion& memoria, const QString& script, qsizetype linea,
                                const QString& original)
    {
        ResultadoConsulta resultado;
        const QMetaObject::Connection conexion = connect(&memoria, &MemoriaTraduccion::consultada, this,
                                                         [&](const ResultadoConsulta& r) { resultado = r; });
        const quint64 numero = memoria.Consultar(script, linea, original);
        memoria.Esperar();
        QCoreApplication::processEvents();
        disconnect(conexion);
        if (resultado.numero != numero)
            qWarning("no answer to lookup %llu", numero);
        return resultado;
    }

    ResultadoRelleno RellenarEn(MemoriaTraduccion& memoria, const QStringList& originales,
                                const QStringList& lineas)
    {
        ResultadoRelleno resultado;
        const QMetaObject::Connection conexion = connect(&memoria, &MemoriaTraduccion::rellenada, this,
                                                         [&](const ResultadoRelleno& r) { resultado = r; });
        memoria.Rellenar(originales, lineas);
        memoria.Esperar();
        QCoreApplication::processEvents();
        disconnect(conexion);
        return resultado;
    }

    static QStringList Traducciones(const ResultadoConsulta& resultado)
    {
        QStringList traducciones;
        for (const Coincidencia& c : resultado.coincidencias)
            traducciones.append(c.traduccion);
        return traducciones;
    }

    static QStringList Listar(const QString& carpeta)
    {
        QStringList nombres;
        QDirIterator it(carpeta, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            nombres.append(it.next());
        nombres.sort();
        return nombres;
    }

    std::optional<QTemporaryDir> dir_;
    QString carpeta_;
    QString cache_;
};

VELARTO_PRUEBA(PruebaMemoria)
#include "tst_memoria.moc"
