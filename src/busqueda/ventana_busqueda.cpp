// The folder's search window.
#include "ventana_busqueda.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextLayout>
#include <QVBoxLayout>

#include "numeros.h"

namespace {

// Paints a cell's text with its matches on the highlight's colour.
class DelegadoTramos final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override
    {
        const QVariantList tramos = indice.data(ModeloBusqueda::RolTramos).toList();
        if (tramos.isEmpty()) {
            QStyledItemDelegate::paint(pintor, opcion, indice);
            return;
        }
        QStyleOptionViewItem vista = opcion;
        initStyleOption(&vista, indice);
        const QString texto = vista.text;
        vista.text.clear();
        vista.widget->style()->drawControl(QStyle::CE_ItemViewItem, &vista, pintor, vista.widget);

        QList<QTextLayout::FormatRange> formatos;
        for (const QVariant& tramo : tramos) {
            QTextCharFormat formato;
            formato.setBackground(QColor(255, 214, 0, 150));
            formatos.append({tramo.toPoint().x(), tramo.toPoint().y(), formato});
        }
        const QRect area = vista.widget->style()
                               ->subElementRect(QStyle::SE_ItemViewItemText, &vista, vista.widget)
                               .adjusted(2, 0, -2, 0);
        QTextLayout disposicion(texto, vista.font);
        disposicion.setFormats(formatos);
        disposicion.beginLayout();
        QTextLine linea = disposicion.createLine();
        linea.setLineWidth(1e6);
        disposicion.endLayout();
        pintor->save();
        pintor->setClipRect(area);
        pintor->setPen(vista.palette.color(vista.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                : QPalette::Text));
        disposicion.draw(pintor, QPointF(area.left(), area.top() + (area.height() - linea.height()) / 2));
        pintor->restore();
    }
};

QVariantList Puntos(const Tramos& tramos)
{
    QVariantList puntos;
    for (const Tramo& tramo : tramos)
        puntos.append(QPoint(int(tramo.inicio), int(tramo.largo)));
    return puntos;
}

} // namespace

ModeloBusqueda::ModeloBusqueda(QObject* padre) : QAbstractTableModel(padre) {}

void ModeloBusqueda::ponerResultado(const ResultadoBusqueda& resultado)
{
    beginResetModel();
    resultado_ = resultado;
    endResetModel();
}

int ModeloBusqueda::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(resultado_.filas.size());
}

int ModeloBusqueda::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : Columnas;
}

QVariant ModeloBusqueda::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || indice.row() >= resultado_.filas.size())
        return {};
    const FilaBusqueda& fila = resultado_.filas[indice.row()];
    if (rol == Qt::DisplayRole || rol == Qt::ToolTipRole) {
        switch (indice.column()) {
        case Script:
            return fila.script;
        case Linea:
            return QString::number(fila.linea + 1);
        case Original:
            return fila.original;
        default:
            return fila.traduccion;
        }
    }
    if (rol == RolTramos && indice.column() == Original)
        return Puntos(fila.enOriginal);
    if (rol == RolTramos && indice.column() == Traduccion)
        return Puntos(fila.enTraduccion);
    if (rol == Qt::TextAlignmentRole && indice.column() == Linea)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModeloBusqueda::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole)
        return {};
    switch (seccion) {
    case Script:
        return QStringLiteral("Script");
    case Linea:
        return QStringLiteral("Línea");
    case Original:
        return QStringLiteral("Original");
    case Traduccion:
        return QStringLiteral("Traducción");
    default:
        return {};
    }
}

