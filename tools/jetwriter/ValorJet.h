#pragma once
// Column types and cell values handed to the Jet 4 writer.
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qavi::tools {

enum class TTipoJet {
  Booleano,     // Yes/No: stored in the null mask, never null (a null is written as false)
  Byte,         // 0..255
  Entero,       // Integer, 16 bits
  EnteroLargo,  // Long Integer, 32 bits
  Moneda,       // Currency: 64-bit integer of ten-thousandths
  Simple,       // Single: 32-bit float
  Doble,        // Double
  FechaHora,    // Date/Time: OLE Automation double
  Decimal,      // Decimal (Numeric): precision and scale of the column, exact
  Texto,        // Text of up to 255 characters, variable or fixed length
  Memo,         // Memo: inline when short, long-value pages otherwise
  Binario,      // Binary of up to 510 bytes, variable or fixed length
  Ole,          // OLE Object (long binary): stored like a memo
  Guid,         // Replication ID: 16 bytes
};

struct TColumnaJet {
  std::string nombre;
  TTipoJet tipo = TTipoJet::Texto;
  int tamano = 0;  // Text: maximum characters (1..255), 0 means 255; Binary: bytes (1..510), 0 means 255
  bool fija = false;  // Text or Binary of fixed length: texts are padded with blanks, bytes with zeros
  int precision = 18;  // Decimal: 1..28 digits
  int escala = 0;      // Decimal: 0..precision decimals
  // Layouts a table gets from years of changes, until the file is compacted:
  bool borrada = false;    // deleted: rows keep its data, the definition no longer lists it
  std::size_t desdeFila = 0;  // added after this many rows: earlier rows are shorter (it reads as null)
};

// One cell: null, integer, real, UTF-8 text or bytes. Converts implicitly so rows read like literals:
// {1, "JUAN", 15.5, true, Nulo}. Currency and Decimal also take a decimal text, exact ("-0.0001");
// GUID takes its text ("{0C4F1D2A-...}"); Binary and OLE take Bytes(...).
struct TValorJet {
  enum class Clase { Nulo, Entero, Real, Texto, Bytes };

  Clase clase = Clase::Nulo;
  std::int64_t entero = 0;
  double real = 0.0;
  std::string texto;  // Texto: UTF-8; Bytes: the bytes

  TValorJet() = default;
  TValorJet(std::nullptr_t) {}
  TValorJet(bool v) : clase(Clase::Entero), entero(v ? -1 : 0) {}
  template <std::integral T>
    requires(!std::same_as<T, bool>)
  TValorJet(T v) : clase(Clase::Entero), entero(static_cast<std::int64_t>(v)) {}
  TValorJet(double v) : clase(Clase::Real), real(v) {}
  TValorJet(const char* v) : clase(Clase::Texto), texto(v) {}
  TValorJet(std::string v) : clase(Clase::Texto), texto(std::move(v)) {}
  static TValorJet Bytes(std::string v) {
    TValorJet r;
    r.clase = Clase::Bytes;
    r.texto = std::move(v);
    return r;
  }

  bool EsNulo() const { return clase == Clase::Nulo; }
  bool operator==(const TValorJet&) const = default;
};

inline const TValorJet Nulo{};

// OLE Automation date: days since 1899-12-30, the fraction is the time of day. Before that day the
// whole part is negative and the time is added away from zero (1899-12-29 06:00 is -1.25).
double FechaOle(int anio, int mes, int dia, int hora = 0, int minuto = 0, int segundo = 0);
inline double Fecha(int anio, int mes, int dia, int hora = 0, int minuto = 0, int segundo = 0) {
  return FechaOle(anio, mes, dia, hora, minuto, segundo);
}

}  // namespace qavi::tools
