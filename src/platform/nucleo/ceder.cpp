#include "ceder.h"

#include <QCoreApplication>

void Ceder()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
