// Matching one text, and searching the folder through its memory's index.
#include "busqueda.h"

#include <algorithm>

#include <QHash>

#include "lector_carpeta.h"
#include "numeros.h"

namespace {

// Past this many matching texts, reading every line of the folder once costs less than asking for the
// lines of each text.
constexpr qsizetype textosPorLineas = 20000;
// Texts or lines read between two questions whether a newer search has come.
constexpr int pasosPorPregunta = 2048;

// `reemplazo` with \0 … \9 replaced by the match's groups and "\\" by one backslash.
QString Expandir(const QString& reemplazo, const QRegularExpressionMatch& encontrado)
{
    QString texto;
    for (qsizetype i = 0; i < reemplazo.size(); ++i) {
        const QChar c = reemplazo[i];
        if (c == u'\\' && i + 1 < reemplazo.size()) {
            const QChar siguiente = reemplazo[i + 1];
            if (siguiente.isDigit()) {
                texto += encontrado.captured(siguiente.digitValue());
                ++i;
                continue;
            }
            if (siguiente == u'\\') {
                texto += u'\\';
                ++i;
                continue;
            }
        }
        texto += c;
    }
    return texto;
}

// The longest run of ordinary characters outside any group, class or escape of a regular expression: a
// piece every match holds, for the index to narrow the search. None where the expression has an
// alternative, which may do without it.
QString PiezaDeExpresion(const QString& patron)
{
    if (patron.contains(u'|'))
        return {};
    static const QString especiales = QStringLiteral("\\^$.[]()?*+{}");
    QString mejor;
    QString actual;
    int profundidad = 0;
    const auto cerrar = [&](bool cuantificada) {
        // A quantifier after the run applies to its last character only, which may then be absent.
        if (cuantificada && !actual.isEmpty())
            actual.chop(1);
        if (profundidad == 0 && actual.size() > mejor.size())
            mejor = actual;
        actual.clear();
    };
    for (qsizetype i = 0; i < patron.size(); ++i) {
        const QChar c = patron[i];
        if (!especiales.contains(c)) {
            actual += c;
            continue;
        }
        cerrar(c == u'?' || c == u'*' || c == u'{');
        if (c == u'\\') {
            ++i;
        } else if (c == u'[') {
            // To the class's end: "[]…]" and "[^]…]" hold a "]" of their own.
            qsizetype j = i + 1;
            if (j < patron.size() && patron[j] == u'^')
                ++j;
            if (j < patron.size() && patron[j] == u']')
                ++j;
            while (j < patron.size() && patron[j] != u']')
                j += patron[j] == u'\\' ? 2 : 1;
            i = j;
        } else if (c == u'(') {
            ++profundidad;
        } else if (c == u')') {
            --profundidad;
        }
    }
    cerrar(false);
    return mejor;
}

} // namespace

PatronBusqueda::PatronBusqueda(const OpcionesBusqueda& opciones) : literal_(!opciones.expresion)
{
    const QString texto = opciones.texto.normalized(QString::NormalizationForm_C);
    if (texto.isEmpty())
        return;
    QString patron = literal_ ? QRegularExpression::escape(texto) : texto;
    pieza_ = literal_ ? texto : PiezaDeExpresion(texto);
    if (opciones.palabra)
        patron = u"(?<!\\w)(?:" + patron + u")(?!\\w)";
    QRegularExpression::PatternOptions banderas = QRegularExpression::UseUnicodePropertiesOption;
    if (!opciones.mayusculas)
        banderas |= QRegularExpression::CaseInsensitiveOption;
    expresion_ = QRegularExpression(patron, banderas);
    valido_ = expresion_.isValid();
    if (!valido_)
        error_ = u"La expresión regular no es válida: " + expresion_.errorString();
    else
        expresion_.optimize();
}

Tramos PatronBusqueda::Buscar(const QString& texto) const
{
    Tramos tramos;
    if (!valido_ || texto.isEmpty())
        return tramos;
    auto it = expresion_.globalMatch(texto);
    while (it.hasNext()) {
        const QRegularExpressionMatch encontrado = it.next();
        // An expression that matches nothing at all ("a*") would match between every two characters.
        if (encontrado.capturedLength() > 0)
            tramos.append({encontrado.capturedStart(), encontrado.capturedLength()});
    }
    return tramos;
}

QString PatronBusqueda::Reemplazar(const QString& texto, const QString& reemplazo, int& cuantas) const
{
    cuantas = 0;
    if (!valido_)
        return texto;
    QString resultado;
    qsizetype desde = 0;
    auto it = expresion_.globalMatch(texto);
    while (it.hasNext()) {
        const QRegularExpressionMatch encontrado = it.next();
        if (encontrado.capturedLength() == 0)
            continue;
        resultado += QStringView(texto).sliced(desde, encontrado.capturedStart() - desde);
        resultado += literal_ ? reemplazo : Expandir(reemplazo, encontrado);
        desde = encontrado.capturedEnd();
        ++cuantas;
    }
    if (cuantas == 0)
        return texto;
    resultado += QStringView(texto).sliced(desde);
    return resultado;
}

QString TextoResultados(qint64 lineas, qint64 scripts)
{
    if (lineas == 0)
        return QStringLiteral("Ningún resultado");
    return ConMiles(lineas) + (lineas == 1 ? u" resultado en " : u" resultados en ") + ConMiles(scripts) +
           (scripts == 1 ? u" script" : u" scripts");
}

