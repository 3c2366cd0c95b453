// The spelling highlighter's idle checking as it first shipped, kept so that the benchmark prints its
// processor time beside today's in one run: every line with a misspelled word is checked twice and
// restyled through the base class, which lays the line out at once.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTimer>

class Revisor;

class ResaltadorReferencia final : public QSyntaxHighlighter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResaltadorReferencia)
public:
    using Visibles = std::function<std::pair<int, int>()>;

    // Checks the document's lines while idle, the visible ones first.
    ResaltadorReferencia(QTextDocument* documento, std::shared_ptr<Revisor> revisor, Visibles visibles);
    ~ResaltadorReferencia() override;

    bool trabajoPendiente() const { return desde_ >= 0; }
    void Tramo();

protected:
    void highlightBlock(const QString& texto) override;

private:
    void Revisar(QTextBlock bloque);
    bool HayErratas(const QString& texto) const;
    bool Necesita(const QTextBlock& bloque) const;

    std::shared_ptr<Revisor> revisor_;
    Visibles visibles_;
    QTextCharFormat subrayado_;
    QTimer ocioso_;
    bool inmediato_ = false;
    quint32 generacion_ = 1;
    int desde_ = -1;
};
