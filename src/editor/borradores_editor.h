// Drafts in the window: whatever the box holds that differs from what was last loaded or saved is kept
// aside in the user's data folder, a while after the last change and at once before anything replaces
// the box's text. Ctrl+R brings it back as one edit; the file list marks the scripts that have one.
#pragma once

#include <chrono>
#include <optional>

#include <QDateTime>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QTextBlock>
#include <QTimer>

#include "borradores.h"

class QAction;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class CajaMensajes;
class CajaTexto;
class ListaArchivos;
class VidaPar;
struct ParCargado;

// Puts `texto` (lines joined by '\n') into the box as one edit that a single Ctrl+Z undoes. Only the
// stretch between the longest common beginning and end is replaced, so that bringing back a draft of
// a long script that differs in a few lines costs what those lines cost; the caret goes to where the
// texts start to differ.
void ReemplazarComoUnaEdicion(QPlainTextEdit& caja, const QString& texto);

class BorradoresEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BorradoresEditor)
public:
    BorradoresEditor(CajaTexto& caja, ListaArchivos& archivos, CajaMensajes& mensajes, const VidaPar& vida,
                     const QString& carpetaDatos, std::chrono::milliseconds pausa);

    // The context menu's section: recover and discard.
    void AnadirAlMenu(QMenu& menu);
    // When the loaded script's draft was kept, if it differs from the box.
    std::optional<QDateTime> FechaDistinto();

private:
    // Where the box's text may differ from the reference: it is the reference's first `alPrincipio`
    // characters, then a stretch of its own, then the reference's last `alFinal` characters.
    struct Diferencia
    {
        qsizetype alPrincipio = 0;
        qsizetype alFinal = 0;
    };

    void Empezar(const ParCargado& par, const TextoCompacto& texto);
    // The box's text was edited: `quitados` characters at `posicion` became `agregados`.
    void Cambio(int posicion, int quitados, int agregados);
    void OlvidarDiferencia();
    Diferencia Diferente() const;
    qsizetype Largo() const;
    // Keeps the box's text as the draft, a while after the last change (queued) or at once. Only the
    // stretch that differs from the reference is copied out of the box.
    void Conservar();
    void CopiarTramo();
    void DetenerCopia();
    void ConservarAhora();
    // Before the box's text is replaced: kept at once, and the box then belongs to no script.
    void Dejar();
    // The box's text was saved (`texto`, the box's text), or its script deleted: the draft goes, unless
    // another editor kept it and it holds something else.
    void Guardado(const ParCargado& par, const QString& texto);
    void Eliminado(const QString& rutaTraduccion);
    // A save was given up because someone else changed the translation: the box's whole text is kept.
    void Rehusado();
    // The translation is about to be written in place: its old text is kept as the draft first.
    void ConservarAnterior(const QString& rutaTraduccion, const QString& anterior, bool& conservado);
    // The loaded script's draft when it differs from the box.
    std::optional<Borrador> Distinto();
    void Recuperar();
    void Descartar();
    void Marcar(QListWidgetItem& elemento);
    void AvisarFallo(const QString& carpeta, const QString& motivo);

    CajaTexto& caja_;
    ListaArchivos& archivos_;
    CajaMensajes& mensajes_;
    Borradores almacen_;
    // Runs once the box has been left alone for a while after a change.
    QTimer pausa_;
    // The box's text is copied for the store a stretch at a time, between the window's events, so
    // that no keystroke waits for a whole long script to be copied. A change drops the copy.
    QTimer tramo_;
    QTextBlock siguienteBloque_;
    QString copia_;
    quint64 cambiosCopia_ = 0;
    Diferencia diferenciaCopia_;
    // The document position where the copy ends.
    qsizetype finCopia_ = 0;
    // The translation whose text the box holds; empty while the box belongs to no script.
    QString ruta_;
    // The box's text (lines joined by '\n') as last loaded or saved: in Latin-1 after a load when it
    // can be, as it is kept for as long as the script is shown.
    TextoCompacto referencia_;
    // What the box's edits since then left equal to the reference; nothing while there was no edit.
    std::optional<Diferencia> diferencia_;
    quint64 sesion_ = 0;
    // Counts the box's changes; the draft is taken again only after one.
    quint64 cambios_ = 0;
    quint64 cambiosConservados_ = 0;
    // Every valid draft in the store, by translation path, with its time.
    QHash<QString, QDateTime> existentes_;
    QIcon marca_;
    QAction* recuperar_;
    // The store's failure is told once in a run.
    bool falloAvisado_ = false;
};
