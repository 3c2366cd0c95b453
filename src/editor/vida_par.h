// The life of the loaded script pair, as the window tells it. The window's handlers only announce what
// happens to the pair; each feature subscribes to what concerns it and is never called by a handler.
#pragma once

#include <QObject>

#include "par_cargado.h"
#include "texto_compacto.h"

class VidaPar final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VidaPar)
public:
    VidaPar() = default;

Q_SIGNALS:
    // The box's text may be lost at any moment from now (a question is asked, the window closes, the
    // process is told to end); it is still the loaded pair's.
    void enRiesgo();
    // The pair is about to leave the box: another script, a folder or drive change, the window's end.
    void saliendo();
    // The pair's translation has been read into the box (by a load or a re-read): `texto`, its lines
    // joined by '\n', shared with the load (copying it costs nothing), in Latin-1 when it can be. The
    // original may still be on its way.
    void traduccionLeida(const ParCargado& par, const TextoCompacto& texto);
    // Both files are read: the pair is loaded.
    void cargado(const ParCargado& par);
    // The original could not be read: no pair is loaded, and the box keeps what it was given.
    void noCargado();
    // The box's text was saved as the pair's translation, in `par.formatoTraduccion`: `texto`, its lines
    // joined by '\n'. Receivers share it (copying it costs nothing) instead of reading the box again.
    void guardado(const ParCargado& par, const QString& texto);
    // A save was given up: the translation on disk was changed by someone else since it was read, and
    // the translator chose to keep it. The box's text now matches nothing on disk.
    void guardadoRehusado(const ParCargado& par);
    // The translation is about to be written in place (a new file would split its hard links or change
    // its owner): `anterior` is the text it holds until then. A receiver that kept it safe elsewhere sets
    // `conservado`; the window writes only then.
    void escrituraEnSitio(const QString& rutaTraduccion, const QString& anterior, bool& conservado);
    // The script was deleted, and its translation with it when there was one.
    void eliminado(const QString& rutaTraduccion);
    // The script browser shows another folder.
    void carpetaCambiada(const QString& carpeta);
};

// Tells `cargando` true as a pair starts to leave the box, and false once what replaces it is settled: the
// next pair is in, it could not be loaded, or the folder changed, which empties the editor. For work that
// gives way to a load.
template <typename Funcion> void SeguirCargas(const VidaPar& vida, const QObject* contexto, Funcion cargando)
{
    QObject::connect(&vida, &VidaPar::saliendo, contexto, [cargando] { cargando(true); });
    QObject::connect(&vida, &VidaPar::cargado, contexto, [cargando] { cargando(false); });
    QObject::connect(&vida, &VidaPar::noCargado, contexto, [cargando] { cargando(false); });
    QObject::connect(&vida, &VidaPar::carpetaCambiada, contexto, [cargando] { cargando(false); });
}
