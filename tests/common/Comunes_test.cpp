#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/ArchivoIni.h"
#include "common/BoolPersist.h"

namespace qavi {
namespace {

TEST(BoolPersist, NoVuelveAlValorInicial) {
  TBoolPersist b(true);
  b.Valor(true);
  EXPECT_TRUE(b.Valor());
  b.Valor(false);
  EXPECT_FALSE(b.Valor());
  b.Valor(true);
  EXPECT_FALSE(b.Valor()) << "once false, a run's success flag stays false";

  TBoolPersist c(false);
  c.Valor(true);
  c.Valor(false);
  EXPECT_TRUE(c.Valor());
}

TEST(ArchivoIni, EmpresaActiva) {
  struct Caso {
    const char* texto;
    long long esperado;
  } casos[] = {
      {"[Control]\nEmpresaActiva=3\n", 3},
      {"[general]\nSucursal=3\n\n[CONTROL]\r\nempresaactiva = 7\r\n", 7},  // case and CR LF
      {"[Control]\nEmpresaActiva=0\n", 0},
      {"[Control]\nEmpresaActiva=-2\n", -2},
      {"[Control]\nEmpresaActiva=abc\n", 0},
      {"[Control]\nEmpresaActiva=12abc\n", 0},
      {"[Control]\nEmpresaActiva=\n", 0},
      {"[Control]\nOtra=5\n", 0},
      {"[Otra]\nEmpresaActiva=5\n", 0},
      {"\xEF\xBB\xBF[Control]\nEmpresaActiva=4\n", 4},  // UTF-8 mark before the first section
      {"[Control]\n; EmpresaActiva=9\nEmpresaActiva=2\n", 2},
  };
  for (const auto& c : casos) {
    std::string t = c.texto;
    if (t.rfind("\xEF\xBB\xBF", 0) == 0) {
      // DeTexto takes text as read; the file reader strips the mark.
      auto ruta = std::filesystem::temp_directory_path() / "qavi_ini_bom.ini";
      { std::ofstream(ruta, std::ios::binary) << t; }
      EXPECT_EQ(TArchivoIni(ruta).LeeEntero("Control", "EmpresaActiva", 0), c.esperado);
      std::filesystem::remove(ruta);
      continue;
    }
    EXPECT_EQ(TArchivoIni::DeTexto(t).LeeEntero("Control", "EmpresaActiva", 0), c.esperado) << c.texto;
  }
}

TEST(ArchivoIni, ArchivoFaltanteEsVacio) {
  TArchivoIni ini(std::filesystem::temp_directory_path() / "no-existe-qavi.ini");
  EXPECT_FALSE(ini.LeeTexto("Control", "EmpresaActiva").has_value());
}

}  // namespace
}  // namespace qavi
