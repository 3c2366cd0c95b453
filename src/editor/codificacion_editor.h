// Code pages in the window: two submenus of the translation box's context menu keep the folder's choice
// and have the files read again in it, and the tooltips of the length captions tell the code page in use.
#pragma once

#include <optional>

#include <QObject>

#include "codificacion.h"

class QLabel;
class QMenu;
class QWidget;
class CajaMensajes;
class CajaTexto;
class ListaCarpetas;
class VidaPar;
struct ParCargado;
class SistemaArchivos;

// The captions whose tooltips tell the code pages.
struct CaptionsCodificacion
{
    QLabel& lblLargoTotal;
    QLabel& lblLtlo;
    QLabel& lblLtl;
    QLabel& lblLl;
};

class CodificacionEditor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CodificacionEditor)
public:
    CodificacionEditor(CajaTexto& caja, CaptionsCodificacion captions, const ListaCarpetas& carpetas,
                       const ParCargado& par, TraduccionesCarpeta& traducidas, OriginalesCarpeta& originales,
                       const VidaPar& vida, CajaMensajes& mensajes, SistemaArchivos& archivos);

    // Keeps the folder's choice and, where it can, reads the loaded files again in it.
    void Elegir(TipoArchivo tipo, std::optional<Codificacion> codificacion);
    // The tooltip of a total or length caption.
    QString Ayuda(const QWidget* control) const;
    void AnadirAlMenu(QMenu& menu);

Q_SIGNALS:
    // The loaded file of that kind should be read again in the folder's new choice.
    void releer(TipoArchivo tipo);

private:
    QString Carpeta() const;
    EleccionCarpeta Eleccion() const;
    // The box holds the translation as it was read or last saved.
    bool SinCambios() const;
    void ElegirProtegida(TipoArchivo tipo, std::optional<Codificacion> codificacion);
    void AnadirSubmenu(QMenu& menu, const QString& titulo, TipoArchivo tipo,
                       std::optional<Codificacion> elegida, std::optional<Codificacion> enUso);

    CajaTexto& caja_;
    CaptionsCodificacion captions_;
    const ListaCarpetas& carpetas_;
    const ParCargado& par_;
    TraduccionesCarpeta& traducidas_;
    OriginalesCarpeta& originales_;
    CajaMensajes& mensajes_;
    SistemaArchivos& archivos_;
};
