// Code pages through the real window: a Shift-JIS script shown as Japanese, translations saved in the
// code page of the scripts beside them, the folder's choice from the context menu, and the tooltips.
#include <cerrno>

#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "archivos.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "principal.h"
#include "ventana_prueba.h"

using namespace Qt::StringLiterals;

namespace {

QByteArray Datos(const QString& nombre)
{
    return LeerBytes(QStringLiteral(VELARTO_DATOS "/") + nombre);
}

// The entry of a submenu of the box's context menu, as the window fills it.
QAction* Entrada(frmEditor& ventana, QMenu& menu, const QString& submenu, const QString& entrada)
{
    Q_EMIT ventana.txtTraducido->menuContextual(&menu, QPoint(5, 5));
    for (QAction* accion : menu.actions()) {
        if (accion->menu() && accion->text() == submenu) {
            for (QAction* opcion : accion->menu()->actions()) {
                if (opcion->text() == entrada)
                    return opcion;
            }
        }
    }
    return nullptr;
}

QStringList Marcadas(frmEditor& ventana, const QString& submenu)
{
    QMenu menu;
    QStringList marcadas;
    if (QAction* automatica = Entrada(ventana, menu, submenu, u"Automática"_s)) {
        for (QAction* opcion : qobject_cast<QMenu*>(automatica->parent())->actions()) {
            if (opcion->isChecked())
                marcadas.append(opcion->text());
        }
    }
    return marcadas;
}

void Elegir(frmEditor& ventana, const QString& submenu, const QString& entrada)
{
    QMenu menu;
    QAction* accion = Entrada(ventana, menu, submenu, entrada);
    QVERIFY2(accion, qPrintable(entrada));
    accion->trigger();
}

const QString delOriginal = u"Codificación del original"_s;
const QString deLaTraduccion = u"Codificación de la traducción"_s;

} // namespace

