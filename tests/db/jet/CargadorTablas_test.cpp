#include "db/jet/CargadorTablas.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <limits>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/ConexionJet.h"
#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/MdbPrueba.h"
#include "jetwriter/VelmarFixture.h"

namespace {

using namespace qavi::jet;
using namespace qavi::prueba;
using qavi::tools::FechaOle;
using qavi::tools::Nulo;
using qavi::tools::TVelmarFixture;

using TFilas = std::vector<std::vector<std::string>>;

std::string Observacion() {
  std::string s;
  for (int i = 0; i < 3000; ++i) s += "Señalado como PEP " + std::to_string(i) + ". ";
  return s;
}

// Each case runs twice: tables copied into SQLite, and tables served from memory.
class CargadorTablasTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  void SetUp() override {
    TVelmarFixture f;
    f.Limpia("tCliente").Limpia("tCompUsr");
    f.Cliente({.clave = "C1", .nombre = "JUAN", .materno = Nulo});
    f.Cliente({.clave = "C2", .nombre = "JOSÉ", .paterno = "NÚÑEZ", .materno = "", .moral = true, .sector = Nulo});
    f.Movto({.folio = 7, .fecha = FechaOle(1899, 12, 29, 6), .cotizacion = 16.25, .cancelado = true});
    f.Relevan({.observaciones = Observacion()});
    ruta_ = dir_ / "Velmar.mdb";
    std::string error;
    ASSERT_TRUE(f.EscribeMdb(ruta_, &error)) << error;
    archivo_ = TArchivoMdb::Abre(ruta_, error);
    ASSERT_TRUE(archivo_) << error;
    conexion_ = TConexionJet::Abre(error);
    ASSERT_TRUE(conexion_) << error;
    db_ = conexion_->Db();
  }

  bool Carga(const std::string& tabla, const std::vector<std::string>& columnas = {}) {
    error_.clear();
    return CargaTabla(*archivo_, *conexion_, tabla, columnas, error_, GetParam());
  }

  // Rows of a query, each value as SQLite's quote() shows it (types stay visible).
  TFilas Consulta(const std::string& sql) {
    TFilas filas;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
      filas.emplace_back();
      for (int i = 0; i < sqlite3_column_count(st); ++i)
        filas.back().emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
    }
    sqlite3_finalize(st);
    return filas;
  }

  TCarpetaTemporal dir_;
  fs::path ruta_;
  std::unique_ptr<TArchivoMdb> archivo_;
  std::unique_ptr<TConexionJet> conexion_;
  sqlite3* db_ = nullptr;
  std::string error_;
  bool EnMemoria() const { return GetParam() == 0; }
};

INSTANTIATE_TEST_SUITE_P(Destinos, CargadorTablasTest, ::testing::Values(std::numeric_limits<std::size_t>::max(), 0),
                         [](const auto& info) { return info.param == 0 ? "EnMemoria" : "EnSQLite"; });

TEST_P(CargadorTablasTest, CreaLaTablaConTiposDeSQLiteYColacionJet) {
  ASSERT_TRUE(Carga("tCliente")) << error_;
  EXPECT_EQ(Consulta("SELECT name, type FROM pragma_table_info('tCliente')"),
            (TFilas{{"ClaveCliente", "TEXT"},
                    {"Nombre", "TEXT"},
                    {"ApellidoPaterno", "TEXT"},
                    {"ApellidoMaterno", "TEXT"},
                    {"PersonaMoral", "INTEGER"},
                    {"Extranjero", "INTEGER"},
                    {"ClaveSector", "INTEGER"},
                    {"NumEmp", "INTEGER"}}));
  if (!EnMemoria()) {
    const auto sql = Consulta("SELECT sql FROM sqlite_master WHERE name = 'tCliente'");
    ASSERT_EQ(sql.size(), 1u);
    EXPECT_NE(sql[0][0].find(std::string("\"Nombre\" TEXT COLLATE ") + kColacionJet), std::string::npos) << sql[0][0];
  }
  // The column carries the collation: '=', grouping and sorting ignore letter case.
  EXPECT_EQ(Consulta("SELECT ClaveCliente FROM tCliente WHERE Nombre = 'juan'"), (TFilas{{"C1"}}));
  EXPECT_EQ(Consulta("SELECT COUNT(*) FROM (SELECT Nombre FROM tCliente UNION SELECT 'josé')"), (TFilas{{"2"}}));
  // Affinity too: a text number compares with the integer column as a number.
  EXPECT_EQ(Consulta("SELECT ClaveCliente FROM tCliente WHERE ClaveSector = '1'"), (TFilas{{"C1"}}));
}

