#pragma once
// One cell of a Jet 4 table exactly as the file stores it: no rounding, no conversion between kinds.
#include <cstdint>
#include <string>
#include <string_view>

namespace qavi::jet {

// Decimal (Numeric): sign and unscaled magnitude of up to 128 bits; value = ±magnitude / 10^escala.
struct TDecimalMdb {
  bool negativo = false;
  std::uint64_t alto = 0, bajo = 0;  // magnitude = alto * 2^64 + bajo
  int precision = 0;
  int escala = 0;
  bool operator==(const TDecimalMdb&) const = default;
};

struct TValorMdb {
  enum class Clase : std::uint8_t {
    Nulo,
    SiNo,       // entero: -1 (Yes) or 0 (No), as Jet gives it
    Entero,     // Byte, Integer, Long Integer
    Moneda,     // Currency: entero holds ten-thousandths
    Simple,     // Single
    Doble,      // Double
    FechaHora,  // real: the stored day number (days since 1899-12-30, time as fraction)
    Decimal,
    Texto,      // Text and Memo: bytes holds UTF-8
    Binario,    // Binary and OLE Object: bytes as stored
    Guid,       // bytes: the 16 stored bytes
    Ilegible,   // a value the reader cannot decode: bytes holds why, in Spanish
  };

  Clase clase = Clase::Nulo;
  std::int64_t entero = 0;
  double real = 0.0;
  float simple = 0.0f;
  TDecimalMdb decimal;
  std::string bytes;

  static TValorMdb Nulo() { return {}; }
  static TValorMdb SiNo(bool v) { return Con(Clase::SiNo, v ? -1 : 0); }
  static TValorMdb Entero(std::int64_t v) { return Con(Clase::Entero, v); }
  static TValorMdb Moneda(std::int64_t diezmilesimos) { return Con(Clase::Moneda, diezmilesimos); }
  static TValorMdb Simple(float v) { TValorMdb r; r.clase = Clase::Simple; r.simple = v; return r; }
  static TValorMdb Doble(double v) { TValorMdb r; r.clase = Clase::Doble; r.real = v; return r; }
  static TValorMdb FechaHora(double dia) { TValorMdb r; r.clase = Clase::FechaHora; r.real = dia; return r; }
  static TValorMdb Decimal(const TDecimalMdb& v) { TValorMdb r; r.clase = Clase::Decimal; r.decimal = v; return r; }
  static TValorMdb Texto(std::string v) { return Con(Clase::Texto, std::move(v)); }
  static TValorMdb Binario(std::string v) { return Con(Clase::Binario, std::move(v)); }
  static TValorMdb Guid(std::string dieciseis) { return Con(Clase::Guid, std::move(dieciseis)); }
  static TValorMdb Ilegible(std::string razon) { return Con(Clase::Ilegible, std::move(razon)); }

  bool EsNulo() const { return clase == Clase::Nulo; }
  // Same class and same stored value; numbers bit for bit (-0.0 is not 0.0, NaN equals its own bits).
  bool operator==(const TValorMdb& o) const;

 private:
  static TValorMdb Con(Clase c, std::int64_t v) { TValorMdb r; r.clase = c; r.entero = v; return r; }
  static TValorMdb Con(Clase c, std::string v) { TValorMdb r; r.clase = c; r.bytes = std::move(v); return r; }
};

// Currency exactly, four decimals: "-922337203685477.5808".
std::string TextoMoneda(std::int64_t diezmilesimos);
// Decimal exactly, with `escala` decimals ("123.4567", "1", "-0.50").
std::string TextoDecimal(const TDecimalMdb& d);
// The double nearest to the exact decimal value.
double DobleDeDecimal(const TDecimalMdb& d);
// A Single as the decimal it shows: the double nearest to its shortest decimal (1.1f gives 1.1).
double DobleDeSimple(float f);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" from the 16 stored bytes (first three groups little endian).
std::string TextoGuid(std::string_view dieciseis);

// The real the engine computes with for a Currency (its value), Single (the decimal it shows),
// Double, Date/Time (its day number) or Decimal (the nearest real); false for the other classes.
inline bool ComoReal(const TValorMdb& v, double& real) {
  using C = TValorMdb::Clase;
  switch (v.clase) {
    case C::Doble:
    case C::FechaHora: real = v.real; return true;
    case C::Moneda: real = static_cast<double>(v.entero) / 10000.0; return true;
    case C::Simple: real = DobleDeSimple(v.simple); return true;
    case C::Decimal: real = DobleDeDecimal(v.decimal); return true;
    default: return false;
  }
}

}  // namespace qavi::jet