class PruebaCodificacionVentana final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void originalShiftJis()
    {
        EscribirBytes(Ruta(u"a.txt"), Datos(u"japones_sjis.txt"_s));
        Abrir();
        const QStringList esperadas = QString::fromUtf8(Datos(u"japones_utf8.txt"_s)).trimmed().split(u'\n');
        QCOMPARE(ItemsOriginal(*ventana_), esperadas);
        QCOMPARE(ventana_->lblLtlo->text(), QString::number(esperadas.join(QString()).size()));
        QCOMPARE(ventana_->codificacion().Ayuda(ventana_->lblLtlo),
                 u"Original: Japonés (Shift-JIS), CR LF"_s);
        QCOMPARE(Marcadas(*ventana_, delOriginal), (QStringList{u"Automática"_s, u"Japonés (Shift-JIS)"_s}));
    }

    // A translation with nothing above ASCII takes the code page of the scripts beside it: the first "ñ"
    // typed is saved as Windows-1252.
    void asciiJuntoAWindows1252_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("traduccion"); // empty: none yet
        QTest::addColumn<QByteArray>("otros");      // the folder's two other originals
        QTest::addColumn<QByteArray>("otras");      // their translations; empty: none
        QTest::addColumn<QByteArray>("esperado");
        const QByteArray ascii = "Boy\r\n";
        const QByteArray w1252 = "Ni\xf1o\r\n";
        QTest::newRow("traducción ascii de un original windows-1252")
            << QByteArray("Se\xf1or\r\n") << QByteArray("Sir\r\n") << ascii << QByteArray()
            << QByteArray("Sir\xf1\r\n");
        QTest::newRow("original ascii sin traducción, otras traducciones windows-1252")
            << QByteArray("Sir\r\n") << QByteArray() << ascii << w1252 << QByteArray("\xf1\r\n");
        QTest::newRow("original ascii sin traducción, otros originales windows-1252")
            << QByteArray("Sir\r\n") << QByteArray() << w1252 << QByteArray() << QByteArray("\xf1\r\n");
        QTest::newRow("todo ascii") << QByteArray("Sir\r\n") << QByteArray() << ascii << QByteArray()
                                    << QByteArray("\xc3\xb1\r\n");
    }
    void asciiJuntoAWindows1252()
    {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, traduccion);
        QFETCH(QByteArray, otros);
        QFETCH(QByteArray, otras);
        QFETCH(QByteArray, esperado);
        EscribirBytes(Ruta(u"a.txt"), original);
        if (!traduccion.isEmpty())
            EscribirBytes(Ruta(u"Traducidos/a.txt"), traduccion);
        for (const QString& nombre : {u"b.txt"_s, u"c.txt"_s}) {
            EscribirBytes(Ruta(nombre), otros);
            if (!otras.isEmpty())
                EscribirBytes(Ruta(QString(u"Traducidos/" + nombre)), otras);
        }
        Abrir();
        ventana_->txtTraducido->moveCursor(QTextCursor::End);
        for (const QTest::KeyAction accion : {QTest::Press, QTest::Release})
            QTest::sendKeyEvent(accion, ventana_->txtTraducido, Qt::Key_Ntilde, u"ñ"_s, Qt::NoModifier);

        QTest::keyClick(ventana_->txtTraducido, Qt::Key_F12);

        QCOMPARE(caja_.textos().last(), u"¡Archivo guardado!"_s);
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), esperado);
    }

    // The original's choice reads the list again at once and is kept in the bookmark file.
    void eleccionDelOriginal()
    {
        EscribirBytes(Ruta(u"a.txt"), "\xcf\xf0\xe8\xe2\xe5\xf2\r\n\xc4\xe0\r\n");
        EscribirBytes(Ruta(u"Velarto.vrk"), "[Marcador]\r\nINDICE=0\r\n");
        Abrir();
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{u"Ïðèâåò"_s, u"Äà"_s}));

        Elegir(*ventana_, delOriginal, u"Cirílico (Windows-1251)"_s);

        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{u"Привет"_s, u"Да"_s}));
        QCOMPARE(ventana_->lblLtlo->text(), u"8"_s);
        QCOMPARE(LeerBytes(Ruta(u"Velarto.vrk")),
                 QByteArray("[Marcador]\r\nINDICE=0\r\n[Codificacion]\r\nORIGINAL=windows-1251\r\n"));
        QCOMPARE(Marcadas(*ventana_, delOriginal), QStringList{u"Cirílico (Windows-1251)"_s});
        QVERIFY(ventana_->parCargado().completo);

        Elegir(*ventana_, delOriginal, u"Automática"_s);
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{u"Ïðèâåò"_s, u"Äà"_s}));
        QCOMPARE(Marcadas(*ventana_, delOriginal),
                 (QStringList{u"Automática"_s, u"Europa occidental (Windows-1252)"_s}));
    }

    // A choice the bookmark file does not take is not applied, and the translator is told.
    void eleccionNoGuardada()
    {
        EscribirBytes(Ruta(u"a.txt"), "\xcf\xf0\xe8\xe2\xe5\xf2\r\n");
        EscribirBytes(Ruta(u"Velarto.vrk"), "[Marcador]\r\nINDICE=0\r\n");
        Abrir();
        archivos_->programar(OperacionArchivo::Renombrar, 1, EACCES);

        Elegir(*ventana_, delOriginal, u"Cirílico (Windows-1251)"_s);

        QCOMPARE(caja_.textos(), QStringList{u"No se ha podido guardar la codificación en el archivo de "
                                             u"marcador (Velarto.vrk) de la carpeta."_s});
        QCOMPARE(ItemsOriginal(*ventana_), QStringList{u"Ïðèâåò"_s});
        QCOMPARE(LeerBytes(Ruta(u"Velarto.vrk")), QByteArray("[Marcador]\r\nINDICE=0\r\n"));
    }

    // The translation's choice reads the translation again when the box holds nothing unsaved; otherwise
    // the box keeps its text and the next save writes in the choice.
    void eleccionDeLaTraduccion_data()
    {
        QTest::addColumn<bool>("cambiada");
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QByteArray>("guardado");
        QTest::newRow("sin cambios se lee otra vez")
            << false << u"Привет"_s << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2\r\n");
        QTest::newRow("con cambios, en el próximo guardado")
            << true << u"Ïðèâåò Да"_s << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2 \xc4\xe0\r\n");
    }
    void eleccionDeLaTraduccion()
    {
        QFETCH(bool, cambiada);
        QFETCH(QString, caja);
        QFETCH(QByteArray, guardado);
        EscribirBytes(Ruta(u"a.txt"), "Hello\r\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), "\xcf\xf0\xe8\xe2\xe5\xf2\r\n");
        Abrir();
        QCOMPARE(ventana_->txtTraducido->toPlainText(), u"Ïðèâåò"_s);
        if (cambiada)
            ventana_->txtTraducido->setPlainText(u"Ïðèâåò Да"_s);

        Elegir(*ventana_, deLaTraduccion, u"Cirílico (Windows-1251)"_s);

        QCOMPARE(ventana_->txtTraducido->toPlainText(), caja);
        QCOMPARE(Marcadas(*ventana_, deLaTraduccion), QStringList{u"Cirílico (Windows-1251)"_s});
        if (cambiada) // "Ïðèâåò" cannot be written in Windows-1251
            ventana_->txtTraducido->setPlainText(u"Привет Да"_s);
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_F12);
        QCOMPARE(LeerBytes(Ruta(u"Traducidos/a.txt")), guardado);
    }

    // A re-read of a long translation in another code page gives way to what happens while it reads: a
    // script chosen meanwhile is shown alone, and what was typed meanwhile stays in the box.
    void releidaInterrumpida_data()
    {
        QTest::addColumn<QString>("accion");
        QTest::newRow("elegir otro") << u"elegir"_s;
        QTest::newRow("escribir") << u"escribir"_s;
    }
    void releidaInterrumpida()
    {
        QFETCH(QString, accion);
        EscribirBytes(Ruta(u"a.txt"), QByteArray("Hello\r\n").repeated(300000));
        EscribirBytes(Ruta(u"Traducidos/a.txt"), QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2\r\n").repeated(300000));
        EscribirBytes(Ruta(u"b.txt"), "B1\r\n");
        EscribirBytes(Ruta(u"Traducidos/b.txt"), "Tb\r\n");
        Abrir();
        bool cedio = false;
        QTimer::singleShot(0, ventana_.get(), [&] {
            cedio = true;
            if (accion == u"elegir")
                ElegirScript(*ventana_, u"b.txt"_s);
            else
                ventana_->txtTraducido->textCursor().insertText(u"Да"_s);
        });
        Elegir(*ventana_, deLaTraduccion, u"Cirílico (Windows-1251)"_s);
        QVERIFY(cedio);
        if (accion == u"elegir") {
            QCOMPARE(ventana_->txtTraducido->toPlainText(), u"Tb"_s);
            QCOMPARE(ItemsOriginal(*ventana_), QStringList{u"B1"_s});
            QCOMPARE(ventana_->parCargado().rutaTraduccion, Ruta(u"Traducidos/b.txt"));
        } else {
            QCOMPARE(ventana_->txtTraducido->document()->firstBlock().text(), u"ДаÏðèâåò"_s);
            QCOMPARE(ventana_->txtTraducido->document()->blockCount(), 300000);
            QVERIFY(ventana_->cmdGuardar->isEnabled());
        }
        QVERIFY(ventana_->parCargado().completo);
    }

    // The same characters in another arrangement are an unsaved change too: the choice does not read the
    // translation again over them.
    void eleccionTrasReordenar_data()
    {
        QTest::addColumn<QString>("caja");
        QTest::newRow("un salto de línea movido") << u"Ïð\nèâåò"_s;
        QTest::newRow("las líneas cambiadas de sitio") << u"âåò\nÏðè"_s;
    }
    void eleccionTrasReordenar()
    {
        QFETCH(QString, caja);
        EscribirBytes(Ruta(u"a.txt"), "Hello\r\nWorld\r\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), "\xcf\xf0\xe8\r\n\xe2\xe5\xf2\r\n");
        Abrir();
        QCOMPARE(ventana_->txtTraducido->toPlainText(), u"Ïðè\nâåò"_s);
        ventana_->txtTraducido->setPlainText(caja);

        Elegir(*ventana_, deLaTraduccion, u"Cirílico (Windows-1251)"_s);

        QCOMPARE(ventana_->txtTraducido->toPlainText(), caja);
    }

    void ayudas()
    {
        EscribirBytes(Ruta(u"a.txt"), "Hello\nWorld\n");
        EscribirBytes(Ruta(u"Traducidos/a.txt"), "Se\xf1or\r\nMundo\r\n");
        Abrir();
        QCOMPARE(ventana_->codificacion().Ayuda(ventana_->lblLargoTotal), u"Original: solo ASCII, LF"_s);
        QCOMPARE(ventana_->codificacion().Ayuda(ventana_->lblLtl),
                 u"Traducción: Europa occidental (Windows-1252), CR LF; 14 bytes"_s);
        QCOMPARE(ventana_->codificacion().Ayuda(ventana_->lblLl),
                 u"Traducción: Europa occidental (Windows-1252), CR LF; esta línea: 5 bytes"_s);
        ventana_->txtTraducido->setPlainText(u"Señor Ω"_s);
        QCOMPARE(ventana_->codificacion().Ayuda(ventana_->lblLtl),
                 u"Traducción: Europa occidental (Windows-1252), CR LF; la línea 1 no cabe en ella"_s);
        // Asked for as the mouse asks for it.
        QHelpEvent pregunta(QEvent::ToolTip, QPoint(2, 2), ventana_->lblLtlo->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(ventana_->lblLtlo, &pregunta);
        QTRY_COMPARE(QToolTip::text(), u"Original: solo ASCII, LF"_s);
    }
};

VELARTO_PRUEBA(PruebaCodificacionVentana)
#include "tst_codificacion.moc"
