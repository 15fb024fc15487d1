#include "common/FormatoNumero.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

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

}  // namespace qavi
