// Changes to a text document that only restyle its text (a highlighter's underlines) rather than edit
// it. Whatever reacts to edits asks `SoloFormato` and lets such changes pass.
#pragma once

class QTextDocument;

// While alive, changes to the document are restyling only.
class CambioDeFormato final
{
public:
    explicit CambioDeFormato(QTextDocument* documento);
    ~CambioDeFormato();
    CambioDeFormato(const CambioDeFormato&) = delete;
    CambioDeFormato& operator=(const CambioDeFormato&) = delete;

private:
    QTextDocument* documento_;
};

// Whether the document's change being signalled now restyles its text only.
bool SoloFormato(const QTextDocument* documento);
