// The rewrite passes the engine runs before it writes a statement: each keeps the statement's rows
// and changes what SQLite computes. Each case states the statement before and what is after.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "BaseJet.h"
#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/PasoClavesNumericas.h"
#include "db/jet/sql/PasoDerivadas.h"
#include "db/jet/sql/PasoPeriodos.h"

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
    return tabla;
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

}  // namespace
}  // namespace qavi::jet::prueba
