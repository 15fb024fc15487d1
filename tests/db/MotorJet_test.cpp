// The engine's reuse of derived tables within one snapshot of the file.
#include <gtest/gtest.h>

#include "common/FormatoNumero.h"
#include "db/jet/MotorJet.h"
#include "jetwriter/VelmarFixture.h"
#include "support/CarpetaTemporal.h"

namespace qavi::jet {
namespace {

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
    TResultadoJet r;
    std::string error;
    EXPECT_TRUE(m.Consulta(sql, r, error)) << error;
    if (r.filas.empty()) return "<sin filas>";
    const TValorMdb& v = r.filas[0][0];
    return v.clase == TValorMdb::Clase::Entero ? FormatoNumero(v.entero)
           : v.clase == TValorMdb::Clase::Doble ? FormatoNumero(v.real)
                                                : v.bytes;
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
  auto rapido = TMotorJet::Abre(mdb, error);
  ASSERT_TRUE(rapido) << error;
  auto escrito = TMotorJet::Abre(mdb, error, {.reutilizaDerivadas = false});
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

// Small tables are SQLite tables, large ones are served from memory; a threshold of 0 rows takes
// every table the second way.
class MotorJetDestinos : public MotorJetTest, public ::testing::WithParamInterface<std::size_t> {
 protected:
  std::shared_ptr<TMotorJet> Abre(std::string& error) {
    return TMotorJet::Abre(mdb, error, {.filasParaMemoria = GetParam()});
  }
};
INSTANTIATE_TEST_SUITE_P(Tablas, MotorJetDestinos, ::testing::Values(TOpcionesMotorJet{}.filasParaMemoria, 0),
                         [](const auto& info) { return info.param == 0 ? "EnMemoria" : "EnSQLite"; });

TEST_P(MotorJetDestinos, BorrarORecargarDescartaLoGuardado) {
  std::string error;
  auto m = Abre(error);
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
  auto m = Abre(error);
  ASSERT_TRUE(m) << error;
  TResultadoJet r;
  EXPECT_FALSE(m->Consulta("SELECT COUNT(1) FROM tMovtos, tNoExiste, tProces, tCliente", r, error));
  EXPECT_EQ(error, "La tabla tNoExiste no existe en la base de datos");
  EXPECT_EQ(Valor(*m, kSuma), "17.5");
}

// A batch announced ahead: a derived table only one statement uses stays inline, one several
// use is kept until the last of them has run and then dropped; the rows are those without the
// plan, and a statement out of turn is served as without it.
TEST_F(MotorJetTest, UnLoteAnunciadoGuardaSoloLoQueSeRepite) {
  std::string error;
  auto m = TMotorJet::Abre(mdb, error, {.adelantaLote = false});
  ASSERT_TRUE(m) << error;
  const std::string unica =
      "SELECT COUNT(1) AS R FROM (SELECT Folio, COUNT(1) AS N FROM tMovtos GROUP BY Folio) AS t WHERE t.N > 0";
  m->Anticipa({kSuma, unica, kCuenta});
  EXPECT_EQ(Valor(*m, kSuma), "17.5");
  EXPECT_EQ(m->DerivadasGuardadas(), 1u) << "the grouping both kSuma and kCuenta read";
  EXPECT_EQ(Valor(*m, unica), "2");
  EXPECT_EQ(m->DerivadasGuardadas(), 1u) << "nothing kept for a table one statement reads";
  EXPECT_EQ(Valor(*m, kCuenta), "1");
  EXPECT_EQ(m->DerivadasGuardadas(), 0u) << "dropped after its last statement";
  EXPECT_EQ(Valor(*m, kSuma), "17.5");  // out of the batch: kept as always
  EXPECT_EQ(m->DerivadasGuardadas(), 1u);
}

// An announced batch is also answered from its end on a connection of its own: every statement
// gives the rows it gives when one connection runs them all, errors included, and a statement out
// of turn or a batch left half-way changes nothing.
TEST_F(MotorJetTest, LoAdelantadoDesdeElFinalDaLasMismasFilas) {
  const std::vector<std::string> lote = {
      kSuma,
      kCuenta,
      "SELECT COUNT(1) AS R FROM (SELECT Folio, COUNT(1) AS N FROM tMovtos GROUP BY Folio) AS t WHERE t.N > 0",
      "SELECT SUM(AuxCant) AS R FROM (SELECT Folio, SUM(Cantidad) AS AuxCant FROM tProces GROUP BY Folio) AS x",
      "SELECT COUNT(1) AS R FROM tNoExiste",
      kCuenta,
      kSuma,
  };
  std::string error;
  auto uno = TMotorJet::Abre(mdb, error, {.adelantaLote = false});
  auto dos = TMotorJet::Abre(mdb, error);
  ASSERT_TRUE(uno && dos) << error;
  uno->Anticipa(lote);
  dos->Anticipa(lote);
  for (const auto& sql : lote) {
    TResultadoJet a, b;
    std::string ea, eb;
    EXPECT_EQ(uno->Consulta(sql, a, ea), dos->Consulta(sql, b, eb)) << sql;
    EXPECT_EQ(ea, eb) << sql;
    EXPECT_EQ(a.columnas, b.columnas) << sql;
    EXPECT_EQ(a.filas, b.filas) << sql;
  }
  // Half-way: the next run announces its own batch, or none.
  dos->Anticipa(lote);
  EXPECT_EQ(Valor(*dos, kSuma), "17.5");
  dos->Anticipa(lote);
  EXPECT_EQ(Valor(*dos, "SELECT COUNT(1) AS R FROM tMovtos"), "2");
  EXPECT_EQ(Valor(*dos, kCuenta), "1");
}

// Jet takes any spelling of a table's name for the same table, accented letters too; each spelling
// must reach the one table loaded from the file.
TEST_P(MotorJetDestinos, UnaTablaConCualquierEscritura) {
  std::string error;
  auto m = Abre(error);
  ASSERT_TRUE(m) << error;
  const struct {
    const char* sql;
    const char* esperado;
  } casos[] = {
      {"SELECT COUNT(*) AS N FROM tMovtos AS a, TMOVTOS AS b", "4"},
      {"SELECT COUNT(*) AS N FROM TMOVTOS", "2"},
      {"SELECT COUNT(*) AS N FROM tmovtos AS a INNER JOIN tMovtos AS b ON a.Folio = b.Folio", "2"},
      {"SELECT COUNT(*) AS N FROM tCliente, TCLIENTE AS c2, [tcliente] AS c3", "8"},
  };
  for (const auto& c : casos) EXPECT_EQ(Valor(*m, c.sql), c.esperado) << c.sql;
}

// Currency amounts are added and rounded exactly, as Jet does, whichever way the engine runs: the
// derived tables kept or as written, tables in SQLite or in memory, a batch answered from both ends,
// its end on a second connection. 25 amounts of 0.1 add up to 2.5 (ROUND gives 2), not to the
// 2.500000000000001 of reals (3). Several files read as one take the first file's types.
TEST_F(MotorJetTest, MonedaSumadaYRedondeadaExactaEnCadaCamino) {
  const auto escribe = [&](const char* nombre, tools::TTipoJet tipo, int filas = 25) {
    tools::TVelmarFixture f;
    for (int i = 1; i <= filas; ++i) f.Movto({.folio = i, .cantidad = 0.1});
    for (auto& c : f.Tabla("tMovtos")->columnas)
      if (c.nombre == "Cantidad") c.tipo = tipo;
    const auto ruta = dir.Ruta() / nombre;
    EXPECT_TRUE(f.EscribeMdb(ruta));
    return ruta;
  };
  const auto moneda = escribe("Moneda.mdb", tools::TTipoJet::Moneda);
  const auto doble = escribe("Doble.mdb", tools::TTipoJet::Doble);
  const auto moneda15 = escribe("Moneda15.mdb", tools::TTipoJet::Moneda, 15);
  const auto doble10 = escribe("Doble10.mdb", tools::TTipoJet::Doble, 10);
  const TPlanConsolidacion plan{{{"tMovtos", "NumEmp", {"Folio"}}}};
  const std::string suma = "SELECT ROUND(SUM(Cantidad)) AS R FROM tMovtos";
  const std::string derivada =
      "SELECT ROUND(SUM(S)) AS R FROM (SELECT Tipo, SUM(Cantidad) AS S FROM tMovtos GROUP BY Tipo) AS t";
  const struct {
    const char* nombre;
    TOpcionesMotorJet opciones;
  } caminos[] = {{"como corre", {}},
                 {"como se escribe", {.reutilizaDerivadas = false}},
                 {"en memoria", {.filasParaMemoria = 0}},
                 {"un hilo", {.adelantaLote = false}}};
  for (const auto& c : caminos) {
    SCOPED_TRACE(c.nombre);
    std::string error;
    for (const auto& [ruta, esperado] : {std::pair{moneda, "2"}, std::pair{doble, "3"}}) {
      auto m = TMotorJet::Abre(ruta, error, c.opciones);
      ASSERT_TRUE(m) << error;
      m->Anticipa({suma, derivada, suma, derivada});  // its end may run ahead
      for (int vuelta = 0; vuelta < 2; ++vuelta) {
        EXPECT_EQ(Valor(*m, suma), esperado) << ruta;
        EXPECT_EQ(Valor(*m, derivada), esperado) << ruta;
      }
    }
    // 15 rows of the first file and 10 of the second: the first file's type is the table's.
    for (const auto& [fuentes, esperado] :
         {std::pair{std::vector<TFuenteJet>{{moneda15, 1}, {doble10, 1}}, "2"},
          std::pair{std::vector<TFuenteJet>{{doble10, 1}, {moneda15, 1}}, "3"}}) {
      auto consolidado = TMotorJet::AbreConsolidado(fuentes, plan, error, c.opciones);
      ASSERT_TRUE(consolidado) << error;
      EXPECT_EQ(Valor(*consolidado, "SELECT COUNT(1) AS N FROM tMovtos"), "25");
      EXPECT_EQ(Valor(*consolidado, suma), esperado) << fuentes[0].ruta;
    }
  }
}

}  // namespace
}  // namespace qavi::jet
