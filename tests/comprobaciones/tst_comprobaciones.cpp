// The checks library on its own: one table of line pairs per check, with the pairs that must not be
// flagged; the folder's own codes from a bookmark file written on Windows; ignored warnings and their
// return; the per-line store under random edits against a fresh check, and its next and previous line.
#include <QDir>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "carpeta_prueba.h"
#include "codigos_carpeta.h"
#include "principal.h"
#include "problemas_guion.h"

using namespace Qt::StringLiterals;

namespace {

QStringList Textos(const QList<Problema>& problemas)
{
    QStringList textos;
    for (const Problema& problema : problemas)
        textos.append(problema.texto);
    return textos;
}

QStringList Codigos(const PatronCodigos& patron, const QString& linea)
{
    QStringList codigos;
    for (const TramoCodigo& tramo : patron.codigos(linea))
        codigos.append(linea.mid(tramo.inicio, tramo.largo));
    return codigos;
}

// The problems of each translation line, as a store checking the whole pair at once finds them.
QList<QStringList> TodosLosProblemas(const ProblemasGuion& guion)
{
    QList<QStringList> todos;
    for (int linea = 0; linea < guion.lineasTraduccion(); ++linea)
        todos.append(Textos(guion.problemas(linea)));
    return todos;
}

QString Aleatoria(QRandomGenerator& azar)
{
    static const QStringList piezas = {"¿",   "?", "¡",   "!",    " ", "  ", "%s",
                                       "{A}", "3", "1,5", "hola", ".", "x"};
    QString linea;
    for (int i = int(azar.bounded(5)); i > 0; --i)
        linea += piezas[int(azar.bounded(piezas.size()))];
    return linea;
}

} // namespace

class PruebaComprobaciones final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

    // The problems of translation line `linea` with the given checks.
    static QStringList Problemas(const QStringList& original, const QStringList& traduccion, int linea = 0,
                                 Comprobaciones comprobaciones = todasComprobaciones,
                                 std::optional<Codificacion> codificacion = {})
    {
        TextosEnLista textos;
        textos.original = original;
        textos.traduccion = traduccion;
        ProblemasGuion guion(textos);
        guion.ponerComprobaciones(comprobaciones);
        guion.ponerCodificacion(codificacion);
        guion.releer();
        return Textos(guion.problemas(linea));
    }

    // The columns of a table of single line pairs.
    static void Columnas()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("traduccion");
        QTest::addColumn<QStringList>("esperados");
    }

    static void ComprobarPar(Comprobacion comprobacion)
    {
        QFETCH(QString, original);
        QFETCH(QString, traduccion);
        QFETCH(QStringList, esperados);
        // Only the check under test: the others would flag the row's other differences.
        QCOMPARE(Problemas({original}, {traduccion}, 0, comprobacion), esperados);
    }

