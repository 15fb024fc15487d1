#pragma once
// Value of one cell as the query layer hands it out: null, integer, real or text.
#include <cstdint>
#include <string>

#include "common/FormatoNumero.h"

namespace qavi {

struct TVariante {
  enum class Tipo { Nulo, Entero, Real, Texto };

  Tipo tipo = Tipo::Nulo;
  std::int64_t entero = 0;
  double real = 0.0;
  std::string texto;  // UTF-8

  static TVariante Nulo() { return {}; }
  static TVariante DeEntero(std::int64_t v) { TVariante r; r.tipo = Tipo::Entero; r.entero = v; return r; }
  static TVariante DeReal(double v) { TVariante r; r.tipo = Tipo::Real; r.real = v; return r; }
  static TVariante DeTexto(std::string v) { TVariante r; r.tipo = Tipo::Texto; r.texto = std::move(v); return r; }

  bool EsNulo() const { return tipo == Tipo::Nulo; }
  // Text as a variant-to-text conversion gives it; null gives "".
  std::string ComoTexto() const;
  // Integer conversion; reals round half to even, numeric text is parsed, anything else gives 0.
  std::int64_t ComoEntero() const;
  // Jet truth: any non-zero number is true; null is false.
  bool ComoBooleano() const;
  bool operator==(const TVariante&) const = default;
};

}  // namespace qavi
