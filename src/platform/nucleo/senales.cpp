// A signal handler may only do async-signal-safe work: it writes one byte into a socket pair, and the
// event loop, watching the other end, quits.
#include "senales.h"

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace {

int extremos[2] = {-1, -1};

void AlRecibir(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t escrito = ::write(extremos[0], &byte, 1);
}

} // namespace

void TerminarAlRecibirSenales(std::function<void()> cerrar)
{
    if (extremos[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, extremos) != 0)
        return;
    auto* aviso = new QSocketNotifier(extremos[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(aviso, &QSocketNotifier::activated, QCoreApplication::instance(), [cerrar] {
        char byte;
        [[maybe_unused]] const ssize_t leido = ::read(extremos[1], &byte, 1);
        // The window closes first: a load under way stops, and the box's text is kept.
        if (cerrar)
            cerrar();
        QCoreApplication::quit();
    });
    struct sigaction accion = {};
    accion.sa_handler = AlRecibir;
    sigemptyset(&accion.sa_mask);
    accion.sa_flags = SA_RESTART;
    for (const int senal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(senal, &accion, nullptr);
}
