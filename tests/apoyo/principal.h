// Runs every test class of one module's executable, headless, each on a fresh object.
#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QString>

bool RegistrarPrueba(std::function<std::unique_ptr<QObject>()> crear);

// The top-level widgets still there once pending deletions have run, by class name; "" when none is.
QString VentanasQueQuedan();

#define VELARTO_PRUEBA(Clase)                                                                                \
    static const bool registrada##Clase = RegistrarPrueba([] { return std::unique_ptr<QObject>(new Clase); });
