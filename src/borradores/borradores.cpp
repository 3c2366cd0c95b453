// The draft store. One thread writes the queued snapshots; a caller that needs a draft on disk before
// it goes on writes it itself. Every task takes a number when it is handed in, and a task older than
// the newest one applied to its translation is dropped, so a slow write never lands over a newer one.
#include "borradores.h"

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include "archivos.h"
#include "errores.h"
#include "proceso.h"

namespace {

// The writing thread's nice value.
constexpr int prioridadHilo = 10;

// Makes sure the draft file exists, with the owner's access only, before it is replaced: the replacement
// takes its mode from it. A replacement of a missing file would take the mode from the process's umask,
// which cannot be read without changing it for a moment for every thread of the editor. True when the
// file was created here (and is still empty).
bool PrepararArchivo(const QString& ruta)
{
    const QByteArray local = QFile::encodeName(ruta);
    int fd = ::open(local.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const bool creado = fd >= 0;
    // Non-blocking: a pipe put where the draft goes must not hold the caller.
    if (!creado)
        fd = ::open(local.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false; // the write that follows reports why
    struct stat datos;
    if (::fstat(fd, &datos) == 0 && S_ISREG(datos.st_mode))
        ::fchmod(fd, 0600);
    ::close(fd);
    return creado;
}

// The draft a file holds; nothing when it is missing, is no regular file or holds no draft.
std::optional<Borrador> LeerBorrador(const QString& ruta)
{
    try {
        return DecodificarBorrador(
            LeerArchivo(ruta, SistemaReal(), largoMaximoBorrador + largoMaximoCabecera));
    } catch (const ErrorEjecucion&) {
        return std::nullopt;
    }
}

// Whether this editor may remove a draft file that holds `borrador` (nothing: no draft it can read).
// Its own always; never one of another editor that may still be running; any other one on request, or,
// after a save, when it holds the text saved.
bool PuedeQuitar(const std::optional<Borrador>& borrador, const std::optional<TextoCompacto>& textoGuardado)
{
    if (borrador && borrador->escritor) {
        if (*borrador->escritor == EsteProceso())
            return true;
        if (EstadoDe(*borrador->escritor) != EstadoProceso::Terminado)
            return false;
    }
    return !textoGuardado || (borrador && QAnyStringView::equal(borrador->texto, textoGuardado->Vista()));
}

bool Existe(const QString& ruta)
{
    struct stat datos;
    return ::lstat(QFile::encodeName(ruta).constData(), &datos) == 0 || errno != ENOENT;
}

// The stretch the snapshot carries between what it shares with the reference, lines joined by '\n';
// nothing when its counts do not fit the reference.
std::optional<QString> Medio(const Instantanea& instantanea)
{
    const qsizetype inicio = instantanea.igualesAlPrincipio;
    const qsizetype fin = instantanea.igualesAlFinal;
    if (inicio < 0 || fin < 0 || inicio > instantanea.referencia.size() - fin)
        return std::nullopt;
    QString medio = instantanea.texto;
    medio.replace(QChar::ParagraphSeparator, u'\n');
    return medio;
}

bool IgualAReferencia(const Instantanea& instantanea, QStringView medio)
{
    const qsizetype largo =
        instantanea.referencia.size() - instantanea.igualesAlPrincipio - instantanea.igualesAlFinal;
    return QAnyStringView::equal(medio, instantanea.referencia.Tramo(instantanea.igualesAlPrincipio, largo));
}

// The UTF-8 of a text given in parts, a stretch at a time. A long script's draft is so written without a
// whole copy of its text in memory: fresh memory that large costs more than encoding and writing it.
class Utf8PorTramos
{
public:
    explicit Utf8PorTramos(const std::array<QAnyStringView, 3>& partes) : partes_(partes) {}

    // Puts the next stretch in `tramo`; false once the text is done.
    bool Siguiente(QByteArray& tramo)
    {
        while (parte_ < partes_.size() && desde_ == partes_[parte_].size()) {
            ++parte_;
            desde_ = 0;
        }
        if (parte_ == partes_.size())
            return false;
        partes_[parte_].visit([&](auto texto) { Codificar(texto, tramo); });
        return true;
    }

private:
    static constexpr qsizetype porTramo = qsizetype(1) << 20;

    void Codificar(QStringView texto, QByteArray& tramo)
    {
        qsizetype largo = std::min(porTramo, texto.size() - desde_);
        // A pair of surrogates goes whole.
        if (desde_ + largo < texto.size() && texto[desde_ + largo - 1].isHighSurrogate())
            ++largo;
        tramo.resize(utf8_.requiredSpace(largo));
        tramo.resize(utf8_.appendToBuffer(tramo.data(), texto.sliced(desde_, largo)) - tramo.constData());
        desde_ += largo;
    }
    void Codificar(QLatin1StringView texto, QByteArray& tramo)
    {
        const qsizetype largo = std::min(porTramo, texto.size() - desde_);
        tramo = texto.sliced(desde_, largo).toString().toUtf8();
        desde_ += largo;
    }
    // Already UTF-8: its bytes go as they are, a stretch at a time.
    void Codificar(QUtf8StringView texto, QByteArray& tramo)
    {
        const qsizetype largo = std::min(porTramo, texto.size() - desde_);
        tramo = QByteArray(texto.data() + desde_, largo);
        desde_ += largo;
    }

    std::array<QAnyStringView, 3> partes_;
    size_t parte_ = 0;
    qsizetype desde_ = 0;
    QStringEncoder utf8_{QStringEncoder::Utf8};
};

// A snapshot's text as its draft holds it: the reference's unchanged beginning and end around the stretch.
using PartesTexto = std::array<QAnyStringView, 3>;

PartesTexto Partes(const Instantanea& instantanea, QStringView medio)
{
    const TextoCompacto& referencia = instantanea.referencia;
    return {referencia.Tramo(0, instantanea.igualesAlPrincipio), medio,
            referencia.Tramo(referencia.size() - instantanea.igualesAlFinal, instantanea.igualesAlFinal)};
}

// The text's length in UTF-8, which the draft's header tells before the text: it is encoded once to count.
qint64 LargoUtf8(const PartesTexto& partes)
{
    qint64 largo = 0;
    QByteArray tramo;
    for (Utf8PorTramos contar(partes); contar.Siguiente(tramo);)
        largo += tramo.size();
    if (largo > largoMaximoBorrador)
        throw ErrorEjecucion(Errores::Desbordamiento);
    return largo;
}

void EscribirBorrador(const QString& ruta, const PartesTexto& partes, qint64 largo, const Borrador& cabecera)
{
    bool conCabecera = false;
    Utf8PorTramos texto(partes);
    EscribirArchivoAtomicoPorTramos(ruta, [&](QByteArray& siguiente) {
        if (!std::exchange(conCabecera, true)) {
            siguiente = CabeceraBorrador(cabecera, largo);
            return true;
        }
        return texto.Siguiente(siguiente);
    });
}

} // namespace

Borradores::Borradores(const QString& carpeta, QObject* padre)
    : QObject(padre), carpeta_(QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath())),
      hilo_([this] { Trabajar(); })
{
}

Borradores::~Borradores()
{
    {
        const std::lock_guard cerrojo(mutexCola_);
        parar_ = true;
    }
    hayTrabajo_.notify_all();
    hilo_.join();
}

QString Borradores::RutaArchivo(const QString& clave) const
{
    return carpeta_ + u'/' + NombreArchivoBorrador(clave);
}

void Borradores::Conservar(Instantanea instantanea)
{
    const QString clave = ClaveBorrador(instantanea.rutaTraduccion);
    {
        const std::lock_guard cerrojo(mutexCola_);
        cola_.insert(clave, Tarea{std::move(instantanea), ++siguienteOrden_});
    }
    hayTrabajo_.notify_one();
}

// Takes a number for a task done by the caller and drops what waits for the same translation.
quint64 Borradores::Retirar(const QString& clave)
{
    const std::lock_guard cerrojo(mutexCola_);
    cola_.remove(clave);
    return ++siguienteOrden_;
}

bool Borradores::ConservarAhora(Instantanea instantanea)
{
    const QString clave = ClaveBorrador(instantanea.rutaTraduccion);
    const Tarea tarea{std::move(instantanea), Retirar(clave)};
    const Efecto efecto = Aplicar(tarea);
    Avisar(clave, tarea.orden, efecto);
    return efecto.resultado != Resultado::Fallo;
}

void Borradores::Eliminar(const QString& rutaTraduccion, const std::optional<TextoCompacto>& textoGuardado)
{
    const QString clave = ClaveBorrador(rutaTraduccion);
    const quint64 orden = Retirar(clave);
    Avisar(clave, orden, Quitar(clave, orden, textoGuardado));
}

void Borradores::Esperar()
{
    std::unique_lock cerrojo(mutexCola_);
    sinTrabajo_.wait(cerrojo, [this] { return cola_.isEmpty() && !ocupado_; });
}

void Borradores::Trabajar()
{
    // Below the window's thread: on a busy machine a keystroke goes first, and the draft a moment later.
    PriorizarHilo(prioridadHilo);
    std::unique_lock cerrojo(mutexCola_);
    for (;;) {
        hayTrabajo_.wait(cerrojo, [this] { return parar_ || !cola_.isEmpty(); });
        if (cola_.isEmpty())
            return;
        // The oldest first: every translation waits its turn.
        auto primera = cola_.begin();
        for (auto it = cola_.begin(); it != cola_.end(); ++it) {
            if (it->orden < primera->orden)
                primera = it;
        }
        const QString clave = primera.key();
        const Tarea tarea = *primera;
        cola_.erase(primera);
        ocupado_ = true;
        cerrojo.unlock();
        const Efecto efecto = Aplicar(tarea);
        QMetaObject::invokeMethod(
            this, [this, clave, orden = tarea.orden, efecto] { Avisar(clave, orden, efecto); },
            Qt::QueuedConnection);
        cerrojo.lock();
        ocupado_ = false;
        if (cola_.isEmpty())
            sinTrabajo_.notify_all();
    }
}

Borradores::Efecto Borradores::Aplicar(const Tarea& tarea)
{
    const Instantanea& instantanea = tarea.instantanea;
    const QString clave = ClaveBorrador(instantanea.rutaTraduccion);
    const std::optional<QString> medio = Medio(instantanea);
    if (!medio)
        return {Resultado::Fallo, {}, ErrorEjecucion::DescripcionDe(Errores::ValorPropiedadNoValido)};

    const std::lock_guard cerrojo(mutexArchivos_);
    if (tarea.orden <= aplicada_.value(clave))
        return {};
    aplicada_.insert(clave, tarea.orden);
    const QString ruta = RutaArchivo(clave);
    if (IgualAReferencia(instantanea, *medio)) {
        if (sesionDelBorrador_.value(clave) != instantanea.sesion)
            return {};
        sesionDelBorrador_.remove(clave);
        // Another editor may have kept its own draft there since.
        const std::optional<Borrador> enDisco = LeerBorrador(ruta);
        if (enDisco && enDisco->escritor != EsteProceso())
            return {};
        return QuitarArchivo(clave);
    }
    try {
        CrearCarpetaPrivada(carpeta_);
        const QDateTime fecha = QDateTime::currentDateTimeUtc();
        const PartesTexto partes = Partes(instantanea, *medio);
        const qint64 largo = LargoUtf8(partes);
        const bool creado = PrepararArchivo(ruta);
        try {
            EscribirBorrador(ruta, partes, largo, {clave, fecha, {}, EsteProceso()});
        } catch (const ErrorEjecucion&) {
            if (creado)
                ::unlink(QFile::encodeName(ruta).constData());
            throw;
        }
        sesionDelBorrador_.insert(clave, instantanea.sesion);
        return {Resultado::Conservado, fecha, {}};
    } catch (const ErrorEjecucion& error) {
        return {Resultado::Fallo, {}, error.descripcion()};
    }
}

Borradores::Efecto Borradores::Quitar(const QString& clave, quint64 orden,
                                      const std::optional<TextoCompacto>& textoGuardado)
{
    const std::lock_guard cerrojo(mutexArchivos_);
    if (orden <= aplicada_.value(clave))
        return {};
    aplicada_.insert(clave, orden);
    sesionDelBorrador_.remove(clave);
    const QString ruta = RutaArchivo(clave);
    if (Existe(ruta) && !PuedeQuitar(LeerBorrador(ruta), textoGuardado))
        return {};
    return QuitarArchivo(clave);
}

// Called with `mutexArchivos_` held.
Borradores::Efecto Borradores::QuitarArchivo(const QString& clave)
{
    if (::unlink(QFile::encodeName(RutaArchivo(clave)).constData()) != 0 && errno != ENOENT)
        return {Resultado::Fallo, {}, ErrorDeSistema(errno).descripcion()};
    return {Resultado::Eliminado, {}, {}};
}

void Borradores::Avisar(const QString& clave, quint64 orden, const Efecto& efecto)
{
    if (efecto.resultado == Resultado::Fallo) {
        Q_EMIT fallo(carpeta_, efecto.motivo);
        return;
    }
    // A notice from the thread may arrive after a newer task the caller did itself.
    if (efecto.resultado == Resultado::Nada || orden <= avisada_.value(clave))
        return;
    avisada_.insert(clave, orden);
    if (efecto.resultado == Resultado::Conservado)
        Q_EMIT conservado(clave, efecto.fecha);
    else
        Q_EMIT eliminado(clave);
}

std::optional<Borrador> Borradores::Leer(const QString& rutaTraduccion)
{
    Esperar();
    const QString clave = ClaveBorrador(rutaTraduccion);
    std::optional<Borrador> borrador = LeerBorrador(RutaArchivo(clave));
    if (!borrador || borrador->rutaTraduccion != clave)
        return std::nullopt;
    return borrador;
}

QHash<QString, QDateTime> Borradores::Existentes() const
{
    QHash<QString, QDateTime> existentes;
    const QDir dir(carpeta_);
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.borrador")}, QDir::Files)) {
        if (!EsNombreBorrador(info.fileName()))
            continue;
        const std::optional<Borrador> borrador = LeerBorrador(info.filePath());
        // A file whose name is not the one its path gives was copied or renamed by hand: it is not
        // where this store would look for it, so it is not shown as a draft either.
        if (borrador && info.fileName() == NombreArchivoBorrador(borrador->rutaTraduccion))
            existentes.insert(borrador->rutaTraduccion, borrador->fecha);
    }
    return existentes;
}

void Borradores::QuitarRestos() const
{
    const QDateTime antes = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const QDir dir(carpeta_);
    for (const QFileInfo& info :
         dir.entryInfoList({QStringLiteral(".velarto-*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (info.lastModified().toUTC() < antes)
            QFile::remove(info.filePath());
    }
}
