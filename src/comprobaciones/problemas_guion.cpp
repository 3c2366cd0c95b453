// The problems of a translation, kept per line. Each line of either text is read once into its summary;
// the checks compare summaries. A changed translation line is read again and compared, with the lines
// within reach of its question and exclamation marks; a line break added or taken away compares every
// line after it with its new original.
#include "problemas_guion.h"

#include <algorithm>
#include <limits>

#include <QElapsedTimer>

namespace {

// Above this many lines, the set of lines with problems is rebuilt once instead of kept line by line.
constexpr int lineasSueltas = 256;

void Leer(const QStringList& lineas, int desde, int hasta, const TextosPar::Lector& leer)
{
    for (int k = std::max(desde, 0); k < std::min(hasta, int(lineas.size())); ++k)
        leer(k, lineas[k]);
}

// Replaces items desde ... desde + quitados - 1 by `agregados` new ones, empty.
template <typename T> void Reemplazar(std::vector<T>& elementos, int desde, int quitados, int agregados)
{
    const auto inicio = elementos.begin() + desde;
    std::vector<T> nuevos(static_cast<std::size_t>(agregados));
    elementos.insert(elementos.erase(inicio, inicio + quitados), std::make_move_iterator(nuevos.begin()),
                     std::make_move_iterator(nuevos.end()));
}

} // namespace

void TextosEnLista::leerOriginal(int desde, int hasta, const Lector& leer) const
{
    Leer(original, desde, hasta, leer);
}

void TextosEnLista::leerTraduccion(int desde, int hasta, const Lector& leer) const
{
    Leer(traduccion, desde, hasta, leer);
}

ProblemasGuion::ProblemasGuion(const TextosPar& textos, QObject* padre) : QObject(padre), textos_(textos)
{
    // A line not read yet is no neighbour: its marks are not known.
    vecinas_ = [this](int linea) -> const ResumenLinea* {
        const ResumenLinea* vecina = resumenTraduccion(linea);
        return vecina && vecina->leida() ? vecina : nullptr;
    };
    temporizador_.setInterval(0);
    connect(&temporizador_, &QTimer::timeout, this, [this] {
        if (pausado_ || !comprobarPendientes())
            temporizador_.stop();
    });
}

ProblemasGuion::~ProblemasGuion() = default;

void ProblemasGuion::ponerComprobaciones(Comprobaciones comprobaciones)
{
    const Comprobaciones antes = opciones_.comprobaciones;
    if (comprobaciones == antes)
        return;
    opciones_.comprobaciones = comprobaciones;
    // Which codes a line holds depends on the folder's pattern only when that pattern is in use.
    if (opciones_.patron.esPropio() && (antes ^ comprobaciones).testFlag(Comprobacion::CodigosCarpeta)) {
        releer();
        return;
    }
    Comprobar(0, lineasTraduccion());
    Avisar(0, lineasTraduccion());
}

void ProblemasGuion::ponerPatron(const PatronCodigos& patron)
{
    if (patron == opciones_.patron)
        return;
    const bool enUso = opciones_.comprobaciones.testFlag(Comprobacion::CodigosCarpeta) &&
                       (patron.esPropio() || opciones_.patron.esPropio());
    opciones_.patron = patron;
    if (enUso)
        releer();
}

void ProblemasGuion::ponerCodificacion(std::optional<Codificacion> codificacion)
{
    if (codificacion == codificacion_)
        return;
    codificacion_ = codificacion;
    probador_.reset();
    opciones_.nombreCodificacion.clear();
    if (codificacion && !codificacion->esUnicode()) {
        probador_ = std::make_unique<ProbadorCodificacion>(*codificacion);
        opciones_.nombreCodificacion = codificacion->nombreLegible();
    }
    LeerTraduccion(0, lineasTraduccion());
    Comprobar(0, lineasTraduccion());
    Avisar(0, lineasTraduccion());
}

void ProblemasGuion::ponerIgnorados(AvisosIgnorados ignorados)
{
    ignorados_ = std::move(ignorados);
    Comprobar(0, lineasTraduccion());
    Avisar(0, lineasTraduccion());
}

void ProblemasGuion::mostrarIgnorados(bool mostrar)
{
    if (mostrar == mostrarIgnorados_)
        return;
    mostrarIgnorados_ = mostrar;
    if (ignorados_.vacio())
        return;
    Comprobar(0, lineasTraduccion());
    Avisar(0, lineasTraduccion());
}

