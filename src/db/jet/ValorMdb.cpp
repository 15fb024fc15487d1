#include "db/jet/ValorMdb.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace qavi::jet {
namespace {

template <class T>
bool MismosBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Decimal digits of a 128-bit magnitude, most significant first ("0" for zero).
std::string Digitos(std::uint64_t alto, std::uint64_t bajo) {
  std::uint32_t w[4] = {static_cast<std::uint32_t>(alto >> 32), static_cast<std::uint32_t>(alto),
                        static_cast<std::uint32_t>(bajo >> 32), static_cast<std::uint32_t>(bajo)};
  std::string r;
  for (;;) {
    std::uint64_t resto = 0;
    bool cero = true;
    for (auto& x : w) {
      const std::uint64_t actual = (resto << 32) | x;
      x = static_cast<std::uint32_t>(actual / 10);
      resto = actual % 10;
      cero = cero && x == 0;
    }
    r.push_back(static_cast<char>('0' + resto));
    if (cero) break;
  }
  std::reverse(r.begin(), r.end());
  return r;
}

// Magnitude digits with a point `escala` places from the right, and the sign.
std::string ConPunto(bool negativo, std::string digitos, int escala) {
  if (escala > 0) {
    const auto e = static_cast<std::size_t>(escala);
    if (digitos.size() <= e) digitos.insert(0, e + 1 - digitos.size(), '0');
    digitos.insert(digitos.size() - e, 1, '.');
  }
  const bool cero = digitos.find_first_not_of("0.") == std::string::npos;
  return (negativo && !cero ? "-" : "") + digitos;
}

}  // namespace

bool TValorMdb::operator==(const TValorMdb& o) const {
  if (clase != o.clase) return false;
  switch (clase) {
    case Clase::Nulo: return true;
    case Clase::SiNo:
    case Clase::Entero:
    case Clase::Moneda: return entero == o.entero;
    case Clase::Simple: return MismosBits(simple, o.simple);
    case Clase::Doble:
    case Clase::FechaHora: return MismosBits(real, o.real);
    case Clase::Decimal: return decimal == o.decimal;
    case Clase::Texto:
    case Clase::Binario:
    case Clase::Guid:
    case Clase::Ilegible: return bytes == o.bytes;
  }
  return false;
}

std::string TextoMoneda(std::int64_t diezmilesimos) {
  const bool negativo = diezmilesimos < 0;
  const std::uint64_t m = negativo ? 0 - static_cast<std::uint64_t>(diezmilesimos) : static_cast<std::uint64_t>(diezmilesimos);
  return ConPunto(negativo, std::to_string(m), 4);
}

std::string TextoDecimal(const TDecimalMdb& d) {
  return ConPunto(d.negativo, Digitos(d.alto, d.bajo), d.escala);
}

double DobleDeDecimal(const TDecimalMdb& d) {
  // from_chars rounds correctly; an exponent keeps the text short whatever the scale.
  const std::string s = Digitos(d.alto, d.bajo) + "e-" + std::to_string(d.escala);
  double v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return d.negativo && v != 0 ? -v : v;
}

double DobleDeSimple(float f) {
  if (!std::isfinite(f)) return f;
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, f);
  double d = f;
  std::from_chars(buf, r.ptr, d);
  return d;
}

std::string TextoGuid(std::string_view b) {
  static constexpr int kOrden[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s = "{";
  for (int i = 0; i < 16 && b.size() >= 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) s.push_back('-');
    const auto c = static_cast<unsigned char>(b[kOrden[i]]);
    s.push_back(kHex[c >> 4]);
    s.push_back(kHex[c & 15]);
  }
  s.push_back('}');
  return s;
}

}  // namespace qavi::jet
