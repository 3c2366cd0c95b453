// The folder's own codes, tried on an original line as they are typed.
#include "dialogo_codigos.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "codigos.h"

namespace {

// The longest list of codes the dialog shows.
constexpr int codigosMostrados = 20;

} // namespace

DialogoCodigos::DialogoCodigos(const QString& expresion, const QString& lineaOriginal, QWidget* padre)
    : QDialog(padre), lineaOriginal_(lineaOriginal), txtExpresion_(new QLineEdit(expresion, this)),
      lblValidez_(new QLabel(this)), lblCodigos_(new QLabel(this)),
      botones_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("frmCodigosCarpeta"));
    if (padre)
        setFont(padre->font());
    setWindowTitle(QStringLiteral("Códigos de control de la carpeta"));
    auto* etiqueta =
        new QLabel(QStringLiteral("&Expresión regular de los códigos (vacía: los de siempre):"), this);
    etiqueta->setBuddy(txtExpresion_);
    lblValidez_->setWordWrap(true);
    lblCodigos_->setWordWrap(true);
    lblCodigos_->setTextFormat(Qt::PlainText);
    lblValidez_->setTextFormat(Qt::PlainText);

    auto* disposicion = new QVBoxLayout(this);
    disposicion->addWidget(etiqueta);
    disposicion->addWidget(txtExpresion_);
    disposicion->addWidget(lblValidez_);
    disposicion->addWidget(lblCodigos_);
    disposicion->addStretch();
    disposicion->addWidget(botones_);
    resize(480, sizeHint().height());

    connect(botones_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(txtExpresion_, &QLineEdit::textChanged, this, [this] { Revisar(); });
    Revisar();
}

QString DialogoCodigos::expresion() const
{
    return txtExpresion_->text().trimmed();
}

void DialogoCodigos::Revisar()
{
    const PatronCodigos patron(expresion());
    if (!patron.esValido())
        lblValidez_->setText(patron.error());
    else if (patron.esPropio())
        lblValidez_->setText(QStringLiteral("La expresión es válida; sustituye a los códigos de siempre."));
    else
        lblValidez_->setText(QStringLiteral("Sin expresión propia: se usan los códigos de siempre."));
    botones_->button(QDialogButtonBox::Ok)->setEnabled(patron.esValido());

    const TramosCodigo tramos = patron.codigos(lineaOriginal_);
    QStringList codigos;
    for (const TramoCodigo& tramo : tramos) {
        if (codigos.size() == codigosMostrados) {
            codigos.append(QStringLiteral("…"));
            break;
        }
        codigos.append(u'«' + lineaOriginal_.mid(tramo.inicio, tramo.largo) + u'»');
    }
    lblCodigos_->setText(codigos.isEmpty() ? QStringLiteral("Ningún código en la línea original.")
                                           : u"Códigos en la línea original: " + codigos.join(u' '));
}