void ProblemasGuion::cambioOriginal(int desde, int quitadas, int agregadas)
{
    const int viejo = lineasOriginal();
    if (desde < 0 || quitadas < 0 || agregadas < 0 || desde + quitadas > viejo ||
        viejo - quitadas + agregadas != textos_.lineasOriginal()) {
        releer();
        return;
    }
    Reemplazar(original_, desde, quitadas, agregadas);
    cursor_ = std::min(cursor_, desde);
    LeerOriginal(desde, desde + agregadas);
    // Only the question marks of the translation reach other lines: a changed original line changes its
    // own pair, unless lines came or went before the translation's end. Lines that come or go at the
    // original's end, as a load adds them, move no other line.
    const int hasta = quitadas == agregadas || desde >= lineasTraduccion() ? desde + agregadas
                      : desde + quitadas == viejo ? desde + std::max(quitadas, agregadas)
                                                  : lineasTraduccion();
    Comprobar(desde, hasta);
    Avisar(desde, std::max({hasta, viejo, lineasOriginal()}));
}

void ProblemasGuion::cambioTraduccion(int desde, int quitadas, int agregadas)
{
    const int viejo = lineasTraduccion();
    if (desde < 0 || quitadas < 0 || agregadas < 0 || desde + quitadas > viejo ||
        viejo - quitadas + agregadas != textos_.lineasTraduccion()) {
        releer();
        return;
    }
    if (quitadas != agregadas) {
        // The counts of the lines that go, then room for the new ones; every line after them is compared
        // again below, as it now stands beside another original line.
        for (int k = desde; k < desde + quitadas; ++k)
            total_ -= cuentas_[std::size_t(k)];
        Reemplazar(traduccion_, desde, quitadas, agregadas);
        Reemplazar(cuentas_, desde, quitadas, agregadas);
        cursor_ = std::min(cursor_, desde);
        conProblemas_.redimensionar(lineasTraduccion());
        for (int k = desde; k < desde + agregadas; ++k)
            conProblemas_.poner(k, false);
    }
    LeerTraduccion(desde, desde + agregadas);
    const int hasta = quitadas == agregadas ? desde + agregadas + alcanceSignos : lineasTraduccion();
    Comprobar(desde - alcanceSignos, hasta);
    Avisar(desde - alcanceSignos, std::max(hasta, viejo));
}

void ProblemasGuion::releer()
{
    const int viejo = lineasTraduccion();
    original_.clear();
    original_.resize(std::size_t(textos_.lineasOriginal()));
    traduccion_.clear();
    traduccion_.resize(std::size_t(textos_.lineasTraduccion()));
    cuentas_.assign(traduccion_.size(), 0);
    total_ = 0;
    conProblemas_.redimensionar(0);
    conProblemas_.redimensionar(lineasTraduccion());
    cursor_ = 0;
    LeerOriginal(0, lineasOriginal());
    LeerTraduccion(0, lineasTraduccion());
    Comprobar(0, lineasTraduccion());
    Avisar(0, std::max(viejo, lineasTraduccion()));
}

void ProblemasGuion::ponerDiferido(bool diferido)
{
    diferido_ = diferido;
}

void ProblemasGuion::pausar(bool pausado)
{
    pausado_ = pausado;
    if (!pausado_ && pendiente_)
        temporizador_.start();
}

void ProblemasGuion::comprobarAhora(int desde, int hasta)
{
    if (!LeerPendientes(desde, hasta))
        return;
    Comprobar(desde - alcanceSignos, hasta + alcanceSignos);
    Avisar(desde - alcanceSignos, hasta + alcanceSignos);
}

bool ProblemasGuion::comprobarPendientes(int presupuestoMs)
{
    QElapsedTimer reloj;
    reloj.start();
    const int total = std::max(lineasOriginal(), lineasTraduccion());
    // A stretch at a time, so that the clock is asked now and then only; at least one stretch a call.
    constexpr int tramo = 512;
    while (cursor_ < total) {
        while (cursor_ < total && Leida(cursor_))
            ++cursor_;
        const int hasta = std::min(cursor_ + tramo, total);
        comprobarAhora(cursor_, hasta);
        cursor_ = hasta;
        if (reloj.nsecsElapsed() >= qint64(presupuestoMs) * 1000000)
            break;
    }
    pendiente_ = cursor_ < total;
    return pendiente_;
}

