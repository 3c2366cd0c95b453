#include "ventana_abierta.h"

#include <cstdio>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

Respuesta CajaMuda::Mostrar(const QString& texto, Botones botones, Icono, const QString&)
{
    std::fprintf(stderr, "mensaje: %s\n", qPrintable(texto));
    return botones == Botones::Aceptar ? Respuesta::Aceptar : Respuesta::Cancelar;
}

std::unique_ptr<frmEditor> AbrirVentanaArrancada(Servicios servicios, bool cargada, int msMaximo)
{
    if (!servicios.unidades)
        servicios.unidades = [] {
            return QStringList{QStringLiteral("/")};
        };
    auto ventana = std::make_unique<frmEditor>(std::move(servicios));
    ventana->show();
    const auto listo = [&] {
        return ventana->arranqueTerminado() && (!cargada || ventana->parCargado().completo);
    };
    QElapsedTimer reloj;
    reloj.start();
    while (!listo()) {
        if (reloj.elapsed() > msMaximo)
            return nullptr;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return ventana;
}
