// The translation memory's window.
#include "ventana_memoria.h"

#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "numeros.h"

namespace {

// The background of what differs from the caret's original.
constexpr const char* fondoDiferencia = "#ffd970";
// Places a way lists, beyond which it says how many more.
constexpr qsizetype lugaresPorManera = 3;

QString Resaltado(const QString& texto, const QList<Tramo>& tramos)
{
    QString html;
    qsizetype desde = 0;
    for (const Tramo& t : tramos) {
        html += texto.mid(desde, t.inicio - desde).toHtmlEscaped();
        html += QStringLiteral("<span style=\"background-color:%1\">%2</span>")
                    .arg(QLatin1StringView(fondoDiferencia), texto.mid(t.inicio, t.largo).toHtmlEscaped());
        desde = t.inicio + t.largo;
    }
    return html + texto.mid(desde).toHtmlEscaped();
}

QString Usos(int usos)
{
    return usos == 1 ? QStringLiteral("1 línea") : QStringLiteral("%1 líneas").arg(ConMiles(usos));
}

} // namespace

VentanaMemoria::VentanaMemoria(QWidget* padre)
    : QDialog(padre), estado_(new QLabel(this)), aviso_(new QLabel(this)),
      coincidencias_(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmMemoria"));
    if (padre)
        setFont(padre->font());
    setWindowTitle(QStringLiteral("Memoria de traducción"));
    setModal(false);
    estado_->setWordWrap(true);
    aviso_->setWordWrap(true);
    aviso_->setTextFormat(Qt::RichText);
    coincidencias_->setOpenLinks(false);
    coincidencias_->setAccessibleName(windowTitle());
    auto* disposicion = new QVBoxLayout(this);
    disposicion->addWidget(estado_);
    disposicion->addWidget(aviso_);
    disposicion->addWidget(coincidencias_);
    resize(420, 360);
    connect(coincidencias_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& enlace) { Q_EMIT elegida(enlace.fragment().toInt()); });
    vaciar();
    MostrarEstado();
}

void VentanaMemoria::mostrar(const ResultadoConsulta& resultado)
{
    // Several ways of translating this very line are worth seeing before any match.
    if (resultado.maneras.size() > 1) {
        QString html = u"<b>" + TextoManeras(resultado.maneras.size()).toHtmlEscaped() + u"</b><ul>";
        for (const Manera& manera : resultado.maneras) {
            QStringList lugares;
            for (qsizetype i = 0; i < std::min(lugaresPorManera, manera.ubicaciones.size()); ++i)
                lugares.append(Lugar(manera.ubicaciones[i]));
            html += QStringLiteral("<li>«%1»: %2 (%3%4)</li>")
                        .arg(manera.traduccion.toHtmlEscaped(), Usos(manera.usos),
                             lugares.join(QStringLiteral("; ")).toHtmlEscaped(),
                             manera.usos > lugares.size() ? QStringLiteral("…") : QString());
        }
        aviso_->setText(html + u"</ul>");
        aviso_->show();
    } else {
        aviso_->clear();
        aviso_->hide();
    }
    if (resultado.coincidencias.isEmpty()) {
        coincidencias_->setHtml(QStringLiteral("<p>Ninguna coincidencia desde el 70 %.</p>"));
        return;
    }
    QString html = QStringLiteral("<table cellspacing=\"4\">");
    for (qsizetype i = 0; i < resultado.coincidencias.size(); ++i) {
        const Coincidencia& c = resultado.coincidencias[i];
        QString lugar = Lugar(c.ubicacion);
        if (c.usos > 1)
            lugar += QStringLiteral(" (%1 en total)").arg(Usos(c.usos));
        html += QStringLiteral("<tr><td><a href=\"#%1\">Ctrl+%2</a></td><td align=\"right\">%3 %</td>"
                               "<td>%4</td></tr>"
                               "<tr><td></td><td></td><td><b>%5</b></td></tr>"
                               "<tr><td></td><td></td><td><small>%6</small></td></tr>")
                    .arg(QString::number(i), QString::number(i + 1), QString::number(c.porcentaje),
                         Resaltado(c.original, c.diferencias), c.traduccion.toHtmlEscaped(),
                         lugar.toHtmlEscaped());
    }
    coincidencias_->setHtml(html + u"</table>");
}

// "b.txt, línea 3", or "Capitulo1/b.txt, línea 3" for a script of an added folder.
QString VentanaMemoria::Lugar(const Ubicacion& u) const
{
    const QString script = u.carpeta == carpeta_ ? u.script : u.carpeta.section(u'/', -1) + u'/' + u.script;
    return QStringLiteral("%1, línea %2").arg(script, ConMiles(u.linea + 1));
}

void VentanaMemoria::vaciar()
{
    aviso_->clear();
    aviso_->hide();
    coincidencias_->clear();
}

void VentanaMemoria::mostrarProgreso(int hechos, int total)
{
    progreso_ = hechos < total ? TextoPreparando(hechos, total) : QString();
    MostrarEstado();
}

void VentanaMemoria::mostrarNoDisponible(const QString& motivo)
{
    if (!motivos_.contains(motivo))
        motivos_.append(motivo);
    MostrarEstado();
}

void VentanaMemoria::olvidarNoDisponible()
{
    motivos_.clear();
    MostrarEstado();
}

void VentanaMemoria::MostrarEstado()
{
    QStringList lineas = motivos_;
    if (!progreso_.isEmpty())
        lineas.prepend(progreso_);
    estado_->setText(lineas.join(u'\n'));
    estado_->setVisible(!lineas.isEmpty());
}