QList<Problema> ProblemasGuion::problemas(int linea) const
{
    QList<Problema> problemas = Calcular(linea);
    if (ignorados_.vacio())
        return problemas;
    for (auto i = problemas.begin(); i != problemas.end();) {
        i->ignorado = ignorados_.contiene(Clave(linea, *i));
        if (i->ignorado && !mostrarIgnorados_)
            i = problemas.erase(i);
        else
            ++i;
    }
    return problemas;
}

int ProblemasGuion::cantidad(int linea) const
{
    return linea >= 0 && linea < lineasTraduccion() ? cuentas_[std::size_t(linea)] : 0;
}

int ProblemasGuion::faltantes() const
{
    if (!opciones_.comprobaciones.testFlag(Comprobacion::LineasFaltantes))
        return 0;
    return std::max(lineasOriginal() - lineasTraduccion(), 0);
}

Problema ProblemasGuion::problemaFaltantes() const
{
    return {Comprobacion::LineasFaltantes, TextoLineasFaltantes(lineasTraduccion() + 1, faltantes())};
}

int ProblemasGuion::totalProblemas() const
{
    return int(std::min<qint64>(total_, std::numeric_limits<int>::max() - 1)) + (faltantes() > 0 ? 1 : 0);
}

int ProblemasGuion::totalLineas() const
{
    return conProblemas_.cantidad() + (faltantes() > 0 ? 1 : 0);
}

QString ProblemasGuion::resumen() const
{
    return TextoResumen(totalProblemas(), totalLineas());
}

void ProblemasGuion::ignorar(int linea, const Problema& problema)
{
    ignorados_.agregar(Clave(linea, problema));
    Comprobar(linea, linea + 1);
    Avisar(linea, linea + 1);
}

void ProblemasGuion::dejarDeIgnorar(int linea, const Problema& problema)
{
    ignorados_.quitar(Clave(linea, problema));
    Comprobar(linea, linea + 1);
    Avisar(linea, linea + 1);
}

int ProblemasGuion::siguiente(int linea, int columna, bool adelante) const
{
    if (conProblemas_.cantidad() == 0)
        return -1;
    if (adelante) {
        if (tieneProblemas(linea) && columna < traduccion_[std::size_t(linea)].largo())
            return linea;
        const int encontrada = conProblemas_.siguiente(linea + 1);
        return encontrada >= 0 ? encontrada : conProblemas_.siguiente(0);
    }
    const int encontrada = conProblemas_.anterior(linea);
    return encontrada >= 0 ? encontrada : conProblemas_.anterior(lineasTraduccion());
}

const ResumenLinea* ProblemasGuion::resumenOriginal(int linea) const
{
    return linea >= 0 && linea < lineasOriginal() ? &original_[std::size_t(linea)] : nullptr;
}

const ResumenLinea* ProblemasGuion::resumenTraduccion(int linea) const
{
    return linea >= 0 && linea < lineasTraduccion() ? &traduccion_[std::size_t(linea)] : nullptr;
}

bool ProblemasGuion::LeerPendientes(int desde, int hasta)
{
    desde = std::max(desde, 0);
    if (!pendiente_ || desde >= std::min(hasta, std::max(lineasOriginal(), lineasTraduccion())))
        return false;
    const PatronCodigos& patron = opciones_.patronEnUso();
    bool leidas = false;
    textos_.leerOriginal(desde, std::min(hasta, lineasOriginal()), [&](int k, const QString& texto) {
        if (!original_[std::size_t(k)].leida()) {
            original_[std::size_t(k)] = Resumir(texto, patron);
            leidas = true;
        }
    });
    textos_.leerTraduccion(desde, std::min(hasta, lineasTraduccion()), [&](int k, const QString& texto) {
        if (!traduccion_[std::size_t(k)].leida()) {
            traduccion_[std::size_t(k)] = Resumir(texto, patron, probador_.get());
            leidas = true;
        }
    });
    return leidas;
}

