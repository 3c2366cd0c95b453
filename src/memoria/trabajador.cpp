// The memory's thread-side work: opening and indexing the folders' databases, lookups and fills.
#include "trabajador.h"

#include <algorithm>
#include <chrono>

#include <malloc.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "archivos.h"
#include "errores.h"
#include "relleno.h"

namespace {

// Matches shown for a line, and the least similarity shown.
constexpr qsizetype maximoCoincidencias = 5;
constexpr int minimoPorcentaje = 70;
// Candidates scored per folder, and originals whose translations are looked up per folder.
constexpr qsizetype maximoCandidatos = 100;
constexpr qsizetype maximoOriginales = 20;
// Lines listed for each way an original was translated.
constexpr qsizetype maximoUbicaciones = 10;
// How often progress is told while indexing.
constexpr qint64 msEntreAvisos = 100;

qint64 MsAhora()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString Limpia(const QString& carpeta)
{
    return QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath());
}

QDateTime Fecha(qint64 nanosegundos)
{
    return QDateTime::fromMSecsSinceEpoch(nanosegundos / 1000000, Qt::UTC);
}

// A remembered pair while a lookup gathers them from every folder.
struct Hallada
{
    int porcentaje = 0;
    int exacta = 0; // the similarity counting punctuation too, to order equal percentages
    QString original;
    QString traduccion;
    int usos = 0;
    qint64 fecha = -1;
    qint64 idOriginal = 0;
    // Its most recently saved line.
    Ubicacion ubicacion;
};

bool Antes(const Hallada& a, const Hallada& b)
{
    if (a.porcentaje != b.porcentaje)
        return a.porcentaje > b.porcentaje;
    if (a.exacta != b.exacta)
        return a.exacta > b.exacta;
    if (a.usos != b.usos)
        return a.usos > b.usos;
    if (a.fecha != b.fecha)
        return a.fecha > b.fecha;
    return std::tie(a.original, a.traduccion) < std::tie(b.original, b.traduccion);
}

// The line looked up, as similarity sees it.
struct Consulta
{
    Consulta(const QString& original, const TrabajadorMemoria::QuitarCodigos& quitarCodigos)
        : original(original), limpio(quitarCodigos(original)), palabras(Palabras(limpio)),
          fichas(Fichas(limpio)), piezas(PiezasDe(limpio))
    {
    }
    const QString& original;
    const QString limpio;
    const QStringList palabras;
    const QStringList fichas;
    const Piezas piezas;
};

// The candidates at least 70 % alike, best first, at most a few.
QList<Hallada> Puntuar(BaseMemoria& base, const QList<qint64>& ids, const Consulta& consulta,
                       const TrabajadorMemoria::QuitarCodigos& quitarCodigos)
{
    QList<Hallada> puntuadas;
    for (const qint64 id : ids) {
        Hallada h;
        h.original = base.TextoOriginal(id);
        h.idOriginal = id;
        if (h.original == consulta.original) {
            h.porcentaje = h.exacta = 100;
        } else {
            const QString otro = quitarCodigos(h.original);
            h.porcentaje = std::min(99, Porcentaje(consulta.palabras, Palabras(otro)));
            if (h.porcentaje < minimoPorcentaje)
                continue;
            h.exacta = Porcentaje(consulta.fichas, Fichas(otro));
        }
        puntuadas.append(h);
    }
    std::sort(puntuadas.begin(), puntuadas.end(), Antes);
    if (puntuadas.size() > maximoOriginales)
        puntuadas.resize(maximoOriginales);
    return puntuadas;
}

// Adds the pairs of the scored originals of one folder, each original with each of its translations.
void Reunir(BaseMemoria& base, const QString& carpeta, const QList<Hallada>& puntuadas,
            BaseMemoria::Excluida excluida, QHash<std::pair<QString, QString>, Hallada>& halladas)
{
    // Counting an original's lines costs a query as long as they are many: once five pairs are more
    // alike than the next original, it and the rest cannot come before them.
    const auto parecido = [](const Hallada& h) {
        return std::pair(h.porcentaje, h.exacta);
    };
    qsizetype pares = 0;
    for (qsizetype i = 0; i < puntuadas.size(); ++i) {
        const Hallada& puntuada = puntuadas[i];
        if (pares >= maximoCoincidencias && parecido(puntuadas[i - 1]) > parecido(puntuada))
            return;
        const QList<BaseMemoria::Uso> usos = base.Usos(puntuada.idOriginal, excluida, true);
        pares += usos.size();
        for (const BaseMemoria::Uso& uso : usos) {
            Hallada& h = halladas[{puntuada.original, uso.texto}];
            if (h.usos == 0) {
                h = puntuada;
                h.traduccion = uso.texto;
            }
            h.usos += uso.usos;
            if (uso.reciente.fecha > h.fecha) {
                h.fecha = uso.reciente.fecha;
                h.ubicacion = {carpeta, uso.reciente.script, qsizetype(uso.reciente.linea)};
            }
        }
    }
}

} // namespace

