// The translation memory in the window: Ctrl+M shows or hides "Memoria de traducción" beside the editor,
// which follows the caret's line; Ctrl+1…Ctrl+5 in the box put a match's translation in the caret's
// line; "Rellenar repeticiones" (Ctrl+Shift+M) fills the lines the memory knows; and the box's menu adds
// and takes out the folders the memory reads besides the translator's own.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "carpetas_recientes.h"
#include "resultados.h"

class QAction;
class QKeySequence;
class QMenu;
class QWidget;
class CajaMensajes;
class CajaTexto;
class ListaSimple;
class MemoriaTraduccion;
class VentanaMemoria;
class VidaPar;
struct ParCargado;

// What the memory's window side is built on.
struct ControlesMemoria
{
    CajaTexto& caja;
    // The original's lines, beside the box's.
    const ListaSimple& lista;
    // The editor, which the memory's window goes beside.
    QWidget& ventana;
    // Where the memory's window goes when there is no room beside the editor: a part nobody types in.
    const QWidget& respaldo;
};

class MemoriaEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemoriaEditor)
public:
    // `elegir` empty: the desktop's folder chooser.
    MemoriaEditor(ControlesMemoria controles, MemoriaTraduccion& memoria, const ParCargado& par,
                  const VidaPar& vida, CajaMensajes& mensajes, ElegirCarpeta elegir);

    void AnadirAlMenu(QMenu& menu);

private:
    QAction* NuevaAccion(const QString& texto, const QKeySequence& atajo);
    void Mostrar(bool mostrar);
    // Asks for the caret line's matches while the window shows them.
    void Seguir(bool deNuevo);
    void Consultar(bool deNuevo);
    void Consultada(const ResultadoConsulta& resultado);
    void Olvidar();
    // Puts the translation of the match at `indice` in the caret's line, once its matches are known.
    void Elegir(int indice);
    void Aplicar();
    void Rellenar();
    void Rellenada(const ResultadoRelleno& resultado);
    void AnadirCarpeta();
    void QuitarCarpeta(const QString& carpeta);

    ControlesMemoria c_;
    MemoriaTraduccion& memoria_;
    const ParCargado& par_;
    CajaMensajes& mensajes_;
    ElegirCarpeta elegir_;
    // Owned by the editor, above which it stays.
    VentanaMemoria* ventanaMemoria_;
    QAction* mostrar_;
    QAction* rellenar_;

    // The line last asked about (-1: none) with its original, the lookup's number while it is the one
    // awaited, and its answer once it came.
    int lineaConsultada_ = -1;
    QString originalConsultado_;
    quint64 consulta_ = 0;
    bool respondida_ = false;
    ResultadoConsulta resultado_;
    // The match Ctrl+1… chose before the line's matches were known; -1: none.
    int elegida_ = -1;
    // The fill awaited, and the box's lines it was asked for.
    quint64 relleno_ = 0;
    QStringList lineasRelleno_;
};
