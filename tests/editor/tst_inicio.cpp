// The window as a translator first meets it: controls in place, captions readable, Spanish throughout,
// and the start-up that loads the first script once.
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "boton_imagen.h"
#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "lista_unidades.h"
#include "principal.h"
#include "ventana_prueba.h"

class PruebaInicio final : public PruebaConVentana
{
    Q_OBJECT
private Q_SLOTS:
    void carpetaSinScripts()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("notas.md")), "x");
        Abrir();
        QCOMPARE(ventana_->File1->cantidad(), 0);
        QCOMPARE(ventana_->lstOriginal->count(), 0);
        for (QWidget* boton : Botones())
            QVERIFY(!boton->isEnabled());
        for (QLabel* contador : Contadores())
            QCOMPARE(contador->text(), QString());
        QVERIFY(caja_.mostrados.isEmpty());
    }

    void carpetaConScripts()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), "Bee\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), "Alpha\r\nBeta\r\n");
        Abrir();
        QCOMPARE(ventana_->File1->nombreArchivo(), QStringLiteral("a.txt"));
        QCOMPARE(ItemsOriginal(*ventana_), (QStringList{"Alpha", "Beta"}));
        QCOMPARE(ventana_->lblLtlo->text(), QStringLiteral("9"));
        for (QWidget* boton : Botones())
            QVERIFY(boton->isEnabled());
        QCOMPARE(ventana_->focusWidget(), static_cast<QWidget*>(ventana_->File1));
        QCOMPARE(ventana_->Dir1->ruta(), dir_->path());
    }

    // Showing the window again (as the always-on-top switch does) must not run the start-up again.
    void arranqueUnaSolaVez()
    {
        EscribirBytes(dir_->filePath(QStringLiteral("a.txt")), "Alpha\r\n");
        EscribirBytes(dir_->filePath(QStringLiteral("b.txt")), "Bee\r\n");
        Abrir();
        QVERIFY(ElegirScript(*ventana_, QStringLiteral("b.txt")));
        ventana_->txtTraducido->setPlainText(QStringLiteral("sin guardar"));
        ventana_->hide();
        ventana_->show();
        // Start-up would run from the events that showing posts: let them all run.
        QApplication::processEvents();
        QApplication::processEvents();
        QCOMPARE(ventana_->File1->nombreArchivo(), QStringLiteral("b.txt"));
        QCOMPARE(ventana_->txtTraducido->toPlainText(), QStringLiteral("sin guardar"));
    }

    void ventana()
    {
        Abrir();
        QCOMPARE(ventana_->size(), QSize(649, 448));
        QCOMPARE(ventana_->minimumSize(), ventana_->maximumSize());
        QCOMPARE(ventana_->windowTitle(),
                 QStringLiteral("Velarto de Scripts por Ostrano - 2006  [v1.0.0.5]"));
        QVERIFY(!ventana_->windowIcon().isNull());
        QVERIFY(!ventana_->p->isVisible());
        QCOMPARE(ventana_->ck->checkState(), Qt::Unchecked);
    }

    // Every caption reads in full at its place, the longest counters included.
    void textosCaben()
    {
        Abrir();
        for (QLabel* etiqueta : {ventana_->lblLargoLinea, ventana_->Label1, ventana_->lblLargoTotal,
                                 ventana_->Label2, ventana_->Label3}) {
            const QFontMetrics medidas(etiqueta->font());
            QVERIFY2(medidas.horizontalAdvance(etiqueta->text()) <= etiqueta->width(),
                     qPrintable(etiqueta->text()));
            QVERIFY(medidas.height() <= etiqueta->height());
        }
        for (QLabel* contador : Contadores()) {
            const QFontMetrics medidas(contador->font());
            QVERIFY(medidas.horizontalAdvance(QStringLiteral("-9999")) <= contador->width());
        }
        const QFontMetrics medidasCk(ventana_->ck->font());
        QVERIFY(medidasCk.horizontalAdvance(ventana_->ck->text()) + 20 <= ventana_->ck->width());
        for (BotonImagen* boton : Botones()) {
            // Image on top, at most two lines of caption below it, no word cut.
            const QFontMetrics medidas(boton->font());
            const QRect zona(0, 0, boton->width() - 6, 1000);
            const QRect usado =
                medidas.boundingRect(zona, Qt::TextWordWrap | Qt::AlignHCenter, boton->text());
            QVERIFY2(usado.width() <= zona.width(), qPrintable(boton->text()));
            QVERIFY2(32 + 6 + usado.height() <= boton->height(), qPrintable(boton->text()));
            for (const QString& palabra : boton->text().split(u' '))
                QVERIFY(medidas.horizontalAdvance(palabra) <= zona.width());
        }
    }

    // Every control lies whole inside the fixed window: nothing is cut off at its edges.
    void controlesDentro()
    {
        Abrir();
        QList<QWidget*> controles = ventana_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        controles += ventana_->Frame1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* w : std::as_const(controles))
            QVERIFY2(ventana_->rect().contains(QRect(w->mapTo(ventana_.get(), QPoint()), w->size())),
                     w->metaObject()->className());
    }

    // Box and list line up column for column.
    void columnasAlineadas()
    {
        Abrir();
        QVERIFY(QFontInfo(ventana_->txtTraducido->font()).fixedPitch());
        QCOMPARE(ventana_->lstOriginal->font(), ventana_->txtTraducido->font());
        QCOMPARE(ventana_->txtTraducido->lineWrapMode(), QPlainTextEdit::NoWrap);
    }

    void ordenDeTabulacion()
    {
        Abrir();
        const QList<QWidget*> esperado{
            ventana_->File1,          ventana_->lstOriginal,  ventana_->Dir1,
            ventana_->Drive1,         ventana_->ck,           ventana_->cmdGuardar,
            ventana_->cmdEliminar,    ventana_->txtTraducido, ventana_->cmdInsMarcador,
            ventana_->cmdLeerMarcador};
        // The chain also holds the controls' inner parts (viewports, scroll bars): follow it from the first
        // control and keep the controls.
        QList<QWidget*> cadena;
        QWidget* w = esperado.first();
        do {
            if (esperado.contains(w) && !cadena.contains(w))
                cadena.append(w);
            w = w->nextInFocusChain();
        } while (w != esperado.first());
        QCOMPARE(cadena, esperado);
    }

    void accesibilidad()
    {
        Abrir();
        for (QWidget* w : QList<QWidget*>{ventana_->txtTraducido, ventana_->lstOriginal, ventana_->Drive1,
                                          ventana_->Dir1, ventana_->File1, ventana_->p})
            QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
        for (QLabel* contador : Contadores()) {
            QVERIFY(contador->accessibleName().isEmpty());
            QVERIFY(!contador->accessibleDescription().isEmpty());
        }
        QVERIFY(ventana_->lblLargoLinea->accessibleName().isEmpty());
    }

    // The toolkit's own texts are Spanish: the text box's context menu.
    void menuEnEspanol()
    {
        Abrir();
        std::unique_ptr<QMenu> menu(ventana_->txtTraducido->createStandardContextMenu());
        QStringList textos;
        for (const QAction* accion : menu->actions())
            textos.append(accion->text().remove(u'&'));
        QVERIFY2(textos.contains(QStringLiteral("Copiar")) || textos.join(u' ').contains(u"Copiar"),
                 qPrintable(textos.join(u',')));
        QVERIFY2(!textos.join(u' ').contains(u"Copy"), qPrintable(textos.join(u',')));
    }

    // The features' sections follow Qt's standard entries in one fixed order, each after a separator.
    void ordenDelMenu()
    {
        EscribirBytes(Ruta(u"guion.txt"), "Hello\r\n");
        Abrir();
        std::unique_ptr<QMenu> menu(ventana_->txtTraducido->createStandardContextMenu());
        const qsizetype estandar = menu->actions().size();
        Q_EMIT ventana_->txtTraducido->menuContextual(menu.get(), QPoint());
        QStringList secciones;
        for (const QAction* accion : menu->actions().mid(estandar))
            secciones.append(accion->isSeparator() ? QStringLiteral("|")
                                                   : accion->text().section(u'\t', 0, 0));
        QCOMPARE(secciones.join(u", "),
                 u"|, Recuperar texto sin guardar, Descartar texto sin guardar, "
                 u"|, Codificación del original, Codificación de la traducción, "
                 u"|, Ir a la siguiente línea demasiado larga, Ir a la anterior línea demasiado larga, "
                 u"Líneas que superan el original…, "
                 // The new translation's empty first line is a problem: "Línea vacía".
                 u"|, Comprobaciones, Ignorar este aviso en esta línea, Mostrar avisos ignorados, "
                 u"Códigos de control de la carpeta…, Ir a la siguiente línea con problemas, "
                 u"Ir a la anterior línea con problemas, Comprobación de la traducción…, "
                 u"|, Revisar ortografía, Idioma de la ortografía"_qs);
    }

private:
    QList<QLabel*> Contadores() const
    {
        return {ventana_->lblLl, ventana_->lblLlo, ventana_->lblLtl, ventana_->lblLtlo, ventana_->lblDisp};
    }
    QList<BotonImagen*> Botones() const
    {
        return {ventana_->cmdGuardar, ventana_->cmdEliminar, ventana_->cmdInsMarcador,
                ventana_->cmdLeerMarcador};
    }
};

VELARTO_PRUEBA(PruebaInicio)
#include "tst_inicio.moc"