TrabajadorMemoria::TrabajadorMemoria(const QString& carpetaBases, SistemaArchivos& sistema, Avisos avisos)
    : carpetaBases_(carpetaBases), sistema_(sistema), avisos_(std::move(avisos))
{
}

TrabajadorMemoria::~TrabajadorMemoria() = default;

void TrabajadorMemoria::Abrir(const QString& carpeta, const QStringList& anadidas,
                              QuitarCodigos quitarCodigos)
{
    quitarCodigos_ = quitarCodigos ? std::move(quitarCodigos) : [](QStringView texto) {
        return texto.toString();
    };
    plan_.clear();
    miembros_.clear();
    hechos_ = 0;
    total_ = 0;
    if (carpeta.isEmpty())
        return;
    Anadir(carpeta, true);
    CambiarAnadidas(anadidas);
}

void TrabajadorMemoria::CambiarAnadidas(const QStringList& anadidas)
{
    QStringList buscadas;
    for (const QString& carpeta : anadidas)
        buscadas.append(Limpia(carpeta));
    for (auto it = miembros_.begin(); it != miembros_.end();) {
        if (!(*it)->propia && !buscadas.contains((*it)->carpeta)) {
            Olvidar(**it);
            it = miembros_.erase(it);
        } else {
            ++it;
        }
    }
    for (const QString& carpeta : buscadas) {
        const bool esta = std::any_of(miembros_.cbegin(), miembros_.cend(),
                                      [&](const auto& miembro) { return miembro->carpeta == carpeta; });
        if (!esta)
            Anadir(carpeta, false);
    }
    Terminar();
    Avisar(true);
}

void TrabajadorMemoria::Anadir(const QString& carpeta, bool propia)
{
    auto miembro = std::make_unique<Miembro>();
    miembro->carpeta = Limpia(carpeta);
    miembro->propia = propia;
    miembros_.push_back(std::move(miembro));
    Conectar(*miembros_.back());
}

void TrabajadorMemoria::Conectar(Miembro& miembro)
{
    if (!QFileInfo(miembro.carpeta).isDir()) {
        Desactivar(miembro, QStringLiteral("la carpeta no existe"));
        return;
    }
    try {
        CrearCarpetaPrivada(carpetaBases_);
    } catch (const ErrorEjecucion& error) {
        Desactivar(
            miembro,
            QStringLiteral("no se puede crear la carpeta %1 (%2)").arg(carpetaBases_, error.descripcion()));
        return;
    }
    const QString ruta = BaseMemoria::RutaBase(carpetaBases_, miembro.carpeta);
    try {
        miembro.base = std::make_unique<BaseMemoria>(miembro.carpeta, ruta);
    } catch (const ErrorSqlite& error) {
        Desactivar(miembro, error.motivo(ruta));
        return;
    }
    miembro.eleccion = LeerEleccion(miembro.carpeta);
    Planificar(miembro);
}

void TrabajadorMemoria::Planificar(Miembro& miembro)
{
    QStringList nombres;
    if (!Proteger(miembro, [&](BaseMemoria& base) { nombres = base.Preparar(miembro.eleccion); }))
        return;
    for (const QString& nombre : nombres)
        plan_.push_back({&miembro, nombre});
    total_ += int(nombres.size());
    porTerminar_ = true;
    Proteger(miembro, [](BaseMemoria& base) { base.Indexando(true); });
}

// Drops what is still planned for a member, as if it had been done.
void TrabajadorMemoria::Olvidar(const Miembro& miembro)
{
    const auto quitados = std::erase_if(plan_, [&](const Pendiente& p) { return p.miembro == &miembro; });
    total_ -= int(quitados);
}

