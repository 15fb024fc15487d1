#include "db/Variante.h"

#include <cmath>
#include <charconv>
#include <cstdlib>
#include <string>

namespace qavi {

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
