#include "ventana_prueba.h"

#include <QDir>
#include <QTest>

#include "caja_texto.h"
#include "lista_archivos.h"
#include "lista_carpetas.h"

std::unique_ptr<frmEditor> AbrirVentana(const QString& carpeta, CajaGrabadora& caja,
                                        ProveedorUnidades unidades, const QString& carpetaDatos)
{
    if (!unidades)
        unidades = [] {
            return QStringList{QStringLiteral("/")};
        };
    auto ventana = std::make_unique<frmEditor>(Servicios{&caja, std::move(unidades), carpeta, carpetaDatos});
    ventana->show();
    if (!QTest::qWaitFor([&] { return ventana->arranqueTerminado(); }, 10000))
        qWarning("the window did not finish its start-up");
    return ventana;
}

QStringList ItemsOriginal(const frmEditor& ventana)
{
    QStringList items;
    for (int i = 0; i < ventana.lstOriginal->count(); ++i)
        items.append(ventana.lstOriginal->item(i)->text());
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
