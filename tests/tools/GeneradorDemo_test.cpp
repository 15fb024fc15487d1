// The demonstration folder: reproducible, and with the kinds of data the questionnaire classifies.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "Auxiliares.h"
#include "jetwriter/ValorJet.h"
#include "velmar-demo/GeneradorDemo.h"

namespace qavi::tools {
namespace {

using prueba::LeeTabla;
using prueba::TCarpetaTemporal;

std::string Lee(const std::filesystem::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TOpcionesDemo Pequena(std::uint64_t semilla) {
  TOpcionesDemo o;
  o.operaciones = 3000;
  o.clientes = 80;
  o.semilla = semilla;
  o.empresa = 3;
  return o;
}

TEST(GeneradorDemo, MismaSemillaMismoArchivoOtraSemillaOtro) {
  TCarpetaTemporal dir;
  TResumenDemo r;
  std::string error;
  ASSERT_TRUE(GeneraDemo(dir / "a", Pequena(11), r, error)) << error;
  ASSERT_TRUE(GeneraDemo(dir / "b", Pequena(11), r, error)) << error;
  ASSERT_TRUE(GeneraDemo(dir / "c", Pequena(12), r, error)) << error;
  const std::string a = Lee(dir / "a" / "DataBase" / "Velmar.mdb");
  EXPECT_FALSE(a.empty());
  EXPECT_EQ(a, Lee(dir / "b" / "DataBase" / "Velmar.mdb"));
  EXPECT_NE(a, Lee(dir / "c" / "DataBase" / "Velmar.mdb"));
}

class GeneradorDemoContenido : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TCarpetaTemporal;
    std::string error;
    ASSERT_TRUE(GeneraDemo(dir_->Ruta(), Pequena(7), resumen_, error)) << error;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::filesystem::path Mdb() { return dir_->Ruta() / "DataBase" / "Velmar.mdb"; }

  static inline TCarpetaTemporal* dir_ = nullptr;
  static inline TResumenDemo resumen_;
};

TEST_F(GeneradorDemoContenido, NueveTablasEIniConLaEmpresa) {
  EXPECT_EQ(prueba::Tablas(Mdb()), (std::vector<std::string>{"tEmpresa", "tEmps", "tCompUsr", "tDivisas", "tSector",
                                                             "tCliente", "tMovtos", "tProces", "tRelevan"}));
  EXPECT_NE(Lee(dir_->Ruta() / "Velmar.INI").find("[Control]\r\nEmpresaActiva=3\r\n"), std::string::npos);
  EXPECT_EQ(LeeTabla(Mdb(), "tEmpresa", {"NumEmp"}).front()[0], prueba::V::Entero(3));
  EXPECT_TRUE(LeeTabla(Mdb(), "tCompUsr").empty());
}

TEST_F(GeneradorDemoContenido, AdministradorYOtroUsuario) {
  EXPECT_EQ(resumen_.administrador, "ADMIN");
  EXPECT_EQ(resumen_.password, "DEMO");
  bool admin = false, otro = false;
  for (const auto& f : LeeTabla(Mdb(), "tEmps", {"ClaveEmp", "Password", "Nivel"})) {
    if (f[0].bytes == "ADMIN" && f[1].bytes == "DEMO" && f[2].entero == 0) admin = true;
    if (f[2].entero != 0) otro = true;
  }
  EXPECT_TRUE(admin);
  EXPECT_TRUE(otro);
}

TEST_F(GeneradorDemoContenido, DivisasEfectivoDocumentosYPesos) {
  std::set<std::tuple<std::string, std::int64_t>> vistas;
  for (const auto& f : LeeTabla(Mdb(), "tDivisas", {"Simbolo", "Pagare"})) vistas.insert({f[0].bytes, f[1].entero});
  for (const auto& esperada : {std::tuple<std::string, std::int64_t>{"USD", 0}, {"USD", -1}, {"EUR", 0}, {"EUR", -1},
                               {"M.N.", 0}, {"CAD", 0}, {"GBP", 0}, {"JPY", 0}, {"CHF", 0}}) {
    EXPECT_TRUE(vistas.count(esperada)) << std::get<0>(esperada) << " " << std::get<1>(esperada);
  }
}

TEST_F(GeneradorDemoContenido, SectoresConLasActividadesQueSeClasifican) {
  std::set<std::string> actividades, sectores;
  for (const auto& f : LeeTabla(Mdb(), "tSector", {"Sector", "ClaveActividad"})) {
    sectores.insert(f[0].bytes);
    actividades.insert(f[1].bytes);
  }
  for (const char* a : {"9503005", "6999992", "8123094", "9911018", "8219025", "8100000"}) {
    EXPECT_TRUE(actividades.count(a)) << a;
  }
  EXPECT_TRUE(sectores.count("NO APLICA"));
  EXPECT_GT(actividades.size(), 10u);
}

TEST_F(GeneradorDemoContenido, ClientesDeTodasLasClases) {
  const auto clientes =
      LeeTabla(Mdb(), "tCliente", {"ClaveCliente", "Nombre", "PersonaMoral", "Extranjero", "ClaveSector"});
  ASSERT_EQ(clientes.size(), 80u);
  int publico = 0, morales = 0, extranjeros = 0;
  std::set<std::int64_t> sectores;
  for (const auto& c : clientes) {
    publico += c[1].bytes.find("PUBLICO") != std::string::npos;
    morales += c[2].entero != 0;
    extranjeros += c[3].entero != 0;
    sectores.insert(c[4].entero);
  }
  EXPECT_GE(publico, 1);
  EXPECT_GT(morales, 3);
  EXPECT_GT(extranjeros, 1);
  EXPECT_GT(sectores.size(), 5u);
}

// Each operation is a group of equal Tipo, Folio, Fecha, currency, quote and client over both tables.
TEST_F(GeneradorDemoContenido, OperacionesRepartidasYAgrupables) {
  using TClave = std::tuple<std::string, std::int64_t, double, std::int64_t, double, std::string>;
  std::map<TClave, int> grupos;
  std::map<std::string, int> tipos;
  int canceladas = 0, otraEmpresa = 0, filas = 0;
  std::set<std::int64_t> divisas;
  const double desde = Fecha(2014, 1, 1), hasta = Fecha(2017, 1, 1);
  for (const char* tabla : {"tMovtos", "tProces"}) {
    const auto ops = LeeTabla(Mdb(), tabla);
    EXPECT_GT(ops.size(), 300u) << tabla;
    for (const auto& o : ops) {
      ++filas;
      ++grupos[{o[0].bytes, o[1].entero, o[2].real, o[3].entero, o[4].real, o[6].bytes}];
      ++tipos[o[0].bytes];
      divisas.insert(o[3].entero);
      canceladas += o[8].entero != 0;
      otraEmpresa += o[7].entero != 3;
      EXPECT_GE(o[2].real, desde);
      EXPECT_LT(o[2].real, hasta);
      EXPECT_GT(o[5].real, 0.0);
    }
  }
  EXPECT_EQ(grupos.size(), 3000u);
  EXPECT_EQ(filas, resumen_.filasMovtos + resumen_.filasProces);
  int dobles = 0;
  for (const auto& [clave, n] : grupos) dobles += n == 2;
  EXPECT_GT(dobles, 0);
  EXPECT_GT(tipos["C"], 1000);
  EXPECT_GT(tipos["V"], 1000);
  EXPECT_GT(canceladas, 0);
  EXPECT_GT(otraEmpresa, 0);
  EXPECT_GT(divisas.size(), 5u);
}

TEST_F(GeneradorDemoContenido, ReportesRelevantesCon2015YPep) {
  const auto reportes = LeeTabla(Mdb(), "tRelevan", {"TipoRelev", "Fecha", "Observaciones"});
  ASSERT_GE(reportes.size(), 15u);
  int i = 0, de2015 = 0, pep = 0;
  std::size_t largo = 0;
  for (const auto& r : reportes) {
    i += r[0].bytes == "I";
    de2015 += r[1].real >= Fecha(2015, 1, 1) && r[1].real < Fecha(2016, 1, 1);
    pep += r[2].bytes.find("PEP") != std::string::npos || r[2].bytes.find("pep") != std::string::npos;
    largo = std::max(largo, r[2].bytes.size());
  }
  EXPECT_GT(i, 0);
  EXPECT_GT(de2015 * 2, static_cast<int>(reportes.size()));
  EXPECT_GT(pep, 0);
  EXPECT_GT(largo, 4096u);  // at least one observation kept in long-value pages
}

TEST(GeneradorDemo, OpcionesInvalidas) {
  TCarpetaTemporal dir;
  TResumenDemo r;
  std::string error;
  TOpcionesDemo o;
  o.clientes = 0;
  EXPECT_FALSE(GeneraDemo(dir.Ruta(), o, r, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace qavi::tools
