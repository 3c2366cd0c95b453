// The highlighter that underlines misspelled words in a text document, line by line.
//
// A keystroke re-checks its own line at once. A change over many lines (a load, a large paste) only
// marks its lines as unchecked; they are then checked in short slices while the event loop is idle,
// the lines on screen first, and not while the translator types or a load is still filling the document.
// Nothing here edits the text: every pass is marked as restyling only. A line is restyled only when its
// underlines change, and a slice's restyling is handed to the document's layout at once, so that lines
// off screen are not laid out until they are shown. A line checked off screen keeps its verdict and gets
// its underlines when it comes on screen, so that only the lines shown ever hold a layout.
//
// It restyles the lines' layouts itself rather than through the toolkit's syntax highlighter, which walks
// every line of a document it leaves and gives each one a layout: leaving a million-line document would
// hold the window for seconds.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTimer>

class QTextBlock;
class QTextDocument;
class Revisor;

class ResaltadorOrtografia final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResaltadorOrtografia)
public:
    // First and last block number on screen.
    using Visibles = std::function<std::pair<int, int>()>;

    ResaltadorOrtografia(QTextDocument* documento, std::shared_ptr<Revisor> revisor, Visibles visibles,
                         QObject* padre = nullptr);

    // Checks another document from now on, all of it, and leaves the old one as it is.
    void setDocumento(QTextDocument* documento);

    bool activo() const { return activo_; }
    // Turns checking on (every line is checked again) or off (every underline goes).
    void setActivo(bool activo);
    // The checker changed its dictionary: every line is checked again.
    void RevisarDeNuevo();
    // The word is right from now on: only the lines that hold it underlined are checked again.
    void Aceptada(const QString& palabra);

    // While paused (a pair is being loaded), no idle work runs; it goes on where it was once resumed.
    void pausar(bool pausado);

    // Underlines the lines on screen that were checked while off it, and checks those that were not: for
    // when the view scrolls or grows. Nothing while paused.
    void RevisarVisibles();

    // Whether idle work is left; `Tramo` runs one slice of it (the idle timer's step).
    bool trabajoPendiente() const;
    void Tramo();
    // How long a slice may run.
    static constexpr qint64 nsPorTramo = 8'000'000;
    // How long after a keystroke, or a slice of a load, the idle checking waits before it goes on.
    static constexpr int msTrasTecla = 400;

Q_SIGNALS:
    // The idle checking has covered the whole document.
    void revisionTerminada();

private:
    class Restilo;

    void AlCambiar(int desde, int quitados, int agregados);
    // Checks the line and, when its underlines change, restyles it within `restilo` (none: within the
    // document's change being signalled). A line not `visible` is given no underlines it did not have.
    void Revisar(QTextBlock bloque, Restilo* restilo = nullptr, bool visible = true);
    static bool PorDibujar(const QTextBlock& bloque);
    // The lines on screen; every line when no view was given.
    std::pair<int, int> LineasVisibles() const;
    QList<QTextLayout::FormatRange> Erratas(const QString& texto) const;
    bool Necesita(const QTextBlock& bloque) const;
    void Programar();

    QPointer<QTextDocument> documento_;
    QMetaObject::Connection conexion_;
    std::shared_ptr<Revisor> revisor_;
    Visibles visibles_;
    QTextCharFormat subrayado_;
    QTimer ocioso_;
    bool pausado_ = false;
    // Runs from each edit until the typing pauses or a load's slices stop coming; the idle checking
    // waits for it.
    QTimer tecleo_;
    bool activo_ = true;
    // Lines whose check is older than this are unchecked.
    quint32 generacion_ = 1;
    // The first block number not yet scanned for unchecked lines, -1 when the scan is done.
    int desde_ = -1;
    // The scan for underlines that must go: words now right, or all of them when checking is off.
    int barrido_ = -1;
    QStringList aceptadas_;
};