TEST_P(CargadorTablasTest, CargaLosValoresComoLosDaJet) {
  ASSERT_TRUE(Carga("tCliente")) << error_;
  EXPECT_EQ(Consulta("SELECT quote(ClaveCliente), quote(Nombre), quote(ApellidoPaterno), quote(ApellidoMaterno), "
                     "PersonaMoral, quote(ClaveSector) FROM tCliente ORDER BY rowid"),
            (TFilas{{"'C1'", "'JUAN'", "'PEREZ'", "NULL", "0", "1"}, {"'C2'", "'JOSÉ'", "'NÚÑEZ'", "''", "-1", "NULL"}}));
  ASSERT_TRUE(Carga("tMovtos")) << error_;
  EXPECT_EQ(Consulta("SELECT typeof(Fecha), Fecha, Cotizacion, Cancelado FROM tMovtos WHERE Folio = 7"),
            (TFilas{{"real", "-1.25", "16.25", "-1"}}));
  ASSERT_TRUE(Carga("tRelevan")) << error_;
  const auto memo = Consulta("SELECT Observaciones FROM tRelevan");
  ASSERT_EQ(memo.size(), 1u);
  EXPECT_EQ(memo[0][0], Observacion());
}

TEST_P(CargadorTablasTest, SoloLasColumnasPedidasConElNombreDelArchivo) {
  ASSERT_TRUE(Carga("TCLIENTE", {"nombre", "CLAVECLIENTE", "Nombre"})) << error_;
  EXPECT_EQ(Consulta("SELECT name FROM sqlite_master"), (TFilas{{"tCliente"}}));
  EXPECT_EQ(Consulta("SELECT name FROM pragma_table_info('tCliente')"), (TFilas{{"Nombre"}, {"ClaveCliente"}}));
  EXPECT_EQ(Consulta("SELECT * FROM tCliente ORDER BY rowid"), (TFilas{{"JUAN", "C1"}, {"JOSÉ", "C2"}}));
}

TEST_P(CargadorTablasTest, TablaOColumnaInexistenteNoDejaNada) {
  EXPECT_FALSE(Carga("tNoHay"));
  EXPECT_EQ(error_, "La tabla tNoHay no existe en la base de datos");
  EXPECT_FALSE(Carga("tCliente", {"Nombre", "Foo"}));
  EXPECT_EQ(error_, "La tabla tCliente no tiene la columna Foo");
  EXPECT_TRUE(Consulta("SELECT name FROM sqlite_master").empty());
}

TEST_P(CargadorTablasTest, TablaVaciaYSegundaCarga) {
  ASSERT_TRUE(Carga("tCompUsr")) << error_;
  EXPECT_EQ(Consulta("SELECT COUNT(*) FROM tCompUsr"), (TFilas{{"0"}}));
  ASSERT_TRUE(Carga("tEmps")) << error_;
  EXPECT_FALSE(Carga("tEmps"));
  EXPECT_FALSE(error_.empty());
  EXPECT_EQ(Consulta("SELECT ClaveEmp FROM tEmps"), (TFilas{{"ADMIN"}}));
}

TEST_P(CargadorTablasTest, ElArchivoQuedaIntacto) {
  archivo_.reset();
  fs::last_write_time(ruta_, fs::last_write_time(ruta_) - std::chrono::hours(24 * 400));
  const auto antes = TSelloArchivo::De(ruta_);
  {
    std::string error;
    auto a = TArchivoMdb::Abre(ruta_, error);
    ASSERT_TRUE(a) << error;
    for (const auto& t : a->Tablas()) {
      std::vector<TColumnaMdb> cols;
      EXPECT_TRUE(a->Columnas(t, cols, error)) << error;
      EXPECT_TRUE(a->LeeFilas(t, {}, [](const std::vector<TValorMdb>&) {}, error)) << error;
      EXPECT_TRUE(CargaTabla(*a, *conexion_, t, {}, error, GetParam())) << error;
    }
  }
  EXPECT_TRUE(TSelloArchivo::De(ruta_) == antes);
}

