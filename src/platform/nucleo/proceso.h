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

// Gives the calling thread a nice value: background work at 10 or more leaves the processors to the
// window's thread whenever both want them. Going back below a value set earlier needs privileges the
// editor lacks, and is then left undone.
void PriorizarHilo(int amabilidad);

// A long script's text, its lines and the bytes of its save are fresh memory, touched page by page; with
// the allocator's transparent huge pages a 2 MiB page costs one fault where it cost 512 (a 2,000,000-line
// save takes half the time). The allocator reads that setting only as a process starts, so the first call
// runs the program again with it, keeping `argv`; a setting of the user's own is left as it is, and where
// the program cannot be run again it goes on as it was. Call it first thing in `main`.
void UsarPaginasGrandes(char* argv[]);
