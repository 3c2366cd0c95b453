// An ordered set of line numbers held as one bit per line, with counts per 64-line word in a Fenwick tree:
// membership in O(1), the next or previous member, a member's rank and the k-th member in O(log n).
#pragma once

#include <cstdint>
#include <vector>

class ConjuntoLineas final
{
public:
    // Lines 0 ... lineas - 1, none a member; members past a shrunk end are dropped.
    void redimensionar(int lineas);
    int lineas() const { return lineas_; }
    int cantidad() const { return cantidad_; }

    bool contiene(int linea) const;
    // Makes `linea` a member or not; returns whether that changed anything.
    bool poner(int linea, bool miembro);

    // The first member at or after `linea`, -1 when none.
    int siguiente(int linea) const;
    // The last member before `linea`, -1 when none.
    int anterior(int linea) const;
    // How many members lie before `linea`.
    int rango(int linea) const;
    // The member with `rango` members before it; -1 outside 0 ... cantidad() - 1.
    int enesimo(int rango) const;

    // Many lines set at once (`poner` without keeping the counts), then one rebuild of the counts.
    void ponerSinContar(int linea, bool miembro);
    void recontar();

private:
    int Prefijo(int palabras) const;
    void Sumar(int palabra, int delta);

    int lineas_ = 0;
    int cantidad_ = 0;
    std::vector<std::uint64_t> bits_;
    // Fenwick tree over the members of each word, 1-based.
    std::vector<int> arbol_;
};