// Joins look rows up by value (a memory table builds a sorted index the first time); the rows
// found are the ones SQLite's own tables give, whatever the letter case or number type, and a
// value of another kind or a null finds what SQLite's comparison finds.
TEST_P(CargadorTablasTest, UnionesPorValor) {
  TVelmarFixture f;
  f.Limpia("tCliente");
  f.Cliente({.clave = "A1", .nombre = "UNO", .sector = 7});
  f.Cliente({.clave = "b2", .nombre = "DOS", .sector = Nulo});
  f.Cliente({.clave = "Ñ3", .nombre = "TRES", .sector = 16});
  f.Cliente({.clave = "a1", .nombre = "OTRO UNO", .sector = 7});
  f.Movto({.folio = 1, .divisa = 7, .cotizacion = 16.0, .cliente = "a1"});
  f.Movto({.folio = 2, .divisa = 8, .cotizacion = 16.5, .cliente = "B2"});
  f.Movto({.folio = 3, .divisa = 16, .cotizacion = 7.0, .cliente = "ñ3"});
  f.Movto({.folio = 4, .divisa = 9, .cotizacion = 1.0, .cliente = Nulo});
  f.Movto({.folio = 5, .divisa = 9, .cotizacion = 1.0, .cliente = "7"});  // a text that reads as a number
  archivo_.reset();
  std::string error;
  ASSERT_TRUE(f.EscribeMdb(ruta_, &error)) << error;
  archivo_ = TArchivoMdb::Abre(ruta_, error);
  ASSERT_TRUE(archivo_) << error;
  ASSERT_TRUE(Carga("tCliente")) << error_;
  ASSERT_TRUE(Carga("tMovtos")) << error_;
  const std::string desde = " FROM tMovtos m, tCliente c WHERE ";
  const std::string orden = " ORDER BY m.Folio, c.Nombre";
  struct {
    std::string condicion;
    TFilas filas;
  } casos[] = {
      {"c.ClaveCliente = m.ClaveCliente", {{"1", "OTRO UNO"}, {"1", "UNO"}, {"2", "DOS"}, {"3", "TRES"}}},
      {"c.ClaveSector = m.NumeroDivisa", {{"1", "OTRO UNO"}, {"1", "UNO"}, {"3", "TRES"}}},
      {"c.ClaveSector = m.Cotizacion", {{"1", "TRES"}, {"3", "OTRO UNO"}, {"3", "UNO"}}},
      {"c.Nombre = m.Tipo", {}},
      {"c.ClaveSector = m.ClaveCliente", {{"5", "OTRO UNO"}, {"5", "UNO"}}},
  };
  for (const auto& c : casos) {
    const auto sql = "SELECT m.Folio, c.Nombre" + desde + c.condicion + orden;
    EXPECT_EQ(Consulta(sql), c.filas) << c.condicion;
    if (EnMemoria()) {  // one table read whole, the other looked up
      const auto plan = Consulta("EXPLAIN QUERY PLAN " + sql);
      int recorridos = 0;
      for (const auto& paso : plan) recorridos += paso[3].find("VIRTUAL TABLE INDEX 0:") != std::string::npos;
      EXPECT_EQ(recorridos, 1) << c.condicion;
    }
  }
  // Filters by constants read the table in file order, as a SQLite table does: no index for them.
  for (const std::string filtro : {"ClaveCliente = 'ñ3' OR ClaveCliente = 'A1'", "ClaveCliente IN ('ñ3', 'A1')",
                                   "Folio = 3 OR Folio = 1"}) {
    const auto sql = "SELECT Folio FROM tMovtos WHERE " + filtro;
    EXPECT_EQ(Consulta(sql), (TFilas{{"1"}, {"3"}})) << filtro;
    if (EnMemoria()) {
      const auto plan = Consulta("EXPLAIN QUERY PLAN " + sql);
      ASSERT_EQ(plan.size(), 1u) << filtro;
      EXPECT_NE(plan[0][3].find("VIRTUAL TABLE INDEX 0:"), std::string::npos) << filtro << ": " << plan[0][3];
    }
  }
  // A deleted row is not found again.
  ASSERT_EQ(sqlite3_exec(db_, "DELETE FROM tCliente WHERE Nombre = 'UNO'", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(Consulta("SELECT m.Folio, c.Nombre" + desde + "c.ClaveCliente = m.ClaveCliente" + orden),
            (TFilas{{"1", "OTRO UNO"}, {"2", "DOS"}, {"3", "TRES"}}));
}

// A value the reader cannot decode (here a type Jet 4 does not define, and a memo whose long-value
// page is gone) fails only the statements that read it, naming table and column; the table loads,
// small as it is, and every other value reads.
TEST_P(CargadorTablasTest, ValorIlegibleSoloFallaLaSentenciaQueLoLee) {
  const std::string memo(1023, 'z');  // compressed, yet too long to stay in the row
  TVelmarFixture f = TVelmarFixture::SinFilas();
  f.AgregaTabla({"tFotos",
                 {{"Id", qavi::tools::TTipoJet::EnteroLargo}, {"Foto", qavi::tools::TTipoJet::Ole},
                  {"Obs", qavi::tools::TTipoJet::Memo}},
                 {{1, qavi::tools::TValorJet::Bytes("x"), "corta"}, {2, Nulo, memo}}});
  archivo_.reset();
  std::string error;
  ASSERT_TRUE(f.EscribeMdb(ruta_, &error)) << error;
  CambiaTipoColumna(ruta_, "Foto", 0x11);
  RompeValorLargo(ruta_, memo);
  archivo_ = TArchivoMdb::Abre(ruta_, error);
  ASSERT_TRUE(archivo_) << error;
  ASSERT_TRUE(Carga("tFotos")) << error_;
  EXPECT_EQ(Consulta("SELECT Id, quote(Obs) FROM tFotos WHERE Id = 1"), (TFilas{{"1", "'corta'"}}));
  EXPECT_EQ(Consulta("SELECT COUNT(*), COUNT(Foto IS NULL) FROM tFotos WHERE Id = 2"), (TFilas{{"1", "1"}}));
  const auto falla = [&](const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    std::string mensaje = rc == SQLITE_DONE ? "" : sqlite3_errmsg(db_);
    sqlite3_finalize(st);
    return mensaje;
  };
  EXPECT_EQ(falla("SELECT Foto FROM tFotos"),
            "No se puede leer la columna Foto de la tabla tFotos: su tipo de datos (0x11) no es de Jet 4");
  EXPECT_EQ(falla("SELECT MAX(Obs) FROM tFotos"),
            "No se puede leer la columna Obs de la tabla tFotos: el valor largo no se encuentra en el archivo");
}

// The engine's copy of a memory table loses rows to DELETE (the file never does); nothing else
// may change it.
TEST_P(CargadorTablasTest, SoloSeBorra) {
  ASSERT_TRUE(Carga("tCliente")) << error_;
  ASSERT_EQ(sqlite3_exec(db_, "DELETE FROM tCliente WHERE ClaveCliente = 'c1'", nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db_);
  EXPECT_EQ(Consulta("SELECT ClaveCliente FROM tCliente"), (TFilas{{"C2"}}));
  ASSERT_EQ(sqlite3_exec(db_, "DELETE FROM tCliente", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(Consulta("SELECT COUNT(*) FROM tCliente"), (TFilas{{"0"}}));
  if (EnMemoria()) {
    EXPECT_NE(sqlite3_exec(db_, "INSERT INTO tCliente (ClaveCliente) VALUES ('X')", nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(Consulta("SELECT COUNT(*) FROM tCliente"), (TFilas{{"0"}}));
  }
}

}  // namespace
