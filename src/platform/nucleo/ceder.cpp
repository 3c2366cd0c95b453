#include "ceder.h"

#include <QCoreApplication>

void Ceder()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void EsperarEventos()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
