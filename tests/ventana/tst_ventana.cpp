// Window placement on a real top-level window: the always-on-top switch, the growable window, and where
// a small window goes.
#include <memory>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "principal.h"
#include "ventana.h"

class PruebaVentana final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        ventana_ = std::make_unique<QWidget>();
        auto* disposicion = new QVBoxLayout(ventana_.get());
        disposicion->addWidget(new QLineEdit(ventana_.get()));
        segundo_ = new QLineEdit(ventana_.get());
        disposicion->addWidget(segundo_);
        ventana_->setFixedSize(320, 200);
        ventana_->move(140, 90);
    }
    void cleanup()
    {
        ventana_.reset();
        ComprobarSinVentanas();
    }

    void alternar_data()
    {
        QTest::addColumn<QList<bool>>("pasos");
        QTest::newRow("encender") << QList<bool>{true};
        QTest::newRow("apagar sin haber encendido") << QList<bool>{false};
        QTest::newRow("encender y apagar") << QList<bool>{true, false};
        QTest::newRow("encender dos veces") << QList<bool>{true, true, false};
        QTest::newRow("varias veces") << QList<bool>{true, false, true, false, true, false};
    }

    void alternar()
    {
        QFETCH(QList<bool>, pasos);
        ventana_->show();
        QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
        segundo_->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), segundo_);
        const QRect marco = ventana_->frameGeometry();
        const QRect cliente = ventana_->geometry();

        for (const bool activar : pasos) {
            SiempreEncima(*ventana_, activar);
            QCOMPARE(ventana_->windowFlags().testFlag(Qt::WindowStaysOnTopHint), activar);
            QVERIFY(ventana_->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(ventana_.get()));
            QCOMPARE(ventana_->frameGeometry(), marco);
            QCOMPARE(ventana_->geometry(), cliente);
            QTRY_COMPARE(QApplication::focusWidget(), segundo_);
        }
    }

    // A window not shown yet takes the setting for when it is shown, and stays hidden.
    void ventanaOculta()
    {
        SiempreEncima(*ventana_, true);
        QVERIFY(ventana_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(ventana_->isHidden());
        ventana_->show();
        QVERIFY(QTest::qWaitForWindowExposed(ventana_.get()));
        QCOMPARE(ventana_->pos(), QPoint(140, 90));
    }

    // Growable and back: the sizes it may take and the maximise button follow; the place stays.
    void ampliable()
    {
        ventana_->show();
        QVERIFY(QTest::qWaitForWindowExposed(ventana_.get()));
        const QPoint lugar = ventana_->pos();
        Ampliable(*ventana_, true, QSize(320, 200));
        QVERIFY(ventana_->isVisible());
        QCOMPARE(ventana_->minimumSize(), QSize(320, 200));
        QCOMPARE(ventana_->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        QVERIFY(ventana_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        ventana_->resize(500, 300);
        Ampliable(*ventana_, false, QSize(320, 200));
        QCOMPARE(ventana_->size(), QSize(320, 200));
        QCOMPARE(ventana_->maximumSize(), QSize(320, 200));
        QVERIFY(!ventana_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(ventana_->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(ventana_->pos(), lugar);
    }

    // A small window beside the editor where the screen has room, else within the part of it given.
    void lugarAlLado_data()
    {
        QTest::addColumn<QRect>("editor");
        QTest::addColumn<QRect>("esperado");
        // A 1280x1000 screen, a 300x200 small window that may narrow to 200, over a frame at the editor's
        // right.
        QTest::newRow("a la derecha") << QRect(100, 100, 650, 450) << QRect(750, 100, 300, 200);
        QTest::newRow("a la izquierda") << QRect(600, 100, 650, 450) << QRect(300, 100, 300, 200);
        QTest::newRow("estrechada") << QRect(250, 100, 780, 450) << QRect(1030, 100, 250, 200);
        QTest::newRow("sin sitio, sobre el marco") << QRect(150, 100, 1000, 450) << QRect(969, 116, 180, 200);
        QTest::newRow("subida para caber") << QRect(100, 900, 650, 100) << QRect(750, 800, 300, 200);
    }
    void lugarAlLado()
    {
        QFETCH(QRect, editor);
        QFETCH(QRect, esperado);
        const QRect marco(editor.right() - 180, editor.top() + 16, 180, 350);
        QCOMPARE(LugarAlLado(QRect(0, 0, 1280, 1000), editor, QSize(300, 200), 200, marco), esperado);
    }

private:
    std::unique_ptr<QWidget> ventana_;
    QLineEdit* segundo_ = nullptr;
};

VELARTO_PRUEBA(PruebaVentana)
#include "tst_ventana.moc"
