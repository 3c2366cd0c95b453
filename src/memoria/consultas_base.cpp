// One folder's database: the queries of a lookup and a fill.
#include "base_memoria.h"

#include <algorithm>

#include <QHash>

#include "sentencias_base.h"

namespace {

// Rows a search piece may bring before it counts as too common to tell candidates apart.
constexpr qint64 maximoPorPieza = 300;
// Lines of a pair above which its newest lines are looked for script by script.
constexpr int usosParaOrdenar = 64;
// Common words looked up in pairs when rare ones cannot find every candidate.
constexpr qsizetype maximoComunes = 4;

// The FTS5 query for texts holding every trigram of a piece.
QString Expresion(const QString& pieza)
{
    const QList<uint> codigos = pieza.toUcs4();
    QStringList trigramas;
    for (qsizetype i = 0; i + 3 <= codigos.size(); ++i) {
        QString trigrama = QString::fromUcs4(reinterpret_cast<const char32_t*>(codigos.constData() + i), 3);
        trigramas.append(u'"' + trigrama.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"');
    }
    return trigramas.join(u" AND ");
}

} // namespace

BaseMemoria::Excluida BaseMemoria::LineaDe(const QString& nombre, qint64 linea)
{
    const std::optional<Script> script = BuscarScript(nombre);
    return script ? Excluida{script->id, linea} : Excluida{};
}

std::optional<qint64> BaseMemoria::IdOriginal(QStringView texto)
{
    Sentencia& s = sentencias_->originales.buscar;
    s.ligar(1, Clave(texto)).ligar(2, texto);
    const std::optional<qint64> id = s.paso() ? std::optional(s.entero(0)) : std::nullopt;
    s.reiniciar();
    return id;
}

QString BaseMemoria::TextoOriginal(qint64 id)
{
    Sentencia& s = sentencias_->originales.texto;
    s.ligar(1, id);
    const QString texto = s.paso() ? s.texto(0) : QString();
    s.reiniciar();
    return texto;
}

QList<qint64> BaseMemoria::Candidatos(const Piezas& piezas, qsizetype maximo)
{
    QHash<qint64, int> aciertos;
    // Adds the texts an expression finds, each counting `peso` pieces; false when they are too many to
    // tell anything apart, and then nothing is added. A word the index's tokenizer splits where this
    // one does not makes a phrase the index cannot take, and finds nothing.
    const auto buscar = [&](Sentencia& s, const QString& expresion, int peso) {
        QList<qint64> ids;
        try {
            s.ligar(1, expresion).ligar(2, maximoPorPieza + 1);
            while (s.paso())
                ids.append(s.entero(0));
        } catch (const ErrorSqlite& error) {
            if (!error.esConsultaNoValida())
                throw;
            return true;
        }
        s.reiniciar();
        if (ids.size() > maximoPorPieza)
            return false;
        for (const qint64 id : ids)
            aciertos[id] += peso;
        return true;
    };
    QStringList comunes;
    qsizetype raras = 0;
    for (const QString& palabra : piezas.palabras) {
        const QString expresion = u'"' + QString(palabra).replace(u'"', QStringLiteral("\"\"")) + u'"';
        if (buscar(sentencias_->conPalabra, expresion, 1))
            ++raras;
        else
            comunes.append(expresion);
    }
    for (const QString& trozo : piezas.ideogramas)
        buscar(sentencias_->conTrigramas, Expresion(trozo), 1);
    // A text 70 % alike lacks at most 3 in 7 of the line's words (fewer when it is shorter, since every
    // extra word of its own counts too): with more rare words than that, it holds one of them and has
    // been found. Otherwise the texts holding two of the longest common words are candidates too, pair
    // by pair: such a text holds most of the line's words, so some pair of them. A search for many
    // common words at once would read most of the index.
    if (raras * 7 <= piezas.total * 3 && comunes.size() >= 2) {
        if (comunes.size() > maximoComunes)
            comunes.resize(maximoComunes);
        for (qsizetype i = 0; i < comunes.size(); ++i) {
            for (qsizetype j = i + 1; j < comunes.size(); ++j)
                buscar(sentencias_->conPalabra, comunes[i] + QStringLiteral(" AND ") + comunes[j], 2);
        }
    }
    QList<std::pair<int, qint64>> orden;
    orden.reserve(aciertos.size());
    for (auto it = aciertos.cbegin(); it != aciertos.cend(); ++it)
        orden.append({it.value(), it.key()});
    const qsizetype cuantos = std::min(maximo, orden.size());
    std::partial_sort(orden.begin(), orden.begin() + cuantos, orden.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QList<qint64> ids;
    for (qsizetype i = 0; i < cuantos; ++i)
        ids.append(orden[i].second);
    return ids;
}

QList<BaseMemoria::Uso> BaseMemoria::Usos(qint64 original, Excluida excluida, bool conRecientes)
{
    Sentencia& s = sentencias_->usos;
    s.ligar(1, original).ligar(2, excluida.script).ligar(3, excluida.linea);
    QList<Uso> usos;
    while (s.paso())
        usos.append({s.entero(0), {}, int(s.entero(1)), {}});
    s.reiniciar();
    for (Uso& uso : usos) {
        Sentencia& texto = sentencias_->traducciones.texto;
        texto.ligar(1, uso.traduccion);
        uso.texto = texto.paso() ? texto.texto(0) : QString();
        texto.reiniciar();
        if (conRecientes)
            uso.reciente = Recientes(original, uso, excluida, 1).value(0);
    }
    return usos;
}

QList<BaseMemoria::Ubicada> BaseMemoria::Recientes(qint64 original, const Uso& uso, Excluida excluida,
                                                   qsizetype maximo)
{
    QList<Ubicada> ubicadas;
    // A pair of few lines is sorted whole; one of many is looked for script by script, newest first,
    // which finds it at once instead of sorting thousands of lines.
    if (uso.usos <= usosParaOrdenar) {
        Sentencia& s = sentencias_->recientes;
        s.ligar(1, original).ligar(2, uso.traduccion).ligar(3, excluida.script).ligar(4, excluida.linea);
        s.ligar(5, maximo);
        while (s.paso())
            ubicadas.append({s.texto(0), s.entero(1), s.entero(2)});
        s.reiniciar();
        return ubicadas;
    }
    Sentencia& scripts = sentencias_->scriptsRecientes;
    scripts.ligar(1, original).ligar(2, uso.traduccion).ligar(3, excluida.script).ligar(4, excluida.linea);
    scripts.ligar(5, maximo);
    QList<std::tuple<qint64, QString, qint64>> halladas;
    while (scripts.paso())
        halladas.append({scripts.entero(0), scripts.texto(1), scripts.entero(2)});
    scripts.reiniciar();
    Sentencia& lineas = sentencias_->lineasEnScript;
    for (const auto& [id, nombre, fecha] : halladas) {
        lineas.ligar(1, original).ligar(2, uso.traduccion).ligar(3, id).ligar(4, excluida.script);
        lineas.ligar(5, excluida.linea).ligar(6, maximo - ubicadas.size());
        while (lineas.paso())
            ubicadas.append({nombre, lineas.entero(0), fecha});
        lineas.reiniciar();
        if (ubicadas.size() >= maximo)
            break;
    }
    return ubicadas;
}

QList<BaseMemoria::ResumenScript> BaseMemoria::Resumen()
{
    Sentencia& s = sentencias_->resumen;
    QList<ResumenScript> resumen;
    while (s.paso())
        resumen.append({s.texto(0), s.entero(1), s.entero(2), s.entero(3), s.entero(4)});
    s.reiniciar();
    return resumen;
}
