#pragma once
// Helpers shared by the tests of the writer tools: a scratch folder and reading a table back.
#include <gtest/gtest.h>

#include <filesystem>
#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/Variante.h"
#include "support/CarpetaTemporal.h"

namespace qavi {

inline void PrintTo(const TVariante& v, std::ostream* os) {
  switch (v.tipo) {
    case TVariante::Tipo::Nulo: *os << "Nulo"; break;
    case TVariante::Tipo::Entero: *os << "Entero(" << v.entero << ")"; break;
    case TVariante::Tipo::Real: *os << "Real(" << std::setprecision(17) << v.real << ")"; break;
    case TVariante::Tipo::Texto:
      *os << "Texto(" << (v.texto.size() > 80 ? v.texto.substr(0, 80) + "...[" + std::to_string(v.texto.size()) + "]" : v.texto) << ")";
      break;
  }
}

}  // namespace qavi

namespace qavi::tools::prueba {

using qavi::prueba::TCarpetaTemporal;

using TFilas = std::vector<std::vector<TVariante>>;

// All rows of a table through the project's reader; fails the test if it cannot be read.
inline TFilas LeeTabla(const std::filesystem::path& mdb, const std::string& tabla,
                       const std::vector<std::string>& columnas = {}) {
  TFilas filas;
  std::string error;
  auto archivo = jet::TArchivoMdb::Abre(mdb, error);
  EXPECT_TRUE(archivo) << error;
  if (!archivo) return filas;
  const bool ok = archivo->LeeFilas(
      tabla, columnas, [&](const std::vector<TVariante>& v) { filas.push_back(v); }, error);
  EXPECT_TRUE(ok) << tabla << ": " << error;
  return filas;
}

inline std::vector<std::string> Tablas(const std::filesystem::path& mdb) {
  std::string error;
  auto archivo = jet::TArchivoMdb::Abre(mdb, error);
  EXPECT_TRUE(archivo) << error;
  return archivo ? archivo->Tablas() : std::vector<std::string>{};
}

}  // namespace qavi::tools::prueba
