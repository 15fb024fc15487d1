#include "db/jet/Variante.h"

#include <cmath>
#include <charconv>
#include <cstdlib>
#include <string>

namespace qavi {

std::string FormatoNumero(std::int64_t valor) { return std::to_string(valor); }

std::string FormatoNumero(double valor) {
  if (std::isnan(valor)) return "NaN";
  if (std::isinf(valor)) return valor > 0 ? "Infinity" : "-Infinity";
  if (valor == 0.0) return "0";  // also -0
  // Up to 15 significant digits, trailing zeros dropped (as %.15g); to_chars ignores the
  // regional settings, so the separator is always a point.
  char buf[64];
  auto [fin, ec] = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::general, 15);
  std::string s(buf, ec == std::errc() ? fin : buf);
  auto e = s.find('e');
  if (e != std::string::npos) {
    // Exponent as E+NN, like the variant conversion writes it.
    std::string mant = s.substr(0, e);
    int exp = std::atoi(s.c_str() + e + 1);
    s = mant + "E" + (exp < 0 ? "-" : "+") + std::to_string(std::abs(exp));
  }
  return s;
}

std::string TVariante::ComoTexto() const {
  switch (tipo) {
    case Tipo::Nulo: return {};
    case Tipo::Entero: return FormatoNumero(entero);
    case Tipo::Real: return FormatoNumero(real);
    case Tipo::Texto: return texto;
  }
  return {};
}

std::int64_t TVariante::ComoEntero() const {
  switch (tipo) {
    case Tipo::Nulo: return 0;
    case Tipo::Entero: return entero;
    case Tipo::Real: return static_cast<std::int64_t>(std::nearbyint(real));
    case Tipo::Texto: {
      size_t a = texto.find_first_not_of(' ');
      if (a == std::string::npos) return 0;
      double d = 0;
      auto [p, ec] = std::from_chars(texto.data() + a, texto.data() + texto.size(), d);
      if (ec != std::errc()) return 0;
      return static_cast<std::int64_t>(std::nearbyint(d));
    }
  }
  return 0;
}

bool TVariante::ComoBooleano() const {
  switch (tipo) {
    case Tipo::Nulo: return false;
    case Tipo::Entero: return entero != 0;
    case Tipo::Real: return real != 0.0;
    case Tipo::Texto: return ComoEntero() != 0;
  }
  return false;
}

}  // namespace qavi
