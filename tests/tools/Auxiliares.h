#pragma once
// Helpers shared by the tests of the writer tools: a scratch folder and reading a table back.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/Variante.h"

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

// A fresh folder under the system temporary folder, removed with everything in it at the end.
class TCarpetaTemporal {
 public:
  TCarpetaTemporal() {
    static std::atomic<int> contador{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string nombre = std::string("qavi_tools_") + (info ? info->name() : "x") + "_" +
                         std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                         std::to_string(contador++);
    for (char& c : nombre) {
      if (c == '/') c = '_';
    }
    ruta_ = std::filesystem::temp_directory_path() / nombre;
    std::filesystem::remove_all(ruta_);
    std::filesystem::create_directories(ruta_);
  }
  ~TCarpetaTemporal() {
    std::error_code ec;
    std::filesystem::remove_all(ruta_, ec);
  }
  const std::filesystem::path& Ruta() const { return ruta_; }
  std::filesystem::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

 private:
  std::filesystem::path ruta_;
};

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
