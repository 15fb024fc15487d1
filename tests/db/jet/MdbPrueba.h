#pragma once
// Jet files for the reader tests, made with the project's writer in a private temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "db/jet/ValorMdb.h"
#include "jetwriter/TablaJet.h"
#include "support/CarpetaTemporal.h"

namespace qavi::jet {

// A value in a failure message: its class and what it holds (long texts cut).
inline void PrintTo(const TValorMdb& v, std::ostream* os) {
  using C = TValorMdb::Clase;
  static const char* const kClases[] = {"Nulo",  "SiNo",    "Entero",  "Moneda", "Simple", "Doble",
                                        "FechaHora", "Decimal", "Texto", "Binario", "Guid", "Ilegible"};
  *os << kClases[static_cast<int>(v.clase)];
  switch (v.clase) {
    case C::Nulo: return;
    case C::SiNo:
    case C::Entero: *os << "(" << v.entero << ")"; return;
    case C::Moneda: *os << "(" << TextoMoneda(v.entero) << ")"; return;
    case C::Simple: *os << "(" << std::setprecision(9) << v.simple << ")"; return;
    case C::Doble:
    case C::FechaHora: *os << "(" << std::setprecision(17) << v.real << ")"; return;
    case C::Decimal: *os << "(" << TextoDecimal(v.decimal) << ", " << v.decimal.precision << ")"; return;
    case C::Guid: *os << "(" << TextoGuid(v.bytes) << ")"; return;
    default:
      *os << "(" << (v.bytes.size() > 80 ? v.bytes.substr(0, 80) + "...[" + std::to_string(v.bytes.size()) + "]" : v.bytes)
          << ")";
  }
}

}  // namespace qavi::jet

namespace qavi::prueba {

namespace fs = std::filesystem;

// Expected values of the reader, short: {E(1), B(true), M(12345678), R(0.1), F(42005.5), X("A"), N}.
namespace valor {
using V = jet::TValorMdb;
inline V E(std::int64_t v) { return V::Entero(v); }
inline V B(bool v) { return V::SiNo(v); }
inline V M(std::int64_t diezmilesimos) { return V::Moneda(diezmilesimos); }
inline V R(double v) { return V::Doble(v); }
inline V F(double dia) { return V::FechaHora(dia); }
inline V X(std::string v) { return V::Texto(std::move(v)); }
inline const V N{};
}  // namespace valor


inline fs::path EscribeMdb(const fs::path& ruta, const std::vector<tools::TTablaJet>& tablas,
                           const tools::TOpcionesMdb& opciones = {}) {
  std::string error;
  EXPECT_TRUE(tools::EscribeMdb(ruta, tablas, opciones, error)) << error;
  return ruta;
}

inline std::vector<char> LeeBytes(const fs::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void EscribeBytes(const fs::path& ruta, const std::vector<char>& bytes) {
  std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Gives column `columna` of the table definitions that list it another stored type code (one Jet 4
// does not define, say), as a file written elsewhere might have it. Definitions of one page only.
inline void CambiaTipoColumna(const fs::path& mdb, const std::string& columna, std::uint8_t codigo) {
  auto b = LeeBytes(mdb);
  const auto u16 = [&](std::size_t p) { return static_cast<unsigned char>(b[p]) | static_cast<unsigned char>(b[p + 1]) << 8; };
  bool hecho = false;
  for (std::size_t pag = 0; pag + 4096 <= b.size(); pag += 4096) {
    if (b[pag] != 0x02) continue;
    const unsigned columnas = u16(pag + 45), indices = u16(pag + 51);
    std::size_t pos = pag + 63 + 12 * indices + 25 * columnas;
    for (unsigned k = 0; k < columnas && pos + 2 <= pag + 4096; ++k) {
      const unsigned largo = u16(pos);
      std::string nombre;
      for (unsigned i = 0; i < largo; i += 2) nombre.push_back(b[pos + 2 + i]);  // ASCII names
      if (nombre == columna) {
        b[pag + 63 + 12 * indices + 25 * k] = static_cast<char>(codigo);
        hecho = true;
      }
      pos += 2 + largo;
    }
  }
  ASSERT_TRUE(hecho) << columna;
  EscribeBytes(mdb, b);
}

// Takes the long-value pages that hold `texto` (stored compressed, so as ASCII) away from the long
// values, as a damaged file would have them.
inline void RompeValorLargo(const fs::path& mdb, const std::string& texto) {
  auto b = LeeBytes(mdb);
  bool hecho = false;
  for (std::size_t pag = 0; pag + 4096 <= b.size(); pag += 4096) {
    const auto ini = b.begin() + static_cast<std::ptrdiff_t>(pag);
    if (std::string(ini + 4, ini + 8) == "LVAL" && std::search(ini, ini + 4096, texto.begin(), texto.end()) != ini + 4096) {
      std::fill(ini + 4, ini + 8, '\0');
      hecho = true;
    }
  }
  ASSERT_TRUE(hecho) << texto;
  EscribeBytes(mdb, b);
}

// Bytes and modification time of a file, to prove that reading left it as it was.
struct TSelloArchivo {
  std::vector<char> bytes;
  fs::file_time_type modificado;
  static TSelloArchivo De(const fs::path& ruta) { return {LeeBytes(ruta), fs::last_write_time(ruta)}; }
  bool operator==(const TSelloArchivo&) const = default;
};

}  // namespace qavi::prueba
