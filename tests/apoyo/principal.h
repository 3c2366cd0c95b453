// Runs every test class of one module's executable, headless, each on a fresh object.
#pragma once

#include <functional>
#include <memory>

#include <QObject>

bool RegistrarPrueba(std::function<std::unique_ptr<QObject>()> crear);

// Fails the running test when a top-level widget is still there once pending deletions have run.
void ComprobarSinVentanas();

#define VELARTO_PRUEBA(Clase)                                                                                \
    static const bool registrada##Clase = RegistrarPrueba([] { return std::unique_ptr<QObject>(new Clase); });
