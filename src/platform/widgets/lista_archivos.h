// The file list of the script browser: the "*.txt" files of one folder, with the selection semantics
// the window relies on.
#pragma once

#include <functional>

#include <QListWidget>

class ListaArchivos final : public QListWidget
{
    Q_OBJECT
public:
    // Starts on the files of `carpeta`.
    explicit ListaArchivos(const QString& carpeta, QWidget* padre = nullptr);

    // Shows the folder's regular, non-hidden files whose names match "*.txt" ignoring case, ordered by
    // name ignoring case. Nothing is selected afterwards and no click runs.
    void setCarpeta(const QString& carpeta);
    const QString& carpeta() const { return carpeta_; }

    int cantidad() const { return count(); }
    int indice() const;
    // Selects a file; error 380 outside -1 ... count - 1. Every index of a file runs `click`, also when
    // it was already selected; -1 only clears the selection.
    void setIndice(int indice);
    // Selects a file without running `click`, as a highlight of what a click would load; the user's
    // click on that file then runs `click` although the selection does not change. Error 380 outside
    // 0 ... count - 1.
    void resaltar(int indice);
    // The selected file's name, "" when none.
    QString nombreArchivo() const;
    // Reads the folder again; the selected file stays selected while it exists, without a click.
    void refrescar();

    // Gives an item what its file name calls for beyond the name (an icon, a tooltip). It runs on every
    // item the list shows, whenever the list is filled, and again on one item through `decorar`. An
    // item's icon is drawn at the row's right end, so that names start where they always do and rows
    // keep their height.
    using Decorador = std::function<void(QListWidgetItem& elemento)>;
    void setDecorador(Decorador decorador);
    void decorar(const QString& nombre);

    // The files a folder's list shows, in the order shown.
    static QStringList ArchivosDe(const QString& carpeta);

Q_SIGNALS:
    void click();
    // A key was released: traditional key code and shift state.
    void teclaSoltada(int codigo, int shift);

protected:
    void keyReleaseEvent(QKeyEvent* evento) override;

private:
    void Mostrar(const QStringList& nombres, const QString& seleccion);

    QString carpeta_;
    Decorador decorador_;
    bool desdeCodigo_ = false;
    // The selected file was only highlighted: nothing has been loaded from it yet.
    bool resaltado_ = false;
};
