// Jet's date literals and the functions registered on SQLite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/sql/FechaJet.h"
#include "BaseJet.h"

namespace qavi::jet {
namespace {

using ::testing::HasSubstr;

TEST(FechaJet, LiteralesDeFecha) {
  struct TCaso {
    const char* texto;
    double valor;
  };
  const std::vector<TCaso> casos = {
      {"12/30/1899", 0},
      {"01/01/2015", 42005},
      {"12/31/2015", 42369},
      {"1/2/1900 12:00:00", 3.5},
      {"12/31/2015 18:00", 42369.75},
      {"12/31/2015 6:00 PM", 42369.75},
      {"12/31/2015 12:00 AM", 42369},
      {"2015-12-31", 42369},
      {"02/29/2016", 42429},
      {"12/29/1899 06:00:00", -1.25},  // before the base day the time still adds forward
      {"12:00:00", 0.5},
      {"1/1/15", 42005},
      {"1/1/99", 36161},
  };
  for (const auto& c : casos) {
    double v = -9999;
    EXPECT_TRUE(FechaOle(c.texto, v)) << c.texto;
    EXPECT_DOUBLE_EQ(v, c.valor) << c.texto;
  }
  for (const char* malo : {"", "13/01/2015", "02/29/2015", "04/31/2015", "12/31/2015 24:00:00", "12/31/2015 10:60",
                           "12/31/2015 13:00 PM", "12/31", "hoy", "12-31/2015", "12/31/2015 x", "123/1/2015",
                           "1/1/10000", "00/10/2015", "10/00/2015"}) {
    double v;
    EXPECT_FALSE(FechaOle(malo, v)) << malo;
  }
}

// ---------------------------------------------------------------------------------------------
// The same rules as SQLite sees them once registered.
// ---------------------------------------------------------------------------------------------
class FuncionesJet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_TRUE(RegistraFunciones(db_));
  }
  void TearDown() override { sqlite3_close(db_); }

  // First row, cells joined by "|"; or "ERROR: " and SQLite's message.
  std::string Valor(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return "ERROR: " + std::string(sqlite3_errmsg(db_));
    std::string r;
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
      for (int c = 0; c < sqlite3_column_count(st); ++c) r += (c ? "|" : "") + prueba::TextoCelda(st, c);
    else if (rc != SQLITE_DONE) r = "ERROR: " + std::string(sqlite3_errmsg(db_));
    sqlite3_finalize(st);
    return r;
  }

  sqlite3* db_ = nullptr;
};

