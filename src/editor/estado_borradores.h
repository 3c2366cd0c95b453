// What the window keeps about drafts: the store, the pause after the last change, the script the box's
// text belongs to and what was last loaded or saved for it, and the drafts the file list marks.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QIcon>
#include <QTextBlock>
#include <QTimer>

#include "borradores.h"

class QPlainTextEdit;

// Puts `texto` (lines joined by '\n') into the box as one edit that a single Ctrl+Z undoes. Only the
// stretch between the longest common beginning and end is replaced, so that bringing back a draft of
// a long script that differs in a few lines costs what those lines cost; the caret goes to where the
// texts start to differ.
void ReemplazarComoUnaEdicion(QPlainTextEdit& caja, const QString& texto);

struct EstadoBorradores
{
    explicit EstadoBorradores(const QString& carpeta) : almacen(carpeta) {}

    Borradores almacen;
    // Runs once the box has been left alone for a while after a change.
    QTimer pausa;
    // The box's text is copied for the store a stretch at a time, between the window's events, so
    // that no keystroke waits for a whole long script to be copied. A change drops the copy.
    QTimer tramo;
    QTextBlock siguienteBloque;
    QString copia;
    quint64 cambiosCopia = 0;
    // The translation whose text the box holds; empty while the box belongs to no script.
    QString ruta;
    // The box's text (lines joined by '\n') as last loaded or saved.
    QString referencia;
    quint64 sesion = 0;
    // Counts the box's changes; the draft is taken again only after one.
    quint64 cambios = 0;
    quint64 cambiosConservados = 0;
    // Every valid draft in the store, by translation path, with its time.
    QHash<QString, QDateTime> existentes;
    QIcon marca;
    // The store's failure is told once in a run.
    bool falloAvisado = false;
};