namespace {

using Lado = LectorCarpeta::Lado;
using Linea = LectorCarpeta::Linea;

// A text that matches, with its matches.
struct Hallado
{
    QString texto;
    Tramos tramos;
};

// The search's own steps over one read of the index.
class Busqueda final
{
public:
    Busqueda(LectorCarpeta& lector, const PatronBusqueda& patron, const std::function<bool()>& cancelado)
        : lector_(lector), patron_(patron), cancelado_(cancelado)
    {
    }

    // The texts of a side that match, with their matches; false when cancelled.
    bool Textos(Lado lado, QHash<qint64, Hallado>& encontrados)
    {
        return lector_.Textos(lado, patron_.pieza(), [&](qint64 id, const QString& texto) {
            if (Cancelado())
                return false;
            Tramos tramos = patron_.Buscar(texto);
            if (!tramos.isEmpty())
                encontrados.insert(id, {texto, std::move(tramos)});
            return true;
        });
    }

    // The lines holding a matching text on either side, each once; false when cancelled.
    bool Lineas(const QHash<qint64, Hallado>& originales, const QHash<qint64, Hallado>& traducciones,
                QList<Linea>& lineas)
    {
        if (originales.size() + traducciones.size() > textosPorLineas) {
            return lector_.TodasLasLineas([&](const Linea& linea) {
                if (Cancelado())
                    return false;
                if (originales.contains(linea.original) || traducciones.contains(linea.traduccion))
                    lineas.append(linea);
                return true;
            });
        }
        lector_.LineasCon(Lado::Originales, originales.keys(), lineas);
        if (Cancelado())
            return false;
        lector_.LineasCon(Lado::Traducciones, traducciones.keys(), lineas);
        return !Cancelado();
    }

private:
    bool Cancelado() { return ++pasos_ % pasosPorPregunta == 0 && cancelado_ && cancelado_(); }

    LectorCarpeta& lector_;
    const PatronBusqueda& patron_;
    const std::function<bool()>& cancelado_;
    int pasos_ = 0;
};

} // namespace

std::optional<ResultadoBusqueda> BuscarEnCarpeta(LectorCarpeta& lector, const OpcionesBusqueda& opciones,
                                                 qsizetype maximoFilas,
                                                 const std::function<bool()>& cancelado)
{
    ResultadoBusqueda resultado;
    resultado.opciones = opciones;
    const PatronBusqueda patron(opciones);
    if (!patron.valido()) {
        resultado.error = patron.error();
        return resultado;
    }
    lector.EmpezarLectura();
    Busqueda busqueda(lector, patron, cancelado);
    QHash<qint64, Hallado> originales;
    QHash<qint64, Hallado> traducciones;
    QList<Linea> lineas;
    const bool enOriginales = opciones.ambito != Ambito::Traducciones;
    const bool enTraducciones = opciones.ambito != Ambito::Originales;
    if ((enOriginales && !busqueda.Textos(Lado::Originales, originales)) ||
        (enTraducciones && !busqueda.Textos(Lado::Traducciones, traducciones)) ||
        !busqueda.Lineas(originales, traducciones, lineas)) {
        lector.TerminarLectura();
        return std::nullopt;
    }

    // By script as the file list orders them (by name ignoring case), then by line; each line once.
    const QHash<qint64, QString> nombres = lector.Scripts();
    QList<qint64> ids = nombres.keys();
    std::sort(ids.begin(), ids.end(), [&](qint64 a, qint64 b) {
        const int orden = nombres[a].compare(nombres[b], Qt::CaseInsensitive);
        return orden != 0 ? orden < 0 : nombres[a] < nombres[b];
    });
    QHash<qint64, qint64> lugar;
    for (qsizetype i = 0; i < ids.size(); ++i)
        lugar.insert(ids[i], i);
    // From here on a line's script is its place in that order: sorting compares numbers only.
    for (Linea& linea : lineas)
        linea.script = lugar.value(linea.script);
    std::sort(lineas.begin(), lineas.end(), [](const Linea& a, const Linea& b) {
        return a.script != b.script ? a.script < b.script : a.linea < b.linea;
    });
    lineas.erase(std::unique(lineas.begin(), lineas.end(),
                             [](const Linea& a, const Linea& b) {
                                 return a.script == b.script && a.linea == b.linea;
                             }),
                 lineas.end());

    resultado.lineas = lineas.size();
    qint64 anterior = -1;
    qint64 conTraduccion = -1;
    for (const Linea& linea : lineas) {
        if (linea.script != anterior)
            ++resultado.scripts;
        anterior = linea.script;
        if (linea.script != conTraduccion && traducciones.contains(linea.traduccion)) {
            conTraduccion = linea.script;
            resultado.conTraduccion.append(nombres.value(ids[linea.script]));
        }
    }

    for (qsizetype i = 0; i < std::min(maximoFilas, lineas.size()); ++i) {
        const Linea& linea = lineas[i];
        FilaBusqueda fila;
        fila.script = nombres.value(ids[linea.script]);
        fila.linea = linea.linea;
        // The matching side's text is at hand; only the other is read.
        const auto texto = [&](Lado lado, qint64 id, const QHash<qint64, Hallado>& hallados, Tramos& tramos) {
            if (const auto it = hallados.constFind(id); it != hallados.cend()) {
                tramos = it->tramos;
                return it->texto;
            }
            return id ? lector.Texto(lado, id) : QString();
        };
        fila.original = texto(Lado::Originales, linea.original, originales, fila.enOriginal);
        fila.traduccion = texto(Lado::Traducciones, linea.traduccion, traducciones, fila.enTraduccion);
        resultado.filas.append(std::move(fila));
    }
    lector.TerminarLectura();
    return resultado;
}
