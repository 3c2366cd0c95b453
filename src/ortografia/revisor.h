// The spelling checker: one Hunspell dictionary, the verdicts it already gave, the user's personal word
// list and the words ignored until the editor closes.
#pragma once

#include <memory>

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include "sistema_archivos.h"
#include "diccionarios.h"

class Hunspell;

class Revisor final
{
public:
    // `archivoPersonal`: the personal word list, one word a line, in UTF-8 or the code page the file
    // shows; read now if it exists, without blocking.
    explicit Revisor(QString archivoPersonal, SistemaArchivos& sistema = SistemaReal());
    ~Revisor();
    Revisor(const Revisor&) = delete;
    Revisor& operator=(const Revisor&) = delete;

    // Checks with this dictionary from now on; false, with the current one kept, when its files cannot
    // be read.
    bool Cargar(const Diccionario& diccionario);
    bool disponible() const { return hunspell_ != nullptr; }
    const QString& codigo() const { return codigo_; }

    // Whether the word is spelt right: in the dictionary, the personal list or ignored. Every word is
    // asked of Hunspell once; later the verdict comes from the cache.
    bool Correcta(QStringView palabra);
    // Up to `maximo` corrections, in the dictionary's order.
    QStringList Sugerencias(const QString& palabra, int maximo = 6);

    // Adds the word to the personal list and writes the list at once, atomically, under a lock beside
    // it: the list on disk is read again, keeps every byte it had (code page, line ends, every line)
    // and gets the word as a last line in its own code page; the words other editors added meanwhile
    // are taken too. A list that cannot be read whole is never written; that, a list that cannot be
    // written, or a word its code page cannot hold raises the error and leaves the word unknown.
    void Anadir(const QString& palabra);
    // Takes the word as right until this checker goes away.
    void Ignorar(const QString& palabra);

    const QStringList& personales() const { return personales_; }

private:
    void Adoptar(const QStringList& palabras);
    std::string Codificar(QStringView palabra, bool* representable = nullptr);
    QString Decodificar(const std::string& palabra);

    QString archivoPersonal_;
    SistemaArchivos& sistema_;
    QStringList personales_;
    QSet<QString> aceptadas_; // the personal and the ignored words
    std::unique_ptr<Hunspell> hunspell_;
    QString codigo_;
    // The dictionary's own encoding (SET in the .aff); UTF-8 for Debian's Spanish ones.
    QStringEncoder codificador_;
    QStringDecoder decodificador_;
    QHash<QString, bool> veredictos_;
};
