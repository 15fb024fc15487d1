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
  Doble,        // Double
  FechaHora,    // Date/Time: OLE Automation double
  Texto,        // Text of up to 255 characters
  Memo,         // Memo: inline when short, long-value pages otherwise
  Binario,      // Binary, only nulls (system catalog)
  Ole,          // OLE object, only nulls (system catalog)
};

struct TColumnaJet {
  std::string nombre;
  TTipoJet tipo = TTipoJet::Texto;
  int tamano = 0;  // Text: maximum characters (1..255); 0 means 255
};

// One cell: null, integer, real or UTF-8 text. Converts implicitly so rows read like literals:
// {1, "JUAN", 15.5, true, Nulo}.
struct TValorJet {
  enum class Clase { Nulo, Entero, Real, Texto };

  Clase clase = Clase::Nulo;
  std::int64_t entero = 0;
  double real = 0.0;
  std::string texto;

  TValorJet() = default;
  TValorJet(std::nullptr_t) {}
  TValorJet(bool v) : clase(Clase::Entero), entero(v ? -1 : 0) {}
  template <std::integral T>
    requires(!std::same_as<T, bool>)
  TValorJet(T v) : clase(Clase::Entero), entero(static_cast<std::int64_t>(v)) {}
  TValorJet(double v) : clase(Clase::Real), real(v) {}
  TValorJet(const char* v) : clase(Clase::Texto), texto(v) {}
  TValorJet(std::string v) : clase(Clase::Texto), texto(std::move(v)) {}

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
