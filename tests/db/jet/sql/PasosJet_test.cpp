// The rewrite passes the engine runs before it writes a statement: each keeps the statement's rows
// and changes what SQLite computes. Each case states the statement before and what is after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BaseJet.h"
#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/PasoDerivadas.h"
#include "db/jet/sql/PasoPeriodos.h"
#include "db/jet/sql/PasoTiposExactos.h"

namespace qavi::jet::prueba {
namespace {

using ::testing::ElementsAre;

class PasosJet : public BaseJet {};

// The engine's path without derived tables kept: periods inside, number keys first.
TTraduccion ComoElMotor(const std::string& jet, IOraculoTipos& oraculo) {
  TTraduccion r;
  TAnalisisJet a = AnalizaJet(jet);
  r.error = a.error;
  if (!a.ok) return r;
  EmpujaPeriodos(a.sentencia);
  OrdenaClavesNumericas(a.sentencia, oraculo);
  r.sql = EmiteSentencia(a.sentencia);
  r.ok = true;
  return r;
}

// Answers for declared types as the engine does.
struct TOraculoSondeo : IOraculoTipos {
  explicit TOraculoSondeo(sqlite3* base) : db(base) {}
  sqlite3* db;
  bool conTipos = true;
  std::optional<std::vector<std::string>> TiposDeclarados(const std::string& sql) override {
    if (!conTipos) return std::nullopt;
    return TiposDeclaradosSqlite(db, sql);
  }
};

// Rows of SQLite text as Ejecuta writes them.
std::vector<std::string> FilasSqlite(sqlite3* db, const std::string& sql) {
  std::vector<std::string> filas;
  sqlite3_stmt* st = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db) << "\n" << sql;
  while (st && sqlite3_step(st) == SQLITE_ROW) {
    std::string fila;
    for (int c = 0; c < sqlite3_column_count(st); ++c) fila += (c ? "|" : "") + TextoCelda(st, c);
    filas.push_back(fila);
  }
  sqlite3_finalize(st);
  return filas;
}

// A derived table about to be materialized groups by its number keys first (SQLite sorts them far
// faster); the rows are the same. The statement's own grouping and anything without the declared
// types keep the written order.
TEST_F(PasosJet, DerivadaAgrupaPrimeroPorNumeros) {
  TOraculoSondeo m(db_);
  const std::string interna =
      "SELECT Tipo, Folio, ClaveCliente AS Cv, Fecha, SUM(Cantidad) AS S FROM (SELECT * FROM tMovtos UNION ALL "
      "SELECT * FROM tProces) GROUP BY Tipo, Folio, ClaveCliente, Fecha";
  const std::string jet = "SELECT Tipo, COUNT(1) AS N FROM (" + interna + ") GROUP BY Tipo, Cv";
  const TTraduccion t = ComoElMotor(jet, m);
  ASSERT_TRUE(t.ok) << t.error;
  EXPECT_NE(t.sql.find(R"(GROUP BY "Folio", "Fecha", "Tipo", "ClaveCliente")"), std::string::npos) << t.sql;
  EXPECT_NE(t.sql.find(R"(GROUP BY "Tipo", "Cv")"), std::string::npos) << t.sql;
  EXPECT_EQ(Ejecuta(jet).filas, FilasSqlite(db_, t.sql));
  m.conTipos = false;
  const TTraduccion sinTipos = ComoElMotor(jet, m);
  EXPECT_NE(sinTipos.sql.find(R"(GROUP BY "Tipo", "Folio", "ClaveCliente", "Fecha")"), std::string::npos)
      << sinTipos.sql;
}

// On the engine's path a period around a derived table is applied inside it too, so the rows it
// materializes are the period's only; equalities, aggregates, outer joins and '*' are left outside.
// Either way the statement gives the same rows.
TEST_F(PasosJet, PeriodoDentroDeLaDerivada) {
  TOraculoSondeo m(db_);
  const std::string ops =
      "(SELECT Tipo, Folio, Fecha, SUM(Cantidad) AS S FROM (SELECT * FROM tMovtos UNION ALL SELECT * FROM tProces) "
      "GROUP BY Tipo, Folio, Fecha) AS t";
  const std::string periodo = R"("tProces") WHERE "Fecha" >= 42005.0 AND "Fecha" <= 42369.0 GROUP BY)";
  const struct {
    std::string jet;
    std::string adentro;  // what the grouping's WHERE reads; empty: nothing goes inside
  } casos[] = {
      {"SELECT COUNT(1) AS N FROM " + ops + " WHERE t.Fecha >= #01/01/2015# AND t.Fecha <= #12/31/2015#", periodo},
      {"SELECT SUM(S) AS X FROM " + ops + " WHERE t.Tipo = 'C' AND #12/31/2015# >= t.Fecha AND t.Fecha >= #01/01/2015#",
       R"("tProces") WHERE 42369.0 >= "Fecha" AND "Fecha" >= 42005.0 GROUP BY)"},
      {"SELECT COUNT(1) AS N FROM " + ops + " WHERE t.Fecha BETWEEN #01/01/2015# AND #12/31/2015#",
       R"("tProces") WHERE "Fecha" BETWEEN 42005.0 AND 42369.0 GROUP BY)"},
      {"SELECT COUNT(1) AS N FROM " + ops + " WHERE t.Tipo = 'C'", ""},
      {"SELECT COUNT(1) AS N FROM " + ops + " WHERE t.S >= 100", ""},
      {"SELECT COUNT(1) AS N FROM tEmpresa LEFT JOIN " + ops +
           " ON tEmpresa.NumEmp = t.Folio WHERE t.Fecha >= #01/01/2015# AND t.Fecha <= #12/31/2015#",
       ""},
      {"SELECT COUNT(1) AS N FROM (SELECT * FROM tMovtos) AS t WHERE t.Fecha >= #01/01/2015# AND t.Fecha <= "
       "#12/31/2015#",
       ""},
  };
  for (const auto& c : casos) {
    const TTraduccion t = ComoElMotor(c.jet, m);
    ASSERT_TRUE(t.ok) << t.error;
    if (c.adentro.empty())  // the period, if any, is written once: outside
      EXPECT_EQ(t.sql.find("42005.0"), t.sql.rfind("42005.0")) << c.jet << "\n" << t.sql;
    else
      EXPECT_NE(t.sql.find(c.adentro), std::string::npos) << c.jet << "\n" << t.sql;
    EXPECT_EQ(FilasSqlite(db_, t.sql), Ejecuta(c.jet).filas) << c.jet;
  }
}

// A period found in one SELECT goes into its own derived tables only, one level down; a deeper
// table is filtered by its own WHERE as written.
TEST_F(PasosJet, PeriodoBajaUnSoloNivel) {
  TOraculoSondeo m(db_);
  m.conTipos = false;
  const std::string jet =
      "SELECT COUNT(1) AS N FROM (SELECT x.Fecha AS F, x.Folio FROM (SELECT Fecha, Folio FROM tMovtos) AS x "
      "WHERE x.Fecha <= #12/31/2015#) AS t WHERE t.F >= #01/01/2015#";
  const TTraduccion t = ComoElMotor(jet, m);
  ASSERT_TRUE(t.ok) << t.error;
  EXPECT_NE(t.sql.find(R"(FROM "tMovtos" WHERE "Fecha" <= 42369.0) AS "x" WHERE "x"."Fecha" <= 42369.0 AND )"
                       R"("x"."Fecha" >= 42005.0)"),
            std::string::npos)
      << t.sql;
  EXPECT_EQ(FilasSqlite(db_, t.sql), Ejecuta(jet).filas);
}

// Keeps what it is offered in temporary tables of the test database, as the engine does.
struct TMaterializadorPrueba : IMaterializador {
  explicit TMaterializadorPrueba(sqlite3* base) : db(base) {}
  sqlite3* db;
  std::vector<std::string> ofrecidas;  // texts offered, in order, "*" marking the trivial ones
  std::vector<std::string> identidades;
  std::optional<std::string> Materializa(const TDerivadaOfrecida& d) override {
    const std::string& sql = d.sql;
    ofrecidas.push_back((d.trivial ? "*" : "") + sql);
    identidades.push_back(d.identidad);
    if (d.trivial) return std::nullopt;
    const std::string tabla = "m" + std::to_string(ofrecidas.size());
    const std::string crea = "CREATE TEMP TABLE " + tabla + " AS " + sql;
    EXPECT_EQ(sqlite3_exec(db, crea.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    guardadas[d.identidad] = tabla;
    return tabla;
  }
  std::map<std::string, std::string> guardadas;  // identity -> table
  std::optional<std::string> Guardada(const std::string& identidad) override {
    const auto it = guardadas.find(identidad);
    return it == guardadas.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
};

// Derived tables innermost first, each offered as the text it would have inline (with the
// tables already kept inside it); a kept one becomes a table under the same alias, a trivial one
// (only renaming or filtering one source) stays inline. The rows are those of the statement.
TEST_F(PasosJet, DerivadasGuardadasSeLeenComoTablas) {
  const struct {
    std::string jet;
    std::vector<std::string> ofrecidas;
    std::string despues;  // a piece of the statement that runs
  } casos[] = {
      {"SELECT SUM(S) AS X FROM (SELECT Folio, SUM(Cantidad) AS S FROM tMovtos GROUP BY Folio) AS t WHERE t.S > 20",
       {R"(SELECT "Folio", SUM("Cantidad") AS "S" FROM "tMovtos" GROUP BY "Folio")"},
       R"(SELECT SUM("S") AS "X" FROM "m1" AS "t" WHERE "t"."S" > 20)"},
      {"SELECT COUNT(1) AS N FROM (SELECT q.Cv, COUNT(1) AS K FROM (SELECT ClaveCliente AS Cv FROM tMovtos) AS q "
       "GROUP BY q.Cv) AS g",
       {R"(*SELECT "ClaveCliente" AS "Cv" FROM "tMovtos")",
        R"(SELECT "q"."Cv", COUNT(1) AS "K" FROM (SELECT "ClaveCliente" AS "Cv" FROM "tMovtos") AS "q" GROUP BY "q"."Cv")"},
       R"(FROM "m2" AS "g")"},
      {"SELECT COUNT(1) AS N FROM (SELECT DISTINCT Tipo FROM (SELECT Tipo FROM tMovtos WHERE Folio > 3) AS a) AS b",
       {R"(*SELECT "Tipo" FROM "tMovtos" WHERE "Folio" > 3)", R"(SELECT DISTINCT "Tipo" FROM (SELECT "Tipo" FROM "tMovtos" WHERE "Folio" > 3) AS "a")"},
       R"(FROM "m2" AS "b")"},
      {"SELECT Id FROM tNums WHERE Id IN (SELECT MAX(Id) AS M FROM (SELECT Id FROM tVarios GROUP BY Id) AS v)",
       {R"(SELECT "Id" FROM "tVarios" GROUP BY "Id")"}, R"(IN (SELECT MAX("Id") COLLATE JETNOCASE AS "M" FROM "m1" AS "v"))"},
  };
  for (const auto& c : casos) {
    TMaterializadorPrueba m(db_);
    TAnalisisJet a = AnalizaJet(c.jet);
    ASSERT_TRUE(a.ok) << a.error;
    ReutilizaDerivadas(a.sentencia, m);
    const std::string sql = EmiteSentencia(a.sentencia);
    EXPECT_EQ(m.ofrecidas, c.ofrecidas) << c.jet;
    EXPECT_NE(sql.find(c.despues), std::string::npos) << sql;
    EXPECT_EQ(FilasSqlite(db_, sql), Ejecuta(c.jet).filas) << c.jet;
    for (std::size_t i = 1; i <= m.ofrecidas.size(); ++i)
      Sql("DROP TABLE IF EXISTS temp.m" + std::to_string(i));
  }
}

// A statement whose outer derived table is already kept reads it: what is written inside it is
// neither offered again nor computed; each derived table knows the one it is written in.
TEST_F(PasosJet, DerivadaGuardadaNoOfreceLasDeDentro) {
  const std::string jet =
      "SELECT COUNT(1) AS N FROM (SELECT q.Cv, COUNT(1) AS K FROM (SELECT ClaveCliente AS Cv, COUNT(1) AS C "
      "FROM tMovtos GROUP BY ClaveCliente) AS q GROUP BY q.Cv) AS g";
  TAnalisisJet a = AnalizaJet(jet);
  ASSERT_TRUE(a.ok) << a.error;
  const auto leidas = DerivadasLeidas(a.sentencia);
  ASSERT_EQ(leidas.size(), 2u);
  EXPECT_EQ(leidas[0].dentro, std::optional<std::size_t>(1));
  EXPECT_EQ(leidas[1].dentro, std::nullopt);
  EXPECT_FALSE(leidas[0].trivial);

  TMaterializadorPrueba m(db_);
  ReutilizaDerivadas(a.sentencia, m);
  ASSERT_EQ(m.ofrecidas.size(), 2u);
  TAnalisisJet otra = AnalizaJet(jet);
  ReutilizaDerivadas(otra.sentencia, m);
  EXPECT_EQ(m.ofrecidas.size(), 2u) << m.ofrecidas.back();
  const std::string sql = EmiteSentencia(otra.sentencia);
  EXPECT_NE(sql.find(R"(FROM "m2" AS "g")"), std::string::npos) << sql;
  EXPECT_EQ(FilasSqlite(db_, sql), Ejecuta(jet).filas);
  Sql("DROP TABLE IF EXISTS temp.m1");
  Sql("DROP TABLE IF EXISTS temp.m2");
}

// The Jet types of the test tables' columns, as the engine's catalogue gives them.
struct TCatalogoPrueba : ICatalogoTipos {
  std::map<std::string, std::vector<TColumnaTipada>> tablas;
  const std::vector<TColumnaTipada>* Columnas(const std::string& tabla) const override {
    const auto it = tablas.find(tabla);
    return it == tablas.end() ? nullptr : &it->second;
  }
};

// Amounts where a sum of reals and the exact sum part: 25 rows of 0.1 add up to 2.5 exactly but
// to 2.500000000000001 in reals, which ROUND takes to 3 instead of 2.
class PasoTiposExactos : public PasosJet {
 protected:
  void SetUp() override {
    PasosJet::SetUp();
    Sql("CREATE TABLE tMontos (Folio INTEGER, Cantidad REAL, Cot REAL, Dec REAL, Precio REAL)");
    for (int i = 1; i <= 25; ++i)
      Sql("INSERT INTO tMontos VALUES (" + std::to_string(i) + ", 0.1, 16.0, 0.1, " + (i == 1 ? "1.2345" : "NULL") + ")");
    using C = TClaseValor;
    catalogo.tablas["tMontos"] = {{"Folio", {C::Entero}},
                                  {"Cantidad", {C::Moneda, 4}},
                                  {"Cot", {C::Doble}},
                                  {"Dec", {C::Decimal, 2}},
                                  {"Precio", {C::Moneda, 4}}};
    catalogo.tablas["tNums"] = {{"Id", {C::Entero}}, {"R", {C::Doble}}, {"E", {C::Entero}}, {"T", {}}};
  }

  TTraduccion Exacta(const std::string& jet) {
    TTraduccion r;
    TAnalisisJet a = AnalizaJet(jet);
    r.error = a.error;
    if (!a.ok) return r;
    CalculaTiposExactos(a.sentencia, catalogo);
    r.sql = EmiteSentencia(a.sentencia);
    r.ok = true;
    return r;
  }

  TCatalogoPrueba catalogo;
};

// Each case: the statement, a piece of what it becomes (empty: exactly as written), its first
// row as Jet gives it and as the statement written gives it in reals.
TEST_F(PasoTiposExactos, LoQueJetCalculaExactoSeReescribe) {
  const struct {
    std::string jet, despues, jetDa, comoSeEscribe;
  } casos[] = {
      // SUM and ROUND of Currency: exact, halves to even.
      {"SELECT ROUND(SUM(Cantidad)) AS X FROM tMontos", R"(jet_redondea_exacto(jet_suma_exacta("Cantidad", 4), 4))", "2",
       "3"},
      {"SELECT SUM(Cantidad) = 2.5 AS X FROM tMontos", R"(jet_suma_exacta("Cantidad", 4) = 2.5)", "-1", "0"},
      {"SELECT ROUND(SUM(Cantidad), 1) AS X FROM tMontos WHERE Folio <= 15",
       R"(jet_redondea_exacto(jet_suma_exacta("Cantidad", 4), 4, 1))", "1.5", "1.5"},
      // The type goes through derived tables, '*', aliases and UNION branches that agree.
      {"SELECT ROUND(SUM(X)) AS R FROM (SELECT Cantidad AS X FROM tMontos WHERE Folio <= 10 UNION ALL SELECT "
       "Cantidad FROM tMontos WHERE Folio > 10) AS u",
       R"(jet_suma_exacta("X", 4))", "2", "3"},
      {"SELECT ROUND(SUM(t.Cantidad)) AS X FROM (SELECT * FROM tMontos) AS t", R"(jet_suma_exacta("t"."Cantidad", 4))",
       "2", "3"},
      {"SELECT ROUND(SUM(a.Cantidad)) AS X FROM tMontos AS a INNER JOIN tNums AS n ON a.Folio = n.Id",
       R"(jet_suma_exacta("a"."Cantidad", 4))", "0", "0"},
      {"SELECT COUNT(1) AS X FROM tNums WHERE Id <= (SELECT ROUND(SUM(Cantidad)) FROM tMontos)",
       R"((SELECT jet_redondea_exacto(jet_suma_exacta("Cantidad", 4), 4) AS "Expr1000")", "2", "3"},
      // IIF of Currency and a whole number (or null) is Currency; beside a Double nothing is known.
      {"SELECT ROUND(SUM(IIF(Folio > 0, Cantidad, 0))) AS X FROM tMontos",
       R"(jet_suma_exacta(CASE WHEN "Folio" > 0 THEN "Cantidad" ELSE 0 END, 4))", "2", "3"},
      {"SELECT ROUND(SUM(IIF(Folio > 0, Cantidad, Cot))) AS X FROM tMontos", "", "3", "3"},
      {"SELECT ROUND(SUM(X)) AS R FROM (SELECT Cantidad AS X FROM tMontos UNION ALL SELECT Cot FROM tMontos WHERE "
       "Folio = 0) AS u",
       "", "3", "3"},
      // + and - of Currency beside anything numeric are Currency; * beside a Double is a Double;
      // / is a Double.
      {"SELECT Cantidad + Cantidad + Cantidad = 0.3 AS X FROM tMontos WHERE Folio = 1",
       R"(jet_mas_exacto(jet_mas_exacto("Cantidad", "Cantidad", 4), "Cantidad", 4) = 0.3)", "-1", "0"},
      {"SELECT Cantidad - Cot AS X FROM tMontos WHERE Folio = 1", R"(jet_menos_exacto("Cantidad", "Cot", 4))", "-15.9",
       "-15.9"},
      {"SELECT Precio * Precio AS X FROM tMontos WHERE Folio = 1", R"(jet_por_exacto("Precio", "Precio", 4, 4, 4))",
       "1.524", "1.52399025"},
      {"SELECT ROUND(SUM(Cantidad * 3)) AS X FROM tMontos", R"(jet_por_exacto("Cantidad", 3, 4, 0, 4))", "8", "7"},
      {"SELECT ROUND(SUM(Cantidad * Cot) / 16) AS X FROM tMontos", "", "3", "3"},
      {"SELECT ROUND(SUM(Cantidad) / 25 * 25) AS X FROM tMontos", R"(jet_div(jet_suma_exacta("Cantidad", 4), 25) * 25)",
       "2", "3"},
      // AVG of Currency: the exact sum over the count, a Double.
      {"SELECT ROUND(AVG(Cantidad) * 25) AS X FROM tMontos", R"(jet_promedio_exacto("Cantidad", 4) * 25)", "2", "3"},
      // Decimal: sums, + and * exact at the decimals they carry; beside a Double, in reals.
      {"SELECT ROUND(SUM(Dec)) AS X FROM tMontos", R"(jet_suma_exacta("Dec", 2))", "2", "3"},
      {"SELECT Dec + Cantidad AS X FROM tMontos WHERE Folio = 1", R"(jet_mas_exacto("Dec", "Cantidad", 4))", "0.2",
       "0.2"},
      {"SELECT ROUND(SUM(Dec * 1.5), 2) AS X FROM tMontos", R"(jet_suma_exacta(jet_por_exacto("Dec", 1.5, 2, 1, 3), 3))",
       "3.75", "3.75"},
      {"SELECT ROUND(SUM(Dec * Cot) / 16) AS X FROM tMontos", "", "3", "3"},
      // Comparisons read the same real Jet compares.
      {"SELECT COUNT(1) AS X FROM tMontos WHERE Cantidad = 0.1 AND Dec < 0.11", "", "25", "25"},
      // Tables without Currency or Decimal: exactly as written.
      {"SELECT ROUND(SUM(R * 1.5)) AS X, SUM(E) + 0.5 AS Y FROM tNums", "", "33|6.5", "33|6.5"},
  };
  for (const auto& c : casos) {
    const TTraduccion escrita = TraduceSQL(c.jet);
    const TTraduccion t = Exacta(c.jet);
    ASSERT_TRUE(t.ok && escrita.ok) << t.error;
    if (c.despues.empty())
      EXPECT_EQ(t.sql, escrita.sql) << c.jet;
    else
      EXPECT_NE(t.sql.find(c.despues), std::string::npos) << c.jet << "\n" << t.sql;
    EXPECT_THAT(FilasSqlite(db_, t.sql), ElementsAre(c.jetDa)) << c.jet << "\n" << t.sql;
    EXPECT_THAT(Ejecuta(c.jet).filas, ElementsAre(c.comoSeEscribe)) << c.jet;
  }
}

}  // namespace
}  // namespace qavi::jet::prueba
