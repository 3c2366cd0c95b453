#include "ventana_prueba.h"

#include <QDir>
#include <QTest>
#include <QTextBlock>

#include "caja_texto.h"
#include "carpeta_prueba.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"
#include "principal.h"
#include "ventana_abierta.h"

std::unique_ptr<frmEditor> AbrirVentana(Servicios servicios)
{
    std::unique_ptr<frmEditor> ventana = AbrirVentanaArrancada(std::move(servicios));
    if (!ventana)
        QTest::qFail("the window did not finish its start-up", __FILE__, __LINE__);
    return ventana;
}

std::unique_ptr<frmEditor> AbrirVentana(const QString& carpeta, CajaGrabadora& caja,
                                        ProveedorUnidades unidades, const QString& carpetaDatos)
{
    return AbrirVentana(Servicios{.mensajes = &caja,
                                  .unidades = std::move(unidades),
                                  .carpetaInicial = carpeta,
                                  .carpetaDatos = carpetaDatos});
}

void PruebaConVentana::init()
{
    dir_.emplace();
    datos_.emplace();
    QVERIFY(dir_->isValid() && datos_->isValid());
    caja_ = {};
    archivos_.emplace();
    papelera_.emplace();
    elegirCarpeta_ = [](QWidget*, const QString&) {
        return QString();
    };
}

void PruebaConVentana::cleanup()
{
    ventana_.reset();
    papelera_.reset();
    ComprobarSinVentanas();
}

QString PruebaConVentana::Ruta(QStringView relativa) const
{
    return dir_->path() + u'/' + relativa;
}

frmEditor* PruebaConVentana::Abrir(const QString& carpeta, ProveedorUnidades unidades)
{
    ventana_ =
        AbrirVentana(Servicios{.mensajes = &caja_,
                               .unidades = std::move(unidades),
                               .carpetaInicial = carpeta.isEmpty() ? dir_->path() : carpeta,
                               .carpetaDatos = datos_->path(),
                               .archivos = &*archivos_,
                               // What the window remembers stays within the test.
                               .archivoAjustes = datos_->filePath(QStringLiteral("ajustes.conf")),
                               .carpetaCache = datos_->filePath(QStringLiteral("cache")),
                               .elegirCarpeta = elegirCarpeta_,
                               // Drafts are kept soon after typing, so that tests need not wait for it.
                               .pausaBorrador = std::chrono::milliseconds(50)});
    return ventana_.get();
}

void PruebaConVentana::AbrirGuion(const QStringList& original, const std::optional<QStringList>& traduccion)
{
    EscribirBytes(Ruta(u"guion.txt"), ArchivoCrLf(original));
    if (traduccion)
        EscribirBytes(Ruta(u"Traducidos/guion.txt"), ArchivoCrLf(*traduccion));
    Abrir();
    QCOMPARE(ItemsOriginal(*ventana_), original);
}

void PruebaConVentana::CursorEn(int linea, int columna)
{
    const QTextBlock bloque = ventana_->txtTraducido->document()->findBlockByNumber(linea);
    QTextCursor cursor(bloque);
    cursor.setPosition(bloque.position() + columna);
    ventana_->txtTraducido->setTextCursor(cursor);
}

std::unique_ptr<QMenu> MenuDeLaCaja(frmEditor& ventana)
{
    std::unique_ptr<QMenu> menu(ventana.txtTraducido->createStandardContextMenu());
    Q_EMIT ventana.txtTraducido->menuContextual(menu.get(), QPoint());
    return menu;
}

QAction* EntradaDelMenu(const QMenu& menu, const QString& texto)
{
    for (QAction* accion : menu.actions()) {
        if (accion->text() == texto)
            return accion;
    }
    return nullptr;
}

QStringList ItemsOriginal(const frmEditor& ventana)
{
    QStringList items;
    for (int i = 0; i < ventana.lstOriginal->count(); ++i)
        items.append(ventana.lstOriginal->texto(i));
    return items;
}

bool ElegirScript(frmEditor& ventana, const QString& nombre)
{
    const QList<QListWidgetItem*> encontrados = ventana.File1->findItems(nombre, Qt::MatchExactly);
    if (encontrados.isEmpty())
        return false;
    ventana.File1->setIndice(ventana.File1->row(encontrados.first()));
    return true;
}
