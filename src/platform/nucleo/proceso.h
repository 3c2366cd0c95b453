// Who wrote a file: a process number alone is reused by the system, so an identity also holds when the
// process started and which boot it ran in. Drafts and temporary files carry one, so that an editor
// can tell a file of its own, or of an editor that is gone, from one another running editor is using.
#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>

struct IdentidadProceso
{
    qint64 pid = 0;
    // Clock ticks from boot to the process's start, as /proc tells it; 0 where /proc cannot tell.
    quint64 inicio = 0;
    // The first 8 hex digits of the boot's random id; "00000000" where /proc cannot tell.
    QByteArray arranque;

    // "4242-123456-1a2b3c4d", as draft headers and temporary file names carry it.
    QByteArray texto() const;
    // The identity `texto()` wrote, or nothing for anything else.
    static std::optional<IdentidadProceso> DeTexto(QByteArrayView texto);

    friend bool operator==(const IdentidadProceso&, const IdentidadProceso&) = default;
};

enum class EstadoProceso {
    Vivo,
    // Its number is free, or taken by a process that started later.
    Terminado,
    // It ran in another boot, or on another machine that shares the folder: nothing here tells.
    Desconocido,
};

// This process, read once.
const IdentidadProceso& EsteProceso();
// The process that has this number now, or nothing when none has.
std::optional<IdentidadProceso> IdentidadDe(qint64 pid);
EstadoProceso EstadoDe(const IdentidadProceso& identidad);
