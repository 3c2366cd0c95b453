// Reading a script or a translation off the window's thread: a worker reads the file (within the size
// limit, so that a file that grows or streams without end is refused there), decodes it and hands its
// lines over in slices, which the window takes as it has room for them. The window's event loop is woken
// whenever a slice or the end is there, so that it can wait for them with EsperarEventos.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <QStringList>

class QAbstractEventDispatcher;

#include "archivos.h"
#include "sistema_archivos.h"
#include "texto_archivo.h"
#include "texto_compacto.h"

class LecturaLineas final
{
public:
    // What the worker also keeps besides handing the lines over.
    enum class Texto { No, Entero };
    // How far the worker may run ahead of what has been taken: a few slices, or to the end, for lines the
    // receiver keeps anyway, whose slices cost nothing more while they wait.
    enum class Adelanto { Acotado, Todo };

    // Starts reading `ruta` as LeerArchivo and LectorLineas read it; `sistema` must outlive this object.
    // With Texto::Entero the worker also joins every line into one text, on its own thread (see texto).
    LecturaLineas(QString ruta, SistemaArchivos& sistema, std::optional<Codificacion> eleccion,
                  Texto texto = Texto::No, Adelanto adelanto = Adelanto::Acotado,
                  qint64 maximo = maximoArchivo);
    // Stops the worker at its next block or slice and waits for it.
    ~LecturaLineas();
    LecturaLineas(const LecturaLineas&) = delete;
    LecturaLineas& operator=(const LecturaLineas&) = delete;

    // The next slice when one is there; `terminada` tells whether more will come.
    std::optional<QStringList> Tomar();
    // The worker has read the whole file and ended; slices may still wait. Its thread is gone once this
    // is true: a read started on a new thread then reuses the memory the worker gave back.
    bool leida();
    // Every slice has been taken and no more will come. Raises the read's run-time error, if any,
    // once the slices read before it have been taken.
    bool terminada();

    // Known once the first slice (or the end) is there: the file is decoded before its lines go.
    FormatoTexto formato() const;
    HuellaArchivo huella() const;
    // With Texto::Entero, once terminada(): every line read, joined by '\n', as the slices' lines joined
    // and put one after the other with a '\n' between them. Taken out: a second call returns nothing.
    TextoCompacto texto();

private:
    void Trabajar(std::stop_token parar, QString ruta, SistemaArchivos& sistema,
                  std::optional<Codificacion> eleccion, Texto texto, qint64 maximo);
    void Entregar(std::stop_token parar, QStringList tramo);

    void Avisar();

    // The event loop of the thread that started the read.
    QAbstractEventDispatcher* despertar_;
    const size_t tramosEnEspera_;
    mutable std::mutex cerrojo_;
    std::condition_variable_any hayLugar_;
    std::deque<QStringList> tramos_;
    bool fin_ = false;
    std::exception_ptr error_;
    FormatoTexto formato_;
    HuellaArchivo huella_;
    TextoCompacto texto_;
    // Declared last: it stops and joins before the members it uses go.
    std::jthread trabajador_;
};
