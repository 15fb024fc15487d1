#pragma once
// Helpers shared by the tests of the writer tools: a scratch folder and reading a table back.
#include <gtest/gtest.h>

#include <filesystem>
#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/MdbPrueba.h"
#include "support/CarpetaTemporal.h"

namespace qavi::tools::prueba {

using qavi::prueba::TCarpetaTemporal;

using V = jet::TValorMdb;
using TFilas = std::vector<std::vector<V>>;

// All rows of a table through the project's reader; fails the test if it cannot be read.
inline TFilas LeeTabla(const std::filesystem::path& mdb, const std::string& tabla,
                       const std::vector<std::string>& columnas = {}) {
  TFilas filas;
  std::string error;
  auto archivo = jet::TArchivoMdb::Abre(mdb, error);
  EXPECT_TRUE(archivo) << error;
  if (!archivo) return filas;
  const bool ok = archivo->LeeFilas(
      tabla, columnas, [&](const std::vector<V>& v) { filas.push_back(v); }, error);
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