VentanaBusqueda::VentanaBusqueda(QWidget* padre)
    : VentanaTabla(QStringLiteral("frmBuscar"), QStringLiteral("Buscar en la carpeta"), padre),
      txtBuscar_(new QLineEdit(this)), optOriginales_(new QRadioButton(QStringLiteral("Originales"), this)),
      optTraducciones_(new QRadioButton(QStringLiteral("Traducciones"), this)),
      optAmbos_(new QRadioButton(QStringLiteral("Ambos"), this)),
      chkMayusculas_(new QCheckBox(QStringLiteral("Mayúsculas y minúsculas"), this)),
      chkPalabra_(new QCheckBox(QStringLiteral("Palabra completa"), this)),
      chkExpresion_(new QCheckBox(QStringLiteral("Expresión regular"), this)),
      txtReemplazar_(new QLineEdit(this)),
      cmdReemplazar_(new QPushButton(QStringLiteral("Reemplazar todo"), this)),
      cmdDeshacer_(new QPushButton(QStringLiteral("Deshacer el último reemplazo"), this)),
      modelo_(new ModeloBusqueda(this))
{
    txtBuscar_->setPlaceholderText(QStringLiteral("Buscar"));
    txtBuscar_->setAccessibleName(QStringLiteral("Buscar"));
    txtReemplazar_->setPlaceholderText(QStringLiteral("Reemplazar en las traducciones por"));
    txtReemplazar_->setAccessibleName(QStringLiteral("Reemplazar en las traducciones por"));
    optAmbos_->setChecked(true);
    // Enter chooses a row; it never presses a button.
    cmdReemplazar_->setAutoDefault(false);
    cmdDeshacer_->setAutoDefault(false);
    cmdDeshacer_->setEnabled(false);

    // Short rows, so that the window fits beside the editor on a small screen.
    auto* donde = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{optOriginales_, optTraducciones_, optAmbos_})
        donde->addWidget(control);
    donde->addStretch();
    auto* como = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{chkMayusculas_, chkPalabra_, chkExpresion_})
        como->addWidget(control);
    como->addStretch();
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdReemplazar_);
    botones->addWidget(cmdDeshacer_);
    disposicion()->insertWidget(0, txtBuscar_);
    disposicion()->insertLayout(1, donde);
    disposicion()->insertLayout(2, como);
    disposicion()->addWidget(txtReemplazar_);
    disposicion()->addLayout(botones);

    ponerModelo(modelo_, 12);
    tabla()->setItemDelegate(new DelegadoTramos(tabla()));
    tabla()->setColumnWidth(ModeloBusqueda::Script, 120);
    tabla()->setColumnWidth(ModeloBusqueda::Linea,
                            fontMetrics().horizontalAdvance(QStringLiteral("Línea")) + 24);
    // The two texts share what the window's width leaves them, so both show however narrow it is.
    tabla()->horizontalHeader()->setSectionResizeMode(ModeloBusqueda::Original, QHeaderView::Stretch);
    tabla()->horizontalHeader()->setSectionResizeMode(ModeloBusqueda::Traduccion, QHeaderView::Stretch);
    resize(760, 440);

    connect(txtBuscar_, &QLineEdit::textChanged, this, &VentanaBusqueda::Cambio);
    for (QAbstractButton* boton : std::initializer_list<QAbstractButton*>{
             optOriginales_, optTraducciones_, optAmbos_, chkMayusculas_, chkPalabra_, chkExpresion_})
        connect(boton, &QAbstractButton::toggled, this, &VentanaBusqueda::Cambio);
    connect(cmdReemplazar_, &QPushButton::clicked, this, [this] {
        if (!txtBuscar_->text().isEmpty())
            Q_EMIT reemplazar(opciones(), reemplazo());
    });
    connect(cmdDeshacer_, &QPushButton::clicked, this, &VentanaBusqueda::deshacer);
    connect(this, &VentanaTabla::filaElegida, this, [this](int fila) {
        if (fila < modelo_->resultado().filas.size())
            Q_EMIT elegida(modelo_->resultado().filas[fila]);
    });
    // Enter in the field goes to the first result, as in the table.
    connect(txtBuscar_, &QLineEdit::returnPressed, this, [this] {
        if (modelo_->rowCount() > 0)
            Q_EMIT elegida(modelo_->resultado().filas[0]);
    });
    Cambio();
}

OpcionesBusqueda VentanaBusqueda::opciones() const
{
    const Ambito ambito = optOriginales_->isChecked()     ? Ambito::Originales
                          : optTraducciones_->isChecked() ? Ambito::Traducciones
                                                          : Ambito::Ambos;
    return {txtBuscar_->text(), ambito, chkMayusculas_->isChecked(), chkPalabra_->isChecked(),
            chkExpresion_->isChecked()};
}

QString VentanaBusqueda::reemplazo() const
{
    return txtReemplazar_->text();
}

QRadioButton* VentanaBusqueda::optAmbito(Ambito ambito) const
{
    return ambito == Ambito::Originales     ? optOriginales_
           : ambito == Ambito::Traducciones ? optTraducciones_
                                            : optAmbos_;
}

void VentanaBusqueda::ponerDeshacer(bool hay)
{
    cmdDeshacer_->setEnabled(hay);
}

void VentanaBusqueda::Cambio()
{
    const OpcionesBusqueda actuales = opciones();
    cmdReemplazar_->setEnabled(!actuales.texto.isEmpty());
    if (actuales.texto.isEmpty()) {
        modelo_->ponerResultado({});
        ponerResumen(QString());
        return;
    }
    Q_EMIT buscar(actuales);
}

void VentanaBusqueda::mostrar(const ResultadoBusqueda& resultado)
{
    // An answer to a search the field no longer holds.
    if (resultado.opciones.texto != txtBuscar_->text())
        return;
    modelo_->ponerResultado(resultado);
    QString texto =
        resultado.error.isEmpty() ? TextoResultados(resultado.lineas, resultado.scripts) : resultado.error;
    if (resultado.lineas > resultado.filas.size())
        texto += u" (se muestran los " + ConMiles(resultado.filas.size()) + u" primeros)";
    ponerResumen(texto);
}