TEST_F(FuncionesJet, FuncionesRegistradas) {
  struct TCaso {
    const char* sql;
    const char* esperado;
  };
  const std::vector<TCaso> casos = {
      // ROUND: halves to even; integers unchanged; null stays null; numeric text is a number.
      {"SELECT jet_round(10.5), jet_round(11.5), jet_round(-2.5), jet_round(2.5)", "10|12|-2|2"},
      {"SELECT jet_round(NULL), jet_round(7), typeof(jet_round(7)), jet_round(' 3.5 ')", "(nulo)|7|integer|4"},
      {"SELECT jet_round(0.125, 2), jet_round(2.5, NULL)", "0.12|(nulo)"},
      {"SELECT jet_round('abc')", "ERROR: Los tipos de datos no coinciden en la expresión"},
      {"SELECT jet_round(1.5, -1)", "ERROR: Argumento no válido en ROUND"},
      // STR
      {"SELECT jet_str(25), jet_str(-3), jet_str(2.5), jet_str(0), jet_str(NULL), jet_str('7'), jet_str(100.0)",
       " 25|-3| 2.5| 0|(nulo)| 7| 100"},
      {"SELECT jet_str('siete')", "ERROR: Los tipos de datos no coinciden en la expresión"},
      // UCASE / LCASE
      {"SELECT jet_ucase('josé ñandú'), jet_lcase('ÉXITO'), jet_ucase(NULL), jet_ucase(2.0)", "JOSÉ ÑANDÚ|éxito|(nulo)|2"},
      // + folded left to right over its operands.
      {"SELECT jet_suma('a', 'b', 'c'), jet_suma(1, 2.5), jet_suma('1', 2), jet_suma('1', '2'), jet_suma(1, NULL, 'x')",
       "abc|3.5|3|12|(nulo)"},
      {"SELECT jet_suma(' 25 ', 1), jet_suma(1, 2, 3), typeof(jet_suma(1, 2))", "26|6|integer"},
      {"SELECT jet_suma(9223372036854775807, 1) > 9.2e18", "1"},  // overflow goes real, not negative
      {"SELECT jet_suma('abc', 1)", "ERROR: Los tipos de datos no coinciden en la expresión"},
      {"SELECT jet_suma(1, 'abc')", "ERROR: Los tipos de datos no coinciden en la expresión"},
      {"SELECT jet_suma(1, 2, 'x')", "ERROR: Los tipos de datos no coinciden en la expresión"},
      // &
      {"SELECT jet_concat('a', NULL, 1.5, 2), jet_concat(NULL, NULL)", "a1.52|(nulo)"},
      // /
      {"SELECT jet_div(7, 2), jet_div(NULL, 2), jet_div(1, NULL), jet_div('9', 2)", "3.5|(nulo)|(nulo)|4.5"},
      {"SELECT jet_div(1, 0)", "ERROR: División entre cero"},
      // Currency and Decimal, exact: the reals nearest to values of so many decimals, computed on
      // those values; halves to even; whole numbers at any scale; a null gives null.
      {"SELECT jet_mas_exacto(0.1, 0.2, 4) = 0.3, 0.1 + 0.2 = 0.3, jet_menos_exacto(0.3, 0.1, 4) = 0.2", "1|0|1"},
      {"SELECT jet_mas_exacto(2, 0.25, 2), jet_mas_exacto(NULL, 1, 4), jet_mas_exacto(0.00004, 0.00004, 4)",
       "2.25|(nulo)|0"},  // a real beside Currency is Currency first: 0.00004 is 0
      {"SELECT jet_por_exacto(1.2345, 1.2345, 4, 4, 4), jet_por_exacto(0.5, 0.0001, 4, 4, 4), "
       "jet_por_exacto(1.5, 0.0001, 4, 4, 4), jet_por_exacto(0.1, 3, 2, 0, 2)",
       "1.524|0|0.0002|0.3"},
      {"SELECT jet_redondea_exacto(2.5, 4), jet_redondea_exacto(3.5, 4), jet_redondea_exacto(-2.5, 4), "
       "jet_redondea_exacto(2.500000000000001, 4), jet_round(2.500000000000001)",
       "2|4|-2|2|3"},
      {"SELECT jet_redondea_exacto(0.125, 4, 2), jet_redondea_exacto(0.135, 4, 2), jet_redondea_exacto(1.2345, 4, 6), "
       "jet_redondea_exacto(NULL, 4), jet_redondea_exacto(2.5, 4, NULL), jet_redondea_exacto(7, 0)",
       "0.12|0.14|1.2345|(nulo)|(nulo)|7"},
      {"SELECT jet_redondea_exacto('x', 4)", "ERROR: Los tipos de datos no coinciden en la expresión"},
      {"SELECT jet_redondea_exacto(1.5, 4, -1)", "ERROR: Argumento no válido en ROUND"},
      // Beyond what a real tells apart (2^53 units), in reals as without them.
      {"SELECT jet_mas_exacto(1e300, 1, 4) = 1e300, jet_redondea_exacto(1e15 + 0.5, 4) = jet_round(1e15 + 0.5)", "1|1"},
      {"SELECT jet_suma_exacta(x, 4) = 0.6, SUM(x) = 0.6, jet_promedio_exacto(x, 4) = 0.2, COUNT(x) FROM "
       "(SELECT 0.1 AS x UNION ALL SELECT 0.2 UNION ALL SELECT 0.3 UNION ALL SELECT NULL)",
       "1|0|1|3"},
      {"SELECT jet_suma_exacta(x, 4), jet_promedio_exacto(x, 4) FROM (SELECT 1.0 AS x) WHERE x > 1", "(nulo)|(nulo)"},
      {"SELECT jet_suma_exacta(x, 4) FROM (SELECT 'a' AS x)", "ERROR: Los tipos de datos no coinciden en la expresión"},
      {"SELECT jet_suma_exacta(x, 4) = 4.5e15 + 1 FROM (SELECT 4.5e15 AS x UNION ALL SELECT 1)", "1"},
      // LIKE and the collation
      {"SELECT 'Cliente PEP' LIKE '%pep%', 'Ñandú' LIKE 'ñ%', NULL LIKE '%', 'x' LIKE NULL, 25 LIKE '2_'", "1|1|(nulo)|(nulo)|1"},
      {"SELECT 'josé' = 'JOSÉ' COLLATE JETNOCASE, 'josé' = 'JOSÉ', 'e' < 'é' COLLATE JETNOCASE, 'é' < 'F' COLLATE JETNOCASE",
       "1|0|1|1"},
  };
  for (const auto& c : casos) EXPECT_EQ(Valor(c.sql), c.esperado) << c.sql;
}

TEST_F(FuncionesJet, ColacionAgrupaYOrdena) {
  ASSERT_EQ(sqlite3_exec(db_,
                         "CREATE TABLE t (x TEXT COLLATE JETNOCASE);"
                         "INSERT INTO t VALUES ('éxito'), ('Exito'), ('EXITO'), ('b'), ('A'), ('exito '), ('f');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  EXPECT_EQ(Valor("SELECT COUNT(DISTINCT x) FROM t"), "6");  // Exito = EXITO; éxito and 'exito ' differ
  EXPECT_EQ(Valor("SELECT group_concat(x, ',') FROM (SELECT x FROM t WHERE x <> 'exito' ORDER BY x)"),
            "A,b,éxito,exito ,f");
}

TEST_F(FuncionesJet, NombreMalEscritoEsError) {
  ASSERT_EQ(sqlite3_exec(db_, "CREATE TABLE t (x INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
  // Double quotes name a column; a misspelt one must not turn into a text.
  EXPECT_THAT(Valor("SELECT \"y\" FROM t"), HasSubstr("no such column"));
  EXPECT_FALSE(RegistraFunciones(nullptr));
}

}  // namespace
}  // namespace qavi::jet
