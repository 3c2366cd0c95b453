// Runs every test class of one module's executable, headless, each on a fresh object.
#pragma once

#include <functional>
#include <memory>

#include <QObject>

bool RegistrarPrueba(std::function<std::unique_ptr<QObject>()> crear);

#define VELARTO_PRUEBA(Clase)                                                                                \
    static const bool registrada##Clase = RegistrarPrueba([] { return std::unique_ptr<QObject>(new Clase); });
