// The dialog "Códigos de control de la carpeta": the folder's own pattern, whether it is valid, and the
// codes it finds in the current original line. An empty pattern restores the default codes.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class DialogoCodigos final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DialogoCodigos)
public:
    // `expresion`: the folder's pattern now; `lineaOriginal`: the original line the codes are shown for.
    DialogoCodigos(const QString& expresion, const QString& lineaOriginal, QWidget* padre);

    // The pattern as typed, without blanks around it.
    QString expresion() const;

    QLineEdit* campo() const { return txtExpresion_; }
    QLabel* validez() const { return lblValidez_; }
    QLabel* codigos() const { return lblCodigos_; }
    QDialogButtonBox* botones() const { return botones_; }

private:
    void Revisar();

    const QString lineaOriginal_;
    QLineEdit* txtExpresion_;
    QLabel* lblValidez_;
    QLabel* lblCodigos_;
    QDialogButtonBox* botones_;
};
