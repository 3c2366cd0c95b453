// Giving freed memory back to the system once the editor holds much less than it did.
#pragma once

#include <QObject>
#include <QTimer>

// The allocator keeps the pages a long pair freed for the next allocation; they stay counted against the
// process until it ends. They are given back once what is in use falls well below the most used since
// the last time, after a long pair a short one, and not after each load: a page given back costs a fault
// when the next long load takes it again.
class MemoriaLibre final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemoriaLibre)
public:
    explicit MemoriaLibre(QObject* padre = nullptr);

    // What is in use now, in any unit that grows with it (lines held, say).
    void EnUso(qint64 cantidad);

private:
    QTimer espera_;
    qint64 mayor_ = 0;
};

// Gives the heap's free pages back to the system now; a walk over the heap.
void DevolverMemoriaLibre();
