// The window "Memoria de traducción": modeless, showing the memory's matches for the caret's line with
// what differs highlighted, how the same original was translated elsewhere, and how far the memory is
// prepared. It only shows; the editor asks the memory, hands the answers over and places the window
// beside itself as it places its other small windows (ColocarAlLado).
#pragma once

#include <QDialog>

#include "resultados.h"

class QLabel;
class QTextBrowser;

class VentanaMemoria final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VentanaMemoria)
public:
    explicit VentanaMemoria(QWidget* padre = nullptr);

    // The translator's folder: places in other folders show the folder's name too.
    void setCarpeta(const QString& carpeta) { carpeta_ = carpeta; }
    // The matches and ways of one line; an answer for another line replaces it.
    void mostrar(const ResultadoConsulta& resultado);
    // No line to show (no script loaded).
    void vaciar();
    // While the memory is prepared: "Preparando la memoria: 412 de 1.023 scripts"; nothing once all are.
    void mostrarProgreso(int hechos, int total);
    // Why the memory, or part of it, cannot be used; stays until the next folder.
    void mostrarNoDisponible(const QString& motivo);
    void olvidarNoDisponible();

    QLabel* estado() const { return estado_; }
    QLabel* aviso() const { return aviso_; }
    QTextBrowser* coincidencias() const { return coincidencias_; }

Q_SIGNALS:
    // A match was clicked: its place among those shown, from 0 (what Ctrl+1… does in the box).
    void elegida(int indice);

private:
    void MostrarEstado();
    QString Lugar(const Ubicacion& ubicacion) const;

    QLabel* estado_;
    QLabel* aviso_;
    QTextBrowser* coincidencias_;
    QString carpeta_;
    QString progreso_;
    QStringList motivos_;
};