void TrabajadorMemoria::Desactivar(Miembro& miembro, const QString& motivo)
{
    Olvidar(miembro);
    miembro.base.reset();
    if (std::exchange(miembro.avisada, true))
        return;
    if (avisos_.noDisponible)
        avisos_.noDisponible(TextoNoDisponible(miembro.carpeta, miembro.propia, motivo));
}

void TrabajadorMemoria::Rehacer(Miembro& miembro)
{
    miembro.rehecha = true;
    Olvidar(miembro);
    // Its scripts are counted again from none.
    const int hechos = std::exchange(miembro.hechos, 0);
    hechos_ -= hechos;
    total_ -= hechos;
    const QString ruta = miembro.base->ruta();
    miembro.base.reset();
    BaseMemoria::Eliminar(ruta);
    Conectar(miembro);
}

template <typename Accion> bool TrabajadorMemoria::Proteger(Miembro& miembro, Accion accion)
{
    if (!miembro.base)
        return false;
    try {
        accion(*miembro.base);
        return true;
    } catch (const ErrorSqlite& error) {
        if (error.esDano() && !miembro.rehecha)
            Rehacer(miembro);
        else
            Desactivar(miembro, error.motivo(miembro.base->ruta()));
    }
    return false;
}

void TrabajadorMemoria::IndexarUno()
{
    if (plan_.empty())
        return;
    const Pendiente pendiente = plan_.front();
    plan_.pop_front();
    Miembro& miembro = *pendiente.miembro;
    const bool hecho = Proteger(miembro, [&](BaseMemoria& base) {
        base.Indexar(pendiente.nombre, miembro.eleccion, sistema_, avisos_.ceder);
        base.Catalogar(false);
        base.Confirmar(false);
    });
    // A script of a database given up or started again is no longer among those to count.
    if (hecho) {
        ++hechos_;
        ++miembro.hechos;
    } else {
        --total_;
    }
    Terminar();
    Avisar(plan_.empty());
}

// Once nothing is left to index: the last texts into the indexes, everything committed, and the
// larger cache given back.
void TrabajadorMemoria::Terminar()
{
    if (!plan_.empty() || !std::exchange(porTerminar_, false))
        return;
    for (const auto& miembro : miembros_) {
        Proteger(*miembro, [](BaseMemoria& base) {
            base.Catalogar(true);
            base.Confirmar(true);
            base.Indexando(false);
        });
    }
    // The cache's pages go back to the allocator in small pieces, which it keeps unless asked.
    ::malloc_trim(0);
}

void TrabajadorMemoria::Avisar(bool siempre)
{
    const qint64 ahora = MsAhora();
    if (!siempre && ahora - ultimoAviso_ < msEntreAvisos)
        return;
    ultimoAviso_ = ahora;
    if (avisos_.progreso)
        avisos_.progreso(hechos_, total_);
}

void TrabajadorMemoria::Confirmar()
{
    // A plan may have emptied without a script of its own, when a folder was given up.
    Terminar();
    for (const auto& miembro : miembros_)
        Proteger(*miembro, [](BaseMemoria& base) { base.Confirmar(true); });
}

void TrabajadorMemoria::Guardar(const QString& nombre, const QStringList& lineas)
{
    if (miembros_.empty())
        return;
    Miembro& propio = *miembros_.front();
    Proteger(propio, [&](BaseMemoria& base) {
        base.Guardar(nombre, lineas, propio.eleccion, sistema_);
        // A save is found as a candidate at once, not only once the next batch is due.
        base.Catalogar(true);
    });
}

