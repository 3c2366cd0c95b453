// The script checks in the window: violet backgrounds and ticks for the lines with problems, their
// tooltip, F9 / Shift+F9 to the next or previous one, Ctrl+K for the window "Comprobación de la
// traducción", and the context menu's entries: which checks run, ignored warnings and the folder's codes.
#pragma once

#include <memory>

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWidget;
class CajaMensajes;
class CajaTexto;
class ListaCarpetas;
class ListaSimple;
class MarcasEditor;
class ProblemasCaja;
class ProblemasGuion;
class TraduccionesCarpeta;
class VentanaComprobaciones;
class VidaPar;
struct ParCargado;
enum class Comprobacion : quint16;

// What the checks are built on.
struct ControlesComprobaciones
{
    CajaTexto& caja;
    ListaSimple& lista;
    const ListaCarpetas& carpetas;
    // Where the checks' lines show with the lines over their limit.
    MarcasEditor& marcas;
    // The window the checks' window goes beside and back to, and the part of it the checks' window may
    // cover when the screen has no room beside it.
    QWidget& ventana;
    const QWidget& respaldo;
};

class ComprobacionesEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ComprobacionesEditor)
public:
    // `archivoAjustes` empty: the user's settings. `carpetaDatos`: where the ignored warnings are kept.
    // Without `comprobar` nothing is checked and the menu gets no entries: what the benchmark compares with.
    ComprobacionesEditor(ControlesComprobaciones controles, const ParCargado& par,
                         TraduccionesCarpeta& traducidas, const VidaPar& vida, CajaMensajes& mensajes,
                         const QString& carpetaDatos, const QString& archivoAjustes, bool comprobar = true);
    ~ComprobacionesEditor() override;

    // The problems of the pair; nullptr when nothing is checked.
    const ProblemasGuion* guion() const;
    void AnadirAlMenu(QMenu& menu, QPoint posicion);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QAction* NuevaAccion(const QString& texto, const QKeySequence& atajo);
    void Cargada(const ParCargado& par);
    void LeerPatron();
    void PonerCodificacion();
    // Reads at once the lines still waiting for their idle check: what follows needs every line's problems.
    void Completar();
    void VerLineas();
    bool MostrarAyuda(QPoint posicion, QPoint global);
    void AnadirElegibles(QMenu& menu);
    void AnadirIgnorar(QMenu& menu, int linea);
    void Elegir(Comprobacion comprobacion, bool activa);
    void Ignorar(int linea, int indice, bool ignorar);
    void EditarCodigos();
    void IrA(bool adelante);
    void IrAFinDeLinea(int linea);
    void Mostrar();

    ControlesComprobaciones c_;
    const ParCargado& par_;
    TraduccionesCarpeta& traducidas_;
    CajaMensajes& mensajes_;
    QString carpetaDatos_;
    QString archivoAjustes_;
    std::unique_ptr<ProblemasCaja> problemas_;
    QAction* siguiente_;
    QAction* anterior_;
    QAction* resumen_;
    // Declared after the problems it reads, so that it goes first.
    std::unique_ptr<VentanaComprobaciones> ventanaProblemas_;
};
