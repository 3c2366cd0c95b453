// The always-on-top switch on a real top-level window.
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

private:
    std::unique_ptr<QWidget> ventana_;
    QLineEdit* segundo_ = nullptr;
};

VELARTO_PRUEBA(PruebaVentana)
#include "tst_ventana.moc"
