// The pages are given back a while after the drop, once what the previous pair held has been freed,
// some of it on other threads.
#include "memoria_libre.h"

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr int msAntesDeDevolver = 1000;

} // namespace

MemoriaLibre::MemoriaLibre(QObject* padre) : QObject(padre)
{
    espera_.setSingleShot(true);
    espera_.setInterval(msAntesDeDevolver);
    connect(&espera_, &QTimer::timeout, this, &DevolverMemoriaLibre);
}

void MemoriaLibre::EnUso(qint64 cantidad)
{
    mayor_ = std::max(mayor_, cantidad);
    if (cantidad * 2 >= mayor_)
        return;
    mayor_ = cantidad;
    espera_.start();
}

void DevolverMemoriaLibre()
{
#if defined(__GLIBC__)
    // Every thread's arena, the free pages in the middle of the heap included.
    malloc_trim(0);
#endif
}
