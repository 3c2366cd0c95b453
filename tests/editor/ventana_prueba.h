// The real window opened on a folder of real files, with a recording message box, a file system whose
// calls a test can make fail and a data folder of its own.
#pragma once

#include <memory>
#include <optional>

#include <QMenu>
#include <QObject>
#include <QTemporaryDir>

#include "caja_grabadora.h"
#include "fallos_archivos.h"
#include "papelera_prueba.h"
#include "frmEditor.h"

// Opens the window and waits for its start-up; the calling test fails when start-up does not finish.
// Without drive roots the window sees "/" alone.
std::unique_ptr<frmEditor> AbrirVentana(Servicios servicios);
std::unique_ptr<frmEditor> AbrirVentana(const QString& carpeta, CajaGrabadora& caja,
                                        ProveedorUnidades unidades = {}, const QString& carpetaDatos = {});

// What every window test starts from: a fresh folder, message box, file system, data folder and trash. At
// the end the window is closed, and no top-level window may be left behind.
class PruebaConVentana : public QObject
{
    Q_OBJECT
public Q_SLOTS:
    void init();
    void cleanup();

protected:
    QString Ruta(QStringView relativa) const;
    // Opens the window on `carpeta` (the test folder when empty) with this test's services.
    frmEditor* Abrir(const QString& carpeta = {}, ProveedorUnidades unidades = {});
    // Writes "guion.txt" (and its translation, when there is one) and opens the window on it, loaded.
    void AbrirGuion(const QStringList& original, const std::optional<QStringList>& traduccion);
    // Puts the box's caret at a column of a line.
    void CursorEn(int linea, int columna = 0);

    std::optional<QTemporaryDir> dir_;
    std::optional<QTemporaryDir> datos_;
    CajaGrabadora caja_;
    std::optional<FallosArchivos> archivos_;
    // Where deleted scripts go: a trash of the test's own, never the user's.
    std::optional<PapeleraPrueba> papelera_;
    // Answers Ctrl+O's folder chooser; by default nothing is chosen.
    ElegirCarpeta elegirCarpeta_;
    std::unique_ptr<frmEditor> ventana_;
};

// The box's context menu as the window composes it, and one of its entries by its text (nullptr when
// none has it); the entries of a submenu live as long as the menu.
std::unique_ptr<QMenu> MenuDeLaCaja(frmEditor& ventana);
QAction* EntradaDelMenu(const QMenu& menu, const QString& texto);

// The items of the original list, in order.
QStringList ItemsOriginal(const frmEditor& ventana);
// Selects a script by name, as a click would, and returns whether it was listed.
bool ElegirScript(frmEditor& ventana, const QString& nombre);
