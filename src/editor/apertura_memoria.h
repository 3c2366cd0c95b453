// Keeps the window's translation memory on the folder the script browser shows: opened at start-up and at
// every folder change, with the folder's own codes set aside, and told at once of every save. The memory
// itself is the window's (`frmEditor::memoria_`), so that every feature reading the folder's index takes
// a reference to the same one.
#pragma once

#include <QObject>

class ListaCarpetas;
class MemoriaTraduccion;
class VidaPar;

class AperturaMemoria final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AperturaMemoria)
public:
    AperturaMemoria(MemoriaTraduccion& memoria, const ListaCarpetas& carpetas, const VidaPar& vida);

private:
    void Abrir(const QString& carpeta);

    MemoriaTraduccion& memoria_;
};