ResultadoConsulta TrabajadorMemoria::Consultar(const QString& script, qsizetype linea,
                                               const QString& original)
{
    const Consulta consulta(original, quitarCodigos_);
    QHash<std::pair<QString, QString>, Hallada> halladas;
    for (const auto& miembro : miembros_) {
        Proteger(*miembro, [&](BaseMemoria& base) {
            const LecturaBase lectura(base);
            const BaseMemoria::Excluida excluida =
                miembro->propia ? base.LineaDe(script, linea) : BaseMemoria::Excluida{};
            QList<qint64> ids = base.Candidatos(consulta.piezas, maximoCandidatos);
            if (const std::optional<qint64> identico = base.IdOriginal(original)) {
                ids.removeOne(*identico);
                ids.prepend(*identico);
            }
            Reunir(base, miembro->carpeta, Puntuar(base, ids, consulta, quitarCodigos_), excluida, halladas);
        });
    }
    QList<Hallada> orden = halladas.values();
    std::sort(orden.begin(), orden.end(), Antes);
    ResultadoConsulta resultado;
    resultado.original = original;
    for (const Hallada& h : orden) {
        if (resultado.coincidencias.size() == maximoCoincidencias)
            break;
        Coincidencia c{h.porcentaje, h.original, h.traduccion, h.ubicacion, h.usos, {}};
        if (h.porcentaje < 100)
            c.diferencias = Diferencias(h.original, original);
        resultado.coincidencias.append(c);
    }
    resultado.maneras = Maneras(original);
    return resultado;
}

// Every way the identical original was translated, the caret's own line included, most used first.
QList<Manera> TrabajadorMemoria::Maneras(const QString& original)
{
    QList<Manera> maneras;
    for (const auto& miembro : miembros_) {
        Proteger(*miembro, [&](BaseMemoria& base) {
            const LecturaBase lectura(base);
            const std::optional<qint64> identico = base.IdOriginal(original);
            if (!identico)
                return;
            for (const BaseMemoria::Uso& uso : base.Usos(*identico, {}, false)) {
                auto it = std::find_if(maneras.begin(), maneras.end(),
                                       [&](const Manera& m) { return m.traduccion == uso.texto; });
                if (it == maneras.end())
                    it = maneras.insert(maneras.end(), Manera{uso.texto, 0, {}, {}});
                it->usos += uso.usos;
                for (const BaseMemoria::Ubicada& u : base.Recientes(*identico, uso, {}, maximoUbicaciones)) {
                    if (!it->fecha.isValid() || Fecha(u.fecha) > it->fecha)
                        it->fecha = Fecha(u.fecha);
                    if (it->ubicaciones.size() < maximoUbicaciones)
                        it->ubicaciones.append({miembro->carpeta, u.script, qsizetype(u.linea)});
                }
            }
        });
    }
    std::sort(maneras.begin(), maneras.end(), [](const Manera& a, const Manera& b) {
        return a.usos != b.usos ? a.usos > b.usos : a.fecha > b.fecha;
    });
    return maneras;
}

ResultadoRelleno TrabajadorMemoria::Rellenar(const QStringList& originales, const QStringList& lineas)
{
    const QStringList buscados = OriginalesPorRellenar(originales, lineas);
    QHash<QString, QList<FormaTraduccion>> formas;
    // The ways of each original in every folder; when is asked for only when there is a choice to make,
    // which is seldom and costs a query per way.
    const auto reunir = [&](const QStringList& cuales, bool conRecientes) {
        for (const auto& miembro : miembros_) {
            Proteger(*miembro, [&](BaseMemoria& base) {
                const LecturaBase lectura(base);
                for (const QString& original : cuales) {
                    const std::optional<qint64> id = base.IdOriginal(original);
                    if (!id)
                        continue;
                    QList<FormaTraduccion>& deEste = formas[original];
                    for (const BaseMemoria::Uso& uso : base.Usos(*id, {}, conRecientes)) {
                        auto it = std::find_if(deEste.begin(), deEste.end(), [&](const FormaTraduccion& f) {
                            return f.traduccion == uso.texto;
                        });
                        if (it == deEste.end())
                            it = deEste.insert(deEste.end(), {uso.texto, 0, 0});
                        it->usos += uso.usos;
                        it->fecha = std::max(it->fecha, uso.reciente.fecha);
                    }
                }
            });
        }
    };
    reunir(buscados, false);
    QStringList variadas;
    for (auto it = formas.cbegin(); it != formas.cend(); ++it) {
        if (it.value().size() > 1)
            variadas.append(it.key());
    }
    for (const QString& original : variadas)
        formas.remove(original);
    reunir(variadas, true);
    QHash<QString, QString> elegidas;
    for (auto it = formas.cbegin(); it != formas.cend(); ++it) {
        if (const FormaTraduccion* forma = ElegirForma(it.value()))
            elegidas.insert(it.key(), forma->traduccion);
    }
    const Relleno relleno = ::Rellenar(originales, lineas, elegidas);
    return {0, relleno.lineas, relleno.rellenadas};
}