bool ProblemasGuion::Leida(int linea) const
{
    const ResumenLinea* original = resumenOriginal(linea);
    const ResumenLinea* traduccion = resumenTraduccion(linea);
    return (!original || original->leida()) && (!traduccion || traduccion->leida());
}

bool ProblemasGuion::Diferir(int desde, int hasta)
{
    if (!diferido_ || hasta - desde <= lineasSueltas)
        return false;
    pendiente_ = true;
    cursor_ = std::min(cursor_, std::max(desde, 0));
    if (!pausado_)
        temporizador_.start();
    return true;
}

void ProblemasGuion::LeerOriginal(int desde, int hasta)
{
    if (Diferir(desde, hasta)) {
        for (int k = std::max(desde, 0); k < std::min(hasta, lineasOriginal()); ++k)
            original_[std::size_t(k)] = ResumenLinea();
        return;
    }
    const PatronCodigos& patron = opciones_.patronEnUso();
    textos_.leerOriginal(
        std::max(desde, 0), std::min(hasta, lineasOriginal()),
        [&](int k, const QString& texto) { original_[std::size_t(k)] = Resumir(texto, patron); });
    // The other half of these pairs, if it waits, is read too: a change is checked at once.
    LeerPendientes(desde, hasta);
}

void ProblemasGuion::LeerTraduccion(int desde, int hasta)
{
    if (Diferir(desde, hasta)) {
        for (int k = std::max(desde, 0); k < std::min(hasta, lineasTraduccion()); ++k)
            traduccion_[std::size_t(k)] = ResumenLinea();
        return;
    }
    const PatronCodigos& patron = opciones_.patronEnUso();
    textos_.leerTraduccion(std::max(desde, 0), std::min(hasta, lineasTraduccion()),
                           [&](int k, const QString& texto) {
                               traduccion_[std::size_t(k)] = Resumir(texto, patron, probador_.get());
                           });
    LeerPendientes(desde, hasta);
}

void ProblemasGuion::Comprobar(int desde, int hasta)
{
    desde = std::max(desde, 0);
    hasta = std::min(hasta, lineasTraduccion());
    const bool sueltas = hasta - desde <= lineasSueltas;
    for (int k = desde; k < hasta; ++k) {
        const int cuenta = std::min(Contar(k), int(std::numeric_limits<quint16>::max()));
        quint16& anterior = cuentas_[std::size_t(k)];
        total_ += cuenta - anterior;
        anterior = quint16(cuenta);
        if (sueltas)
            conProblemas_.poner(k, cuenta > 0);
        else
            conProblemas_.ponerSinContar(k, cuenta > 0);
    }
    if (!sueltas)
        conProblemas_.recontar();
}

int ProblemasGuion::Contar(int linea) const
{
    const ResumenLinea* original = resumenOriginal(linea);
    if (!original || !Leida(linea))
        return 0;
    const int cantidad = ContarProblemas(*original, linea, vecinas_, opciones_);
    // Which problems are ignored only their messages tell: the texts are read again for those lines alone.
    if (cantidad == 0 || ignorados_.vacio() || mostrarIgnorados_)
        return cantidad;
    const QList<Problema> calculados = Calcular(linea);
    return int(std::count_if(calculados.cbegin(), calculados.cend(), [&](const Problema& problema) {
        return !ignorados_.contiene(Clave(linea, problema));
    }));
}

QList<Problema> ProblemasGuion::Calcular(int linea) const
{
    if (!resumenOriginal(linea) || !resumenTraduccion(linea) || !Leida(linea))
        return {};
    QString original;
    QString traduccion;
    textos_.leerOriginal(linea, linea + 1, [&](int, const QString& texto) { original = texto; });
    textos_.leerTraduccion(linea, linea + 1, [&](int, const QString& texto) { traduccion = texto; });
    return ProblemasLinea(original, traduccion, linea, vecinas_, opciones_, probador_.get());
}

quint64 ProblemasGuion::Clave(int linea, const Problema& problema) const
{
    const ResumenLinea* original = resumenOriginal(linea);
    const ResumenLinea* traduccion = resumenTraduccion(linea);
    return ClaveAviso(original ? original->huella() : 0, traduccion ? traduccion->huella() : 0,
                      problema.texto);
}

void ProblemasGuion::Avisar(int desde, int hasta)
{
    Q_EMIT cambio(std::max(desde, 0), std::max(hasta, 0));
}
