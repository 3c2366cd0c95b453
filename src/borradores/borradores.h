// The draft store: one folder of draft files, written off the caller's thread in the order the
// snapshots were taken, or at once when the caller is about to replace the text.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

#include "formato_borrador.h"
#include "texto_compacto.h"

// What the box held for one translation at one moment.
struct Instantanea
{
    QString rutaTraduccion;
    // The box's text as its document holds it: lines separated by '\n' or by U+2029. When either count
    // below is not 0, only the stretch that differs from the reference.
    QString texto;
    // The text last loaded or saved for that translation, lines joined by '\n'.
    TextoCompacto referencia;
    // The stretch of editing the snapshot belongs to (one load of the script). A text back to its
    // reference removes only a draft that the same stretch kept: a draft from before stays until it
    // is recovered, discarded or saved over.
    quint64 sesion = 0;
    // The box's text is the reference's first `igualesAlPrincipio` characters, then `texto`, then the
    // reference's last `igualesAlFinal` characters: so a caller copies out of a long document only
    // what an edit touched, and the store puts the whole text together on its own thread.
    qsizetype igualesAlPrincipio = 0;
    qsizetype igualesAlFinal = 0;
};

class Borradores final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Borradores)
public:
    explicit Borradores(const QString& carpeta, QObject* padre = nullptr);
    // Writes what is still queued, then stops the writing thread.
    ~Borradores() override;

    const QString& carpeta() const { return carpeta_; }

    // Queues the snapshot; the newest one of a translation replaces any still waiting. A text equal
    // to its reference removes the draft instead (see Instantanea::sesion).
    void Conservar(Instantanea instantanea);
    // The same, done before returning; anything older queued for that translation is dropped. False
    // when the draft could not be written (the failure is also signalled): a caller about to overwrite
    // what the draft keeps must not go on.
    bool ConservarAhora(Instantanea instantanea);
    // Removes the translation's draft before returning, unless another editor that is still running
    // kept it (or may be: one of another boot or machine); this process's own drafts always go. With
    // `textoGuardado`, after a save or a deletion, a draft of an editor that has ended (or of the first
    // format, which does not name its editor) goes only when it holds that very text: it may be the
    // only copy of someone's typing.
    void Eliminar(const QString& rutaTraduccion,
                  const std::optional<TextoCompacto>& textoGuardado = std::nullopt);
    // Waits until every queued snapshot has been written.
    void Esperar();
    // The translation's draft, once what is queued is written; nothing when there is none or the file
    // is not a whole draft of a known version (it is left as it is). Read without blocking: a pipe or
    // a device where a draft should be is no draft.
    std::optional<Borrador> Leer(const QString& rutaTraduccion);
    // The time of every valid draft in the folder, by translation path (ClaveBorrador).
    QHash<QString, QDateTime> Existentes() const;
    // Removes the temporary files that writes killed halfway left behind. Only old ones: a write of
    // another editor may be under way.
    void QuitarRestos() const;

Q_SIGNALS:
    // A draft was written or removed; delivered in the object's thread, newest last.
    void conservado(const QString& rutaTraduccion, const QDateTime& fecha);
    void eliminado(const QString& rutaTraduccion);
    // The folder could not be created or written; `motivo` is the Spanish description of the error.
    void fallo(const QString& carpeta, const QString& motivo);

private:
    struct Tarea
    {
        Instantanea instantanea;
        quint64 orden = 0;
    };
    enum class Resultado { Nada, Conservado, Eliminado, Fallo };
    struct Efecto
    {
        Resultado resultado = Resultado::Nada;
        QDateTime fecha;
        QString motivo;
    };

    void Trabajar();
    quint64 Retirar(const QString& clave);
    Efecto Aplicar(const Tarea& tarea);
    Efecto Quitar(const QString& clave, quint64 orden, const std::optional<TextoCompacto>& textoGuardado);
    Efecto QuitarArchivo(const QString& clave);
    void Avisar(const QString& clave, quint64 orden, const Efecto& efecto);
    QString RutaArchivo(const QString& clave) const;

    const QString carpeta_;

    // The queue, guarded by `mutexCola_`: one task per translation, numbered in the order taken.
    std::mutex mutexCola_;
    std::condition_variable hayTrabajo_;
    std::condition_variable sinTrabajo_;
    QHash<QString, Tarea> cola_;
    quint64 siguienteOrden_ = 0;
    bool ocupado_ = false;
    bool parar_ = false;

    // Guarded by `mutexArchivos_`, held while a draft file is written or removed: the newest task
    // applied to each translation, and the stretch of editing that kept its draft.
    std::mutex mutexArchivos_;
    QHash<QString, quint64> aplicada_;
    QHash<QString, quint64> sesionDelBorrador_;

    // The object's thread only: the newest task each translation's signals told about.
    QHash<QString, quint64> avisada_;

    std::thread hilo_;
};
