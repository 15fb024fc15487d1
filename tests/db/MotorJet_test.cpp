// The engine's reuse of derived tables within one snapshot of the file.
#include <gtest/gtest.h>

#include <cstdlib>

#include "db/jet/MotorJet.h"
#include "jetwriter/VelmarFixture.h"
#include "support/CarpetaTemporal.h"

namespace qavi::jet {
namespace {

// Sets (or, with an empty value, clears) one of the engine's variables for the engines opened next.
void FijaVariable(const char* nombre, const std::string& valor) {
#ifdef _WIN32
  _putenv_s(nombre, valor.c_str());
#else
  if (!valor.empty())
    setenv(nombre, valor.c_str(), 1);
  else
    unsetenv(nombre);
#endif
}
void FijaSinCache(bool activo) { FijaVariable("QAVI_SIN_CACHE", activo ? "1" : ""); }

class MotorJetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::TVelmarFixture f;
    f.Cliente({.clave = "C1"});
    f.Cliente({.clave = "c2", .nombre = "ANA"});
    f.Movto({.folio = 1, .cantidad = 10.0});
    f.Movto({.folio = 2, .cantidad = 5.0, .cliente = "C2"});
    f.Proces({.folio = 1, .cantidad = 2.5});
    mdb = dir.Ruta() / "V.mdb";
    ASSERT_TRUE(f.EscribeMdb(mdb));
  }
  std::string Valor(TMotorJet& m, const std::string& sql) {
    TResultadoConsulta r;
    std::string error;
    EXPECT_TRUE(m.Consulta(sql, r, error)) << error;
    return r.filas.empty() ? "<sin filas>" : r.filas[0][0].ComoTexto();
  }
  prueba::TCarpetaTemporal dir;
  std::filesystem::path mdb;
};

// The grouping is computed once and shared by the next statement; the plain renaming selections
// (the union and the clients) stay inline, as reading them again costs no more than a copy.
const char* kSuma =
    "SELECT SUM(AuxCant) AS R FROM (SELECT Folio, SUM(Cantidad) AS AuxCant, ClaveCliente AS CvC FROM (SELECT Folio, "
    "Cantidad, ClaveCliente FROM tMovtos UNION ALL SELECT Folio, Cantidad, ClaveCliente FROM tProces) GROUP BY Folio, "
    "ClaveCliente) AS tOps, (SELECT ClaveCliente AS K, Nombre FROM tCliente WHERE NumEmp = 1) AS tC WHERE tOps.CvC = "
    "tC.K";
const char* kCuenta =
    "SELECT COUNT(1) AS R FROM (SELECT Folio, SUM(Cantidad) AS AuxCant, ClaveCliente AS CvC FROM (SELECT Folio, "
    "Cantidad, ClaveCliente FROM tMovtos UNION ALL SELECT Folio, Cantidad, ClaveCliente FROM tProces) GROUP BY Folio, "
    "ClaveCliente) AS tOps, (SELECT ClaveCliente AS K, Nombre FROM tCliente WHERE NumEmp = 1) AS tC WHERE tOps.CvC = "
    "tC.K AND tOps.AuxCant > 6";

TEST_F(MotorJetTest, ReutilizaLasDerivadasYDaLoMismoQueSinReutilizar) {
  std::string error;
  FijaSinCache(false);
  auto rapido = TMotorJet::Abre(mdb, error);
  ASSERT_TRUE(rapido) << error;
  FijaSinCache(true);
  auto escrito = TMotorJet::Abre(mdb, error);
  FijaSinCache(false);
  ASSERT_TRUE(escrito) << error;

  EXPECT_EQ(Valor(*rapido, kSuma), "17.5");  // 'C2' joins 'c2' without regard to case
  const auto guardadas = rapido->DerivadasGuardadas();
  EXPECT_EQ(guardadas, 1u);
  EXPECT_EQ(Valor(*rapido, kCuenta), "1");
  EXPECT_EQ(rapido->DerivadasGuardadas(), guardadas) << "the same texts reuse what was computed";
  EXPECT_EQ(Valor(*escrito, kSuma), "17.5");
  EXPECT_EQ(Valor(*escrito, kCuenta), "1");
  EXPECT_EQ(escrito->DerivadasGuardadas(), 0u);
}

// Small tables are SQLite tables, large ones are served from memory; QAVI_FILAS_MEMORIA=0 takes
// every table the second way.
class MotorJetDestinos : public MotorJetTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    MotorJetTest::SetUp();
    FijaVariable("QAVI_FILAS_MEMORIA", GetParam());
  }
  void TearDown() override { FijaVariable("QAVI_FILAS_MEMORIA", ""); }
};
INSTANTIATE_TEST_SUITE_P(Tablas, MotorJetDestinos, ::testing::Values("", "0"),
                         [](const auto& info) { return info.param.empty() ? "EnSQLite" : "EnMemoria"; });

TEST_P(MotorJetDestinos, BorrarORecargarDescartaLoGuardado) {
  std::string error;
  auto m = TMotorJet::Abre(mdb, error);
  ASSERT_TRUE(m) << error;
  EXPECT_EQ(Valor(*m, kSuma), "17.5");
  ASSERT_TRUE(m->Ejecuta("DELETE * FROM tProces", error)) << error;
  EXPECT_EQ(m->DerivadasGuardadas(), 0u);
  EXPECT_EQ(Valor(*m, kSuma), "15");

  tools::TVelmarFixture otra;
  otra.Cliente({.clave = "C1"});
  otra.Movto({.folio = 1, .cantidad = 1.0});
  ASSERT_TRUE(otra.EscribeMdb(mdb));
  std::filesystem::last_write_time(mdb, std::filesystem::last_write_time(mdb) + std::chrono::seconds(5));
  EXPECT_EQ(Valor(*m, kSuma), "1");
  EXPECT_EQ(m->Cargas(), 2);
}

// The tables of a statement are read side by side; a missing one is reported by name, whichever
// reader met it, and leaves the engine usable.
TEST_P(MotorJetDestinos, TablaFaltanteEntreVariasSeNombra) {
  std::string error;
  auto m = TMotorJet::Abre(mdb, error);
  ASSERT_TRUE(m) << error;
  TResultadoConsulta r;
  EXPECT_FALSE(m->Consulta("SELECT COUNT(1) FROM tMovtos, tNoExiste, tProces, tCliente", r, error));
  EXPECT_EQ(error, "La tabla tNoExiste no existe en la base de datos");
  EXPECT_EQ(Valor(*m, kSuma), "17.5");
}

}  // namespace
}  // namespace qavi::jet
