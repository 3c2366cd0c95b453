// Ordered set of line numbers: bits per line, Fenwick tree of counts per word.
#include "conjunto_lineas.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int bitsPalabra = 64;

int Palabras(int lineas)
{
    return (lineas + bitsPalabra - 1) / bitsPalabra;
}

// The position of the `n`-th set bit of `palabra` (0-based), which has more than `n` set bits.
int BitEnesimo(std::uint64_t palabra, int n)
{
    for (; n > 0; --n)
        palabra &= palabra - 1;
    return std::countr_zero(palabra);
}

} // namespace

void ConjuntoLineas::redimensionar(int lineas)
{
    lineas = std::max(lineas, 0);
    if (lineas == lineas_)
        return;
    const int palabras = Palabras(lineas);
    bits_.resize(std::size_t(palabras), 0);
    if (lineas % bitsPalabra != 0 && palabras > 0)
        bits_.back() &= (std::uint64_t(1) << (lineas % bitsPalabra)) - 1;
    lineas_ = lineas;
    recontar();
}

bool ConjuntoLineas::contiene(int linea) const
{
    if (linea < 0 || linea >= lineas_)
        return false;
    return (bits_[std::size_t(linea / bitsPalabra)] >> (linea % bitsPalabra)) & 1;
}

bool ConjuntoLineas::poner(int linea, bool miembro)
{
    if (linea < 0 || linea >= lineas_ || contiene(linea) == miembro)
        return false;
    ponerSinContar(linea, miembro);
    Sumar(linea / bitsPalabra, miembro ? 1 : -1);
    cantidad_ += miembro ? 1 : -1;
    return true;
}

void ConjuntoLineas::ponerSinContar(int linea, bool miembro)
{
    if (linea < 0 || linea >= lineas_)
        return;
    const std::uint64_t bit = std::uint64_t(1) << (linea % bitsPalabra);
    std::uint64_t& palabra = bits_[std::size_t(linea / bitsPalabra)];
    palabra = miembro ? palabra | bit : palabra & ~bit;
}

void ConjuntoLineas::recontar()
{
    // The linear construction of a Fenwick tree: each node hands its sum on to its parent once.
    const int palabras = int(bits_.size());
    arbol_.assign(std::size_t(palabras) + 1, 0);
    cantidad_ = 0;
    for (int i = 1; i <= palabras; ++i) {
        const int bits = std::popcount(bits_[std::size_t(i - 1)]);
        cantidad_ += bits;
        arbol_[std::size_t(i)] += bits;
        const int padre = i + (i & -i);
        if (padre <= palabras)
            arbol_[std::size_t(padre)] += arbol_[std::size_t(i)];
    }
}

int ConjuntoLineas::Prefijo(int palabras) const
{
    int suma = 0;
    for (int i = palabras; i > 0; i -= i & -i)
        suma += arbol_[std::size_t(i)];
    return suma;
}

void ConjuntoLineas::Sumar(int palabra, int delta)
{
    for (int i = palabra + 1; i < int(arbol_.size()); i += i & -i)
        arbol_[std::size_t(i)] += delta;
}

int ConjuntoLineas::rango(int linea) const
{
    if (linea <= 0)
        return 0;
    if (linea >= lineas_)
        return cantidad_;
    const int palabra = linea / bitsPalabra;
    const std::uint64_t antes = (std::uint64_t(1) << (linea % bitsPalabra)) - 1;
    return Prefijo(palabra) + std::popcount(bits_[std::size_t(palabra)] & antes);
}

int ConjuntoLineas::enesimo(int rango) const
{
    if (rango < 0 || rango >= cantidad_)
        return -1;
    // Descends the tree to the word holding the member, then counts inside that word.
    const int palabras = int(bits_.size());
    int posicion = 0;
    int resto = rango;
    for (int paso = std::bit_floor(unsigned(palabras)); paso > 0; paso >>= 1) {
        const int siguiente = posicion + paso;
        if (siguiente <= palabras && arbol_[std::size_t(siguiente)] <= resto) {
            posicion = siguiente;
            resto -= arbol_[std::size_t(siguiente)];
        }
    }
    return posicion * bitsPalabra + BitEnesimo(bits_[std::size_t(posicion)], resto);
}

int ConjuntoLineas::siguiente(int linea) const
{
    linea = std::max(linea, 0);
    if (linea >= lineas_)
        return -1;
    // Inside the line's own word first: most searches end there or in the tree.
    const int palabra = linea / bitsPalabra;
    const std::uint64_t desde = bits_[std::size_t(palabra)] & (~std::uint64_t(0) << (linea % bitsPalabra));
    if (desde != 0)
        return palabra * bitsPalabra + std::countr_zero(desde);
    return enesimo(Prefijo(palabra + 1));
}

int ConjuntoLineas::anterior(int linea) const
{
    const int r = rango(linea);
    return r > 0 ? enesimo(r - 1) : -1;
}