private Q_SLOTS:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    void escaner_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::addColumn<QStringList>("codigos");
        QTest::newRow("llaves anidadas") << u"{a} x {{b} c} {}"_s << QStringList{"{a}", "{{b} c}", "{}"};
        QTest::newRow("etiquetas") << u"<color=red>Fuego</color>"_s << QStringList{"<color=red>", "</color>"};
        QTest::newRow("corchetes cerrados en la línea") << u"[PAUSA] y [nota"_s << QStringList{"[PAUSA]"};
        QTest::newRow("printf") << u"%s %5.2f %-10s %ld %% %1$s %+.3e"_s
                                << QStringList{"%s", "%5.2f", "%-10s", "%ld", "%%", "%1$s", "%+.3e"};
        QTest::newRow("numerados") << u"%1 y %9"_s << QStringList{"%1", "%9"};
        QTest::newRow("porcentaje que no es código") << u"al 100% seguro, 50%"_s << QStringList{};
        QTest::newRow("escapes") << u"a\\nb\\t\\\"\\\\\\x41g \\u00e9 \\U0001F600"_s
                                 << QStringList{"\\n",   "\\t",     "\\\"",       "\\\\",
                                                "\\x41", "\\u00e9", "\\U0001F600"};
        QTest::newRow("barra al final no es código") << u"fin\\"_s << QStringList{};
        QTest::newRow("unos dentro de otros")
            << u"<b>[x]</b> %10s %05d"_s << QStringList{"<b>", "[x]", "</b>", "%10s", "%05d"};
        // Unclosed brackets cost one pass, not one per bracket.
        QTest::newRow("cien mil corchetes abiertos") << QString(100000, u'[') << QStringList{};
    }
    void escaner()
    {
        QFETCH(QString, linea);
        QTEST(Codigos(PatronCodigos(), linea), "codigos");
    }

    void codigos_data()
    {
        Columnas();
        QTest::newRow("falta una llave")
            << u"Hola, {PLAYER}."_s << u"Hola."_s << QStringList{"Falta «{PLAYER}»"};
        QTest::newRow("sobra un printf")
            << u"%d monedas"_s << u"%d monedas %d"_s << QStringList{"Sobra «%d»"};
        QTest::newRow("etiqueta de cierre")
            << u"<b>Fuego</b>"_s << u"<b>Fuego"_s << QStringList{"Falta «</b>»"};
        QTest::newRow("repetido una vez de menos") << u"%s y %s"_s << u"%s"_s << QStringList{"Falta «%s»"};
        QTest::newRow("escape") << u"Uno\\nDos"_s << u"Uno Dos"_s << QStringList{"Falta «\\n»"};
        QTest::newRow("mayúsculas distintas")
            << u"{Player}"_s << u"{player}"_s << QStringList{"Falta «{Player}»", "Sobra «{player}»"};
        QTest::newRow("sin posición en otro orden")
            << u"%s tiene %d"_s << u"%d los tiene %s"_s << QStringList{"Los códigos van en otro orden"};
        QTest::newRow("llaves vacías en otro orden")
            << u"{} de {:.2f}"_s << u"{:.2f} de {}"_s << QStringList{};
        QTest::newRow("con posición en otro orden")
            << u"%1$s tiene %2$d"_s << u"%2$d los tiene %1$s"_s << QStringList{};
        QTest::newRow("numerados en otro orden") << u"%1 de %2"_s << u"%2 de %1"_s << QStringList{};
        QTest::newRow("con nombre en otro orden")
            << u"{A} da {B}"_s << u"{B} recibe de {A}"_s << QStringList{};
        QTest::newRow("etiquetas en otro orden")
            << u"<b>a</b> <i>b</i>"_s << u"<i>b</i> <b>a</b>"_s << QStringList{};
    }
    void codigos() { ComprobarPar(Comprobacion::Codigos); }

    void numeros_data()
    {
        Columnas();
        QTest::newRow("falta") << u"You have 3 lives"_s << u"Tienes vidas"_s
                               << QStringList{"Falta el número 3"};
        QTest::newRow("sobra") << u"Level"_s << u"Nivel 5"_s << QStringList{"Sobra el número 5"};
        QTest::newRow("otro valor") << u"10 apples"_s << u"100 manzanas"_s
                                    << QStringList{"Falta el número 10", "Sobra el número 100"};
        QTest::newRow("como multiconjunto")
            << u"1 and 1"_s << u"1 y 2"_s << QStringList{"Falta el número 1", "Sobra el número 2"};
        QTest::newRow("se muestra como está escrito")
            << u"Pay 1,500 gold"_s << u"Paga oro"_s << QStringList{"Falta el número 1,500"};
        QTest::newRow("miles con punto") << u"1,500 gold"_s << u"1.500 de oro"_s << QStringList{};
        QTest::newRow("miles con espacio") << u"15,000 points"_s << u"15 000 puntos"_s << QStringList{};
        QTest::newRow("miles con espacio fino") << u"1,000"_s << u"1\u202F000"_s << QStringList{};
        QTest::newRow("miles sin separador") << u"1,000,000"_s << u"1000000"_s << QStringList{};
        QTest::newRow("decimal con coma") << u"3.5 kg"_s << u"3,5 kg"_s << QStringList{};
        QTest::newRow("ceros decimales") << u"2.50"_s << u"2,5"_s << QStringList{};
        QTest::newRow("miles y decimales") << u"1,234.5"_s << u"1.234,5"_s << QStringList{};
        QTest::newRow("cero coma tres cifras") << u"0.125"_s << u"0,125"_s << QStringList{};
        QTest::newRow("cifras de ancho completo") << u"３個"_s << u"3 piezas"_s << QStringList{};
        QTest::newRow("espacio ordinario en cuatro cifras")
            << u"3 100"_s << u"3100"_s
            << QStringList{"Falta el número 3", "Falta el número 100", "Sobra el número 3100"};
        QTest::newRow("dentro de códigos no cuentan")
            << u"%5.2f {0} <size=12>"_s << u"%5.2f {0} <size=12>"_s << QStringList{};
        QTest::newRow("junto a un código")
            << u"{0} and 1"_s << u"{0} y"_s << QStringList{"Falta el número 1"};
    }
    void numeros() { ComprobarPar(Comprobacion::Numeros); }

    void espacios_data()
    {
        Columnas();
        QTest::newRow("principio") << u" Hello"_s << u"Hola"_s
                                   << QStringList{"Espacio al principio distinto del original"};
        QTest::newRow("tabulador por espacio")
            << u"\tHello"_s << u" Hola"_s << QStringList{"Espacio al principio distinto del original"};
        QTest::newRow("final") << u"Hello"_s << u"Hola "_s
                               << QStringList{"Espacio al final distinto del original"};
        QTest::newRow("dos seguidos")
            << u"Hello world"_s << u"Hola  mundo"_s << QStringList{"Dos espacios seguidos"};
        QTest::newRow("dos seguidos también en el original")
            << u"Hello  world"_s << u"Hola  mundo"_s << QStringList{};
        QTest::newRow("iguales en los bordes") << u"  Hello "_s << u"  Hola "_s << QStringList{};
    }
    void espacios() { ComprobarPar(Comprobacion::Espacios); }

    void puntuacion_data()
    {
        QTest::addColumn<QStringList>("original");
        QTest::addColumn<QStringList>("traduccion");
        QTest::addColumn<int>("linea");
        QTest::addColumn<QStringList>("esperados");
        const QString otraFinal = u"Termina con otra puntuación que el original"_s;
        QTest::newRow("falta ¿") << QStringList{"Coming?"} << QStringList{"Vienes?"} << 0
                                 << QStringList{"Falta «¿»"};
        QTest::newRow("falta ?") << QStringList{"Coming?"} << QStringList{"¿Vienes"} << 0
                                 << QStringList{"Falta «?»", otraFinal};
        QTest::newRow("falta ¡") << QStringList{"Go!"} << QStringList{"Vamos!"} << 0
                                 << QStringList{"Falta «¡»"};
        QTest::newRow("falta !") << QStringList{"Go"} << QStringList{"¡Vamos"} << 0
                                 << QStringList{"Falta «!»"};
        QTest::newRow("completa") << QStringList{"Coming?"} << QStringList{"¿¡Vienes!?"} << 0
                                  << QStringList{};
        QTest::newRow("pregunta en dos líneas, la primera")
            << QStringList{"Do you want to come", "with me?"} << QStringList{"¿Quieres venir", "conmigo?"}
            << 0 << QStringList{};
        QTest::newRow("pregunta en dos líneas, la segunda")
            << QStringList{"Do you want to come", "with me?"} << QStringList{"¿Quieres venir", "conmigo?"}
            << 1 << QStringList{};
        QTest::newRow("pregunta en tres líneas, la última")
            << QStringList{"A", "B", "C?"} << QStringList{"¿Has visto", "a", "María?"} << 2 << QStringList{};
        QTest::newRow("un punto corta la frase")
            << QStringList{"Hi.", "What?"} << QStringList{"¡Hola.", "Qué!"} << 0 << QStringList{"Falta «!»"};
        QTest::newRow("y la otra mitad también")
            << QStringList{"Hi.", "What?"} << QStringList{"¡Hola.", "Qué!"} << 1
            << QStringList{"Falta «¡»", otraFinal};
        QTest::newRow("una línea vacía corta la frase")
            << QStringList{"A", "", "B?"} << QStringList{"¿Quieres", "", "venir?"} << 0
            << QStringList{"Falta «?»"};
        QTest::newRow("otra final") << QStringList{"Wait."} << QStringList{"Espera"} << 0
                                    << QStringList{otraFinal};
        QTest::newRow("puntos suspensivos")
            << QStringList{"Wait..."} << QStringList{"Espera…"} << 0 << QStringList{};
        QTest::newRow("final tras un código y comillas")
            << QStringList{"He said \"go.\"\\n"} << QStringList{"Dijo «ve.»\\n"} << 0 << QStringList{};
        QTest::newRow("punto japonés")
            << QStringList{"行こう。"} << QStringList{"Vamos."} << 0 << QStringList{};
        QTest::newRow("original sin final")
            << QStringList{"Hello"} << QStringList{"Hola."} << 0 << QStringList{};
    }
    void puntuacion()
    {
        QFETCH(QStringList, original);
        QFETCH(QStringList, traduccion);
        QFETCH(int, linea);
        QTEST(Problemas(original, traduccion, linea, Comprobacion::Puntuacion), "esperados");
    }

    void sinTraducir_data()
    {
        Columnas();
        QTest::newRow("igual, dos palabras")
            << u"Game Over"_s << u"Game Over"_s << QStringList{"Igual que el original"};
        QTest::newRow("igual, una palabra") << u"OK"_s << u"OK"_s << QStringList{};
        QTest::newRow("igual, solo códigos") << u"{A} {B} 3"_s << u"{A} {B} 3"_s << QStringList{};
        QTest::newRow("vacía") << u"Hello"_s << QString() << QStringList{"Línea vacía"};
        QTest::newRow("en blanco") << u"Hello"_s << u"  "_s << QStringList{"Línea vacía"};
        QTest::newRow("las dos vacías") << QString() << QString() << QStringList{};
    }
    void sinTraducir() { ComprobarPar(Comprobacion::SinTraducir); }

    // An empty translation line says only that it is empty, whatever it lacks.
    void vaciaSolamente()
    {
        QCOMPARE(Problemas({u" %s has 3 {A}. "_s}, {QString()}), QStringList{"Línea vacía"});
    }

    void codificacion_data()
    {
        QTest::addColumn<QString>("codificacion");
        QTest::addColumn<QString>("traduccion");
        QTest::addColumn<QStringList>("esperados");
        QTest::newRow("windows-1252") << u"windows-1252"_s << u"Ā ā € ñ ā"_s
                                      << QStringList{"«Ā» no cabe en Europa occidental (Windows-1252)",
                                                     "«ā» no cabe en Europa occidental (Windows-1252)"};
        QTest::newRow("par de sustitutos") << u"windows-1252"_s << u"a 😀"_s
                                           << QStringList{"«😀» no cabe en Europa occidental (Windows-1252)"};
        QTest::newRow("shift-jis") << u"Shift_JIS"_s << u"Canción 日本"_s
                                   << QStringList{"«ó» no cabe en Japonés (Shift-JIS)"};
        QTest::newRow("cirílico") << u"windows-1251"_s << u"Привет, ñ"_s
                                  << QStringList{"«ñ» no cabe en Cirílico (Windows-1251)"};
        QTest::newRow("utf-8 lo admite todo") << u"UTF-8"_s << u"Ā 😀"_s << QStringList{};
    }
    void codificacion()
    {
        QFETCH(QString, codificacion);
        QFETCH(QString, traduccion);
        QTEST(Problemas({u"x"_s}, {traduccion}, 0, Comprobacion::Codificacion,
                        Codificacion::PorNombre(codificacion)),
              "esperados");
    }

    void lineasFaltantes()
    {
        TextosEnLista textos;
        textos.original = QStringList(200, u"a"_s);
        textos.traduccion = QStringList(197, u"a"_s);
        ProblemasGuion guion(textos);
        guion.releer();
        QCOMPARE(guion.faltantes(), 3);
        QCOMPARE(guion.problemaFaltantes().texto, u"Faltan 3 líneas (de la 198 a la 200)"_s);
        QCOMPARE(guion.resumen(), u"1 problema en 1 línea"_s);
        guion.ponerComprobaciones(todasComprobaciones & ~Comprobaciones(Comprobacion::LineasFaltantes));
        QCOMPARE(guion.resumen(), u"Ningún problema"_s);
    }

    // Turning one check off takes away its problems and only its.
    void interruptores()
    {
        TextosEnLista textos;
        textos.original = QStringList{u" %s has 3 {A}? \\n"_s, u"Game over"_s};
        textos.traduccion = QStringList{u"{B}  tiene 4 ā¿"_s, u"Game over"_s};
        ProblemasGuion guion(textos);
        guion.ponerCodificacion(Codificacion::Windows1252);
        guion.releer();
        // In the order of the checks, each once.
        const auto comprobacionesEn = [&] {
            Comprobaciones encontradas;
            for (int linea = 0; linea < 2; ++linea)
                for (const Problema& problema : guion.problemas(linea))
                    encontradas |= problema.comprobacion;
            QList<Comprobacion> lista;
            for (const Comprobacion comprobacion : ComprobacionesElegibles())
                if (encontradas.testFlag(comprobacion))
                    lista.append(comprobacion);
            return lista;
        };
        QList<Comprobacion> todas = ComprobacionesElegibles();
        todas.removeOne(Comprobacion::CodigosCarpeta);
        QCOMPARE(comprobacionesEn(), todas);
        for (const Comprobacion apagada : todas) {
            guion.ponerComprobaciones(todasComprobaciones & ~Comprobaciones(apagada));
            QList<Comprobacion> esperadas = todas;
            esperadas.removeOne(apagada);
            QCOMPARE(comprobacionesEn(), esperadas);
        }
    }

    void ajustes()
    {
        QSettings ajustes(dir_->filePath(u"ajustes.ini"_s), QSettings::IniFormat);
        QCOMPARE(LeerComprobaciones(ajustes), todasComprobaciones);
        const Comprobaciones elegidas = todasComprobaciones & ~Comprobaciones(Comprobacion::Numeros);
        EscribirComprobaciones(ajustes, elegidas);
        QCOMPARE(LeerComprobaciones(ajustes), elegidas);
    }

    void patron_data()
    {
        QTest::addColumn<QString>("expresion");
        QTest::addColumn<QString>("linea");
        QTest::addColumn<QStringList>("codigos");
        QTest::addColumn<QString>("error");
        QTest::newRow("propia en lugar de las de siempre")
            << u"\\$[A-Z]+\\$"_s << u"Hola $NOMBRE$, {x} %s"_s << QStringList{"$NOMBRE$"} << QString();
        QTest::newRow("vacía: las de siempre")
            << u"  "_s << u"{x} %s"_s << QStringList{"{x}", "%s"} << QString();
        QTest::newRow("coincidencias vacías no cuentan")
            << u"@*"_s << u"a @@ b"_s << QStringList{"@@"} << QString();
        QTest::newRow("no válida: las de siempre")
            << u"([a-z]"_s << u"{x}"_s << QStringList{"{x}"}
            << u"La expresión no es válida: falta un «)» que cierre el grupo (carácter 7)."_s;
        QTest::newRow("corchete sin cerrar")
            << u"[a-z"_s << u"{x}"_s << QStringList{"{x}"}
            << u"La expresión no es válida: falta el «]» que cierre la lista de caracteres (carácter 5)."_s;
    }
    void patron()
    {
        QFETCH(QString, expresion);
        QFETCH(QString, linea);
        QFETCH(QString, error);
        const PatronCodigos patron(expresion);
        QTEST(Codigos(patron, linea), "codigos");
        QCOMPARE(patron.error(), error);
        QCOMPARE(patron.esValido(), error.isEmpty());
    }

    // The pattern as a bookmark file written on Windows keeps it, and written back changing its line only.
    void patronCarpeta_data()
    {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QString>("leido");
        QTest::addColumn<QString>("nuevo");
        QTest::addColumn<QByteArray>("despues");
        const QByteArray windows = LeerBytes(QStringLiteral(VELARTO_DATOS "/windows.vrk"));
        const QString suyo = u"\\$[A-Z_]+\\$|@[0-9]+"_s;
        const QByteArray linea = "Codigos=" + suyo.toLatin1();
        QTest::newRow("otro patrón") << windows << suyo << u"<[^>]*> x"_s
                                     << QByteArray(windows).replace(linea, "Codigos=\"<[^>]*> x\"");
        QTest::newRow("comillas y blancos en los bordes")
            << windows << suyo << u" \"x\" "_s << QByteArray(windows).replace(linea, "Codigos=\" \"x\" \"");
        QTest::newRow("vacío: las de siempre")
            << windows << suyo << QString() << QByteArray(windows).replace(linea, "Codigos=");
        QTest::newRow("vacío sin patrón no crea nada")
            << QByteArray() << QString() << QString() << QByteArray();
        QTest::newRow("sección nueva")
            << QByteArray("[Marcador]\r\nINDICE=3\r\n") << QString() << u"@\\d+"_s
            << QByteArray("[Marcador]\r\nINDICE=3\r\n[Comprobaciones]\r\nCODIGOS=\"@\\d+\"\r\n");
    }
    void patronCarpeta()
    {
        QFETCH(QByteArray, antes);
        QFETCH(QString, nuevo);
        QFETCH(QByteArray, despues);
        const QString ruta = dir_->filePath(u"Velarto.vrk"_s);
        if (!antes.isEmpty())
            EscribirBytes(ruta, antes);
        QTEST(LeerCodigosCarpeta(dir_->path()), "leido");
        EscribirCodigosCarpeta(dir_->path(), nuevo);
        QCOMPARE(QFileInfo::exists(ruta), !despues.isEmpty());
        if (!despues.isEmpty())
            QCOMPARE(LeerBytes(ruta), despues);
        QCOMPARE(LeerCodigosCarpeta(dir_->path()), nuevo);
    }

    // The folder's codes replace the defaults in the checks while their check is on.
    void patronEnLasComprobaciones()
    {
        TextosEnLista textos;
        textos.original = QStringList{u"Hola $NOMBRE$ {x}"_s};
        textos.traduccion = QStringList{u"Hola {x}"_s};
        ProblemasGuion guion(textos);
        guion.releer();
        QCOMPARE(Textos(guion.problemas(0)), QStringList{});
        guion.ponerPatron(PatronCodigos(u"\\$[A-Z]+\\$"_s));
        QCOMPARE(Textos(guion.problemas(0)), QStringList{"Falta «$NOMBRE$»"});
        guion.ponerComprobaciones(todasComprobaciones & ~Comprobaciones(Comprobacion::CodigosCarpeta));
        QCOMPARE(Textos(guion.problemas(0)), QStringList{});
    }

    // An ignored warning is gone until either of its lines changes, and kept in the data folder.
    void ignorar()
    {
        TextosEnLista textos;
        textos.original = QStringList{u"You have %d coins"_s, u"Hello world"_s};
        textos.traduccion = QStringList{u"Tienes monedas"_s, u"Hello world"_s};
        const QString rutaTraduccion = dir_->filePath(u"juego/Traducidos/intro.txt"_s);
        const QString datos = dir_->filePath(u"datos"_s);
        ProblemasGuion guion(textos);
        guion.ponerIgnorados(AvisosIgnorados::Leer(datos, rutaTraduccion));
        guion.releer();
        QCOMPARE(guion.resumen(), u"2 problemas en 2 líneas"_s);
        guion.ignorar(0, guion.problemas(0).constFirst());
        guion.ignorados().guardar();
        QCOMPARE(Textos(guion.problemas(0)), QStringList{});
        QCOMPARE(guion.resumen(), u"1 problema en 1 línea"_s);
        QVERIFY(guion.ignorados().archivo().startsWith(datos + u"/ignorados/intro."));
        QVERIFY(!QDir(dir_->filePath(u"juego"_s)).exists());

        // Shown again, marked; kept across runs.
        guion.mostrarIgnorados(true);
        QCOMPARE(guion.problemas(0).size(), 1);
        QVERIFY(guion.problemas(0).constFirst().ignorado);
        QCOMPARE(guion.resumen(), u"2 problemas en 2 líneas"_s);
        guion.mostrarIgnorados(false);
        ProblemasGuion otro(textos);
        otro.ponerIgnorados(AvisosIgnorados::Leer(datos, rutaTraduccion));
        otro.releer();
        QCOMPARE(Textos(otro.problemas(0)), QStringList{});

        // A change of the translation line brings it back; undoing the change hides it again.
        textos.traduccion[0] = u"Tienes muchas monedas"_s;
        guion.cambioTraduccion(0, 1, 1);
        QCOMPARE(Textos(guion.problemas(0)), QStringList{"Falta «%d»"});
        textos.traduccion[0] = u"Tienes monedas"_s;
        guion.cambioTraduccion(0, 1, 1);
        QCOMPARE(Textos(guion.problemas(0)), QStringList{});
        // So does a change of the original line.
        textos.original[0] = u"You have %d gold coins"_s;
        guion.cambioOriginal(0, 1, 1);
        QCOMPARE(Textos(guion.problemas(0)), QStringList{"Falta «%d»"});

        // Another translation of the same name elsewhere has its own list.
        const AvisosIgnorados ajeno =
            AvisosIgnorados::Leer(datos, dir_->filePath(u"otro/Traducidos/intro.txt"_s));
        QVERIFY(ajeno.vacio());
        QVERIFY(ajeno.archivo() != guion.ignorados().archivo());
    }

    void ignoradosIlegibles_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::newRow("otra versión") << QByteArray("velarto-ignorados 2\nruta %1\n0000000000000001\n");
        QTest::newRow("cortado") << QByteArray("velarto-ignorados 1\nruta %1\n00000000000");
        QTest::newRow("de otra traducción")
            << QByteArray("velarto-ignorados 1\nruta /otra\n0000000000000001\n");
        QTest::newRow("clave mala") << QByteArray("velarto-ignorados 1\nruta %1\n00000000000000zz\n");
    }
    // A file that is not a whole list of this translation ignores nothing, and stays as it is.
    void ignoradosIlegibles()
    {
        QFETCH(QByteArray, contenido);
        const QString traduccion = dir_->filePath(u"Traducidos/a.txt"_s);
        const QString datos = dir_->filePath(u"datos"_s);
        const QString archivo = datos + u"/ignorados/" + AvisosIgnorados::NombreArchivo(traduccion);
        contenido.replace("%1", QFile::encodeName(QDir::cleanPath(traduccion)).toPercentEncoding("/"));
        EscribirBytes(archivo, contenido);
        QVERIFY(AvisosIgnorados::Leer(datos, traduccion).vacio());
        QCOMPARE(LeerBytes(archivo), contenido);
    }

    void seguimiento_data()
    {
        QTest::addColumn<quint32>("semilla");
        QTest::newRow("una") << 21u;
        QTest::newRow("otra") << 22u;
    }
    // Random changes of either text, each reported as the window would: the problems kept line by line
    // are always those of a fresh check of the whole pair.
    void seguimiento()
    {
        QFETCH(quint32, semilla);
        QRandomGenerator azar(semilla);
        TextosEnLista textos;
        for (int i = 0; i < 12; ++i) {
            textos.original.append(Aleatoria(azar));
            textos.traduccion.append(Aleatoria(azar));
        }
        ProblemasGuion guion(textos);
        guion.releer();
        int avisadoDesde = -1;
        int avisadoHasta = -1;
        connect(&guion, &ProblemasGuion::cambio, this, [&](int desde, int hasta) {
            avisadoDesde = desde;
            avisadoHasta = hasta;
        });
        for (int paso = 0; paso < 300; ++paso) {
            const bool enOriginal = azar.bounded(4) == 0;
            QStringList& lineas = enOriginal ? textos.original : textos.traduccion;
            const int desde = int(azar.bounded(lineas.size() + 1));
            const int quitadas = int(azar.bounded(std::min<qsizetype>(3, lineas.size() - desde + 1)));
            const int agregadas = azar.bounded(3) == 0 ? int(azar.bounded(3)) : quitadas;
            lineas.remove(desde, quitadas);
            for (int i = 0; i < agregadas; ++i)
                lineas.insert(desde, Aleatoria(azar));
            const QList<QStringList> antes = TodosLosProblemas(guion);
            if (enOriginal)
                guion.cambioOriginal(desde, quitadas, agregadas);
            else
                guion.cambioTraduccion(desde, quitadas, agregadas);
            ProblemasGuion nuevo(textos);
            nuevo.releer();
            const QList<QStringList> despues = TodosLosProblemas(guion);
            QCOMPARE(despues, TodosLosProblemas(nuevo));
            QCOMPARE(guion.resumen(), nuevo.resumen());
            // Lines outside the reported stretch kept their problems (when no line came or went).
            if (quitadas == agregadas) {
                for (int linea = 0; linea < int(despues.size()); ++linea)
                    if (linea < avisadoDesde || linea >= avisadoHasta)
                        QCOMPARE(despues[linea], antes.value(linea));
            }
            for (int orden = 0; orden < guion.totalLineas() - (guion.faltantes() > 0); ++orden)
                QVERIFY(!guion.problemas(guion.enesima(orden)).isEmpty());
        }
    }

    // Deferred, a load's stretches are only noted: the lines asked for are checked at once, the rest a
    // slice at a time, and typing meanwhile is checked as ever; in the end it is all as a check at once.
    void diferido()
    {
        TextosEnLista textos;
        ProblemasGuion guion(textos);
        guion.ponerDiferido(true);
        for (int i = 0; i < 3000; ++i) {
            textos.original.append(u"Line %s %1"_s.arg(i));
            textos.traduccion.append(i % 7 == 0 ? u"Línea %1"_s.arg(i) : u"Línea %s %1"_s.arg(i));
        }
        guion.cambioTraduccion(0, 0, 3000);
        guion.cambioOriginal(0, 0, 3000);
        QVERIFY(guion.pendiente());
        QCOMPARE(guion.resumen(), u"Ningún problema"_s);

        guion.comprobarAhora(1400, 1410);
        QCOMPARE(Textos(guion.problemas(1400)), QStringList{"Falta «%s»"});
        QCOMPARE(guion.totalLineas(), 2);
        QCOMPARE(guion.siguiente(0, 0, true), 1400);

        // A keystroke and a line break while the rest waits.
        textos.traduccion[10] = u"Línea"_s;
        guion.cambioTraduccion(10, 1, 1);
        QCOMPARE(Textos(guion.problemas(10)), (QStringList{"Falta «%s»", "Falta el número 10"}));
        textos.traduccion.insert(20, u"nueva"_s);
        guion.cambioTraduccion(20, 0, 1);

        int tandas = 0;
        while (guion.comprobarPendientes(0))
            ++tandas;
        QVERIFY(tandas > 1);
        QVERIFY(!guion.pendiente());
        ProblemasGuion nuevo(textos);
        nuevo.releer();
        QCOMPARE(TodosLosProblemas(guion), TodosLosProblemas(nuevo));
        QCOMPARE(guion.resumen(), nuevo.resumen());
    }

    // Paused, as during a load that yields to the event loop, the lines noted wait; let go, they are
    // checked while the loop is idle.
    void pausado()
    {
        TextosEnLista textos;
        ProblemasGuion guion(textos);
        guion.ponerDiferido(true);
        guion.pausar(true);
        for (int i = 0; i < 1000; ++i) {
            textos.original.append(u"Line %s %1"_s.arg(i));
            textos.traduccion.append(u"Línea %1"_s.arg(i));
        }
        guion.cambioTraduccion(0, 0, 1000);
        guion.cambioOriginal(0, 0, 1000);
        QTest::qWait(50);
        QVERIFY(guion.pendiente());
        QCOMPARE(guion.totalLineas(), 0);
        guion.pausar(false);
        QTRY_VERIFY(!guion.pendiente());
        QCOMPARE(guion.totalLineas(), 1000);
    }

    void siguiente_data()
    {
        QTest::addColumn<int>("linea");
        QTest::addColumn<int>("columna");
        QTest::addColumn<int>("adelante");
        QTest::addColumn<int>("atras");
        // Lines 2 and 5 of 8 have a problem; every line is four characters long.
        QTest::newRow("antes de la primera") << 0 << 0 << 2 << 5;
        QTest::newRow("dentro de una línea con problema") << 2 << 1 << 2 << 5;
        QTest::newRow("al final de una línea con problema") << 2 << 4 << 5 << 5;
        QTest::newRow("entre las dos") << 3 << 0 << 5 << 2;
        QTest::newRow("al final de la última da la vuelta") << 5 << 4 << 2 << 2;
        QTest::newRow("tras la última") << 7 << 0 << 2 << 5;
    }
    void siguiente()
    {
        QFETCH(int, linea);
        QFETCH(int, columna);
        TextosEnLista textos;
        textos.original = QStringList(8, u"%s x"_s);
        textos.traduccion = QStringList(8, u"%s y"_s);
        textos.traduccion[2] = u"xx y"_s;
        textos.traduccion[5] = u"xx y"_s;
        ProblemasGuion guion(textos);
        guion.releer();
        QTEST(guion.siguiente(linea, columna, true), "adelante");
        QTEST(guion.siguiente(linea, columna, false), "atras");
    }
};

VELARTO_PRUEBA(PruebaComprobaciones)
#include "tst_comprobaciones.moc"
