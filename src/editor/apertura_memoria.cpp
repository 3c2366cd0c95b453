// Opening the folder's memory and feeding it the saves.
#include "apertura_memoria.h"

#include <QDir>
#include <QFileInfo>

#include "codigos.h"
#include "codigos_carpeta.h"
#include "lista_carpetas.h"
#include "memoria_traduccion.h"
#include "vida_par.h"

namespace {

// What a lookup compares of a line: the line without the codes the folder's checks recognise. The
// pattern is copied into the function, which runs on the memory's thread.
MemoriaTraduccion::QuitarCodigos SinCodigos(const QString& carpeta)
{
    return [patron = PatronCodigos(LeerCodigosCarpeta(carpeta))](QStringView linea) {
        QString texto;
        texto.reserve(linea.size());
        qsizetype desde = 0;
        for (const TramoCodigo& codigo : patron.codigos(linea)) {
            texto.append(linea.sliced(desde, codigo.inicio - desde));
            desde = codigo.inicio + codigo.largo;
        }
        texto.append(linea.sliced(desde));
        return texto;
    };
}

} // namespace

AperturaMemoria::AperturaMemoria(MemoriaTraduccion& memoria, const ListaCarpetas& carpetas,
                                 const VidaPar& vida)
    : memoria_(memoria)
{
    // Another visit of the same folder opens it again too: scripts changed meanwhile are indexed again.
    connect(&vida, &VidaPar::carpetaCambiada, this, &AperturaMemoria::Abrir);
    // A load wants both processors: the memory's indexing waits for it.
    SeguirCargas(vida, this, [this](bool cargando) { memoria_.pausar(cargando); });
    connect(&vida, &VidaPar::guardado, this, [this](const ParCargado& par, const QString& texto) {
        const QFileInfo original(par.rutaOriginal);
        if (QDir::cleanPath(original.absolutePath()) == memoria_.carpeta())
            memoria_.Guardado(original.fileName(), texto);
    });
    Abrir(carpetas.ruta());
}

void AperturaMemoria::Abrir(const QString& carpeta)
{
    memoria_.Abrir(carpeta, SinCodigos(carpeta));
}
