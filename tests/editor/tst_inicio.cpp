// The window as a translator first meets it: controls in place, captions readable, Spanish throughout,
// and the start-up that loads the first script once.
#include <cstdlib>

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWheelEvent>

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
        // The buttons say what they do, in their tooltips and to a screen reader alike.
        const QStringList dicen{u"Guardar la traducción y pasar al siguiente script (F12)"_qs,
                                u"Eliminar el script y su traducción (Supr)"_qs,
                                u"Guardar la posición en este script"_qs,
                                u"Volver a la posición guardada"_qs};
        for (qsizetype i = 0; i < dicen.size(); ++i) {
            QCOMPARE(Botones()[i]->toolTip(), dicen[i]);
            QCOMPARE(Botones()[i]->accessibleDescription(), dicen[i]);
        }
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
                 u"|, Memoria de traducción, Rellenar repeticiones, Añadir carpeta a la memoria…, "
                 u"Quitar carpeta de la memoria, "
                 u"|, Buscar en la carpeta…, Estado de la carpeta…, "
                 u"|, Revisar ortografía, Idioma de la ortografía, "
                 u"|, Carpetas recientes, "
                 u"|, Ventana ampliable"_qs);
    }

    // Ctrl++, Ctrl+- and Ctrl+wheel enlarge and shrink the box's and the list's text together, so that the
    // lines stay aligned line for line; Ctrl+0 brings back the window's own size, and the size is
    // remembered.
    void zoom()
    {
        QStringList lineas;
        for (int i = 0; i < 30; ++i)
            lineas.append(u"Línea " + QString::number(i));
        AbrirGuion(lineas, lineas);
        const qreal propios = ventana_->txtTraducido->font().pointSizeF();
        QCOMPARE(Zoom(), Puntos(propios));

        QTest::keyClick(ventana_->File1, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(Zoom(), Puntos(propios + 2));
        Rueda(ventana_->lstOriginal->viewport(), -120);
        QCOMPARE(Zoom(), Puntos(propios + 1));
        Rueda(ventana_->txtTraducido->viewport(), -60);
        QCOMPARE(Zoom(), Puntos(propios + 1));
        Rueda(ventana_->txtTraducido->viewport(), -60);
        QCOMPARE(Zoom(), Puntos(propios));
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(Zoom(), Puntos(propios - 1));
        ventana_->close();
        Abrir();
        QCOMPARE(Zoom(), Puntos(propios - 1));
        QTest::keyClick(ventana_->txtTraducido, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(Zoom(), Puntos(propios));
    }

    // Grown to any size, the counters stay on top, the box and the original list share the extra width
    // and height, the folder frame keeps its width and grows in height, and the buttons stay at the
    // bottom right; switched off, every control is back in its place. Both the switch and the size are
    // remembered.
    void ventanaAmpliable_data()
    {
        QTest::addColumn<QSize>("tamano");
        QTest::newRow("algo mayor") << QSize(700, 501);
        QTest::newRow("la pantalla casi entera") << QSize(790, 560);
    }
    void ventanaAmpliable()
    {
        QFETCH(QSize, tamano);
        Abrir();
        const QList<QWidget*> controles = Controles();
        QList<QRect> fijos;
        for (const QWidget* w : controles)
            fijos.append(w->geometry());
        QVERIFY(!ventana_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        Ampliable()->trigger();
        QVERIFY(ventana_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(ventana_->minimumSize(), QSize(649, 448));
        ventana_->resize(tamano);
        QCOMPARE(ventana_->size(), tamano);
        ComprobarColocados(tamano - QSize(649, 448), fijos);

        Ampliable()->trigger();
        QCOMPARE(ventana_->size(), QSize(649, 448));
        QCOMPARE(ventana_->minimumSize(), ventana_->maximumSize());
        for (qsizetype i = 0; i < controles.size(); ++i)
            QCOMPARE(controles[i]->geometry(), fijos[i]);

        // The next run opens growable at the size it was left at.
        Ampliable()->trigger();
        ventana_->resize(tamano);
        ventana_->close();
        Abrir();
        QVERIFY(Ampliable()->isChecked());
        QCOMPARE(ventana_->size(), tamano);
        ComprobarColocados(tamano - QSize(649, 448), fijos);
    }

private:
    // The box's text size, and what is wrong with the list beside it.
    QString Zoom() const
    {
        QString estado = Puntos(ventana_->txtTraducido->font().pointSizeF());
        if (ventana_->lstOriginal->font() != ventana_->txtTraducido->font())
            estado += u", la lista en otra letra";
        if (PasoLista() != PasoCaja())
            estado +=
                u", líneas desalineadas " + QString::number(PasoLista()) + u'/' + QString::number(PasoCaja());
        return estado;
    }
    static QString Puntos(qreal puntos) { return QString::number(puntos) + u" pt"; }
    // The distance from one line to the next, in the box and in the list.
    int PasoCaja() const
    {
        const QTextDocument& documento = *ventana_->txtTraducido->document();
        return ventana_->txtTraducido->cursorRect(QTextCursor(documento.findBlockByNumber(1))).top() -
               ventana_->txtTraducido->cursorRect(QTextCursor(documento.firstBlock())).top();
    }
    int PasoLista() const
    {
        const ListaSimple& lista = *ventana_->lstOriginal;
        return lista.visualRect(lista.model()->index(1, 0)).top() -
               lista.visualRect(lista.model()->index(0, 0)).top();
    }
    // A turn of the mouse wheel with Ctrl held, `giro` eighths of a degree.
    static void Rueda(QWidget* destino, int giro)
    {
        const QPointF centro = QRectF(destino->rect()).center();
        QWheelEvent rueda(centro, destino->mapToGlobal(centro), QPoint(), QPoint(0, giro), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(destino, &rueda);
    }

    // The switch of the growable window, which outlives the menu it is shown in.
    QAction* Ampliable() { return EntradaDelMenu(*MenuDeLaCaja(*ventana_), u"Ventana ampliable"_qs); }

    // The window's direct controls and the file list, in a fixed order.
    QList<QWidget*> Controles() const
    {
        QList<QWidget*> controles = ventana_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        controles.append(ventana_->File1);
        return controles;
    }

    // The controls of a window `extra` larger than the fixed one, against their places in it.
    void ComprobarColocados(QSize extra, const QList<QRect>& fijos)
    {
        const QList<QWidget*> controles = Controles();
        const auto fijo = [&](const QWidget* w) {
            return fijos[controles.indexOf(w)];
        };
        const frmEditor& v = *ventana_;
        for (const QWidget* w : {static_cast<QWidget*>(v.lblLargoLinea), static_cast<QWidget*>(v.lblLl),
                                 static_cast<QWidget*>(v.lblDisp), static_cast<QWidget*>(v.Label3)})
            QCOMPARE(w->geometry(), fijo(w));
        const QRect caja = v.txtTraducido->geometry();
        const QRect lista = v.lstOriginal->geometry();
        QCOMPARE(caja.width(), fijo(v.txtTraducido).width() + extra.width());
        QCOMPARE(lista.width(), caja.width());
        QCOMPARE(lista.top() - caja.bottom(), fijo(v.lstOriginal).top() - fijo(v.txtTraducido).bottom());
        QCOMPARE(caja.height() + lista.height(),
                 fijo(v.txtTraducido).height() + fijo(v.lstOriginal).height() + extra.height());
        QVERIFY(std::abs(caja.height() - fijo(v.txtTraducido).height() - extra.height() / 2) <= 1);
        const QRect marco = v.Frame1->geometry();
        QCOMPARE(marco.size(), fijo(v.Frame1).size() + QSize(0, extra.height()));
        QCOMPARE(v.width() - marco.right(), 649 - fijo(v.Frame1).right());
        QCOMPARE(v.File1->geometry().bottom(), fijo(v.File1).bottom() + extra.height());
        for (const QWidget* boton :
             {static_cast<QWidget*>(v.cmdGuardar), static_cast<QWidget*>(v.cmdLeerMarcador)})
            QCOMPARE(boton->geometry(), fijo(boton).translated(extra.width(), extra.height()));
        QCOMPARE(v.ck->geometry(), fijo(v.ck).translated(0, extra.height()));
        for (const QWidget* w : controles)
            QVERIFY2(v.rect().contains(QRect(w->mapTo(&v, QPoint()), w->size())),
                     w->metaObject()->className());
    }

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
