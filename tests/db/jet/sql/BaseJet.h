#pragma once
// A small Velmar-like database in memory, made the way the loader makes it (text columns with
// the Jet collation, Yes/No as -1/0, dates as OLE numbers), and a runner for Jet statements.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "common/FormatoNumero.h"
#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/sql/TraductorJet.h"

namespace qavi::jet::prueba {

// A cell as the query layer's text conversion writes it; null shown apart from empty text.
inline std::string TextoCelda(sqlite3_stmt* st, int c) {
  switch (sqlite3_column_type(st, c)) {
    case SQLITE_INTEGER: return FormatoNumero(static_cast<std::int64_t>(sqlite3_column_int64(st, c)));
    case SQLITE_FLOAT: return FormatoNumero(sqlite3_column_double(st, c));
    case SQLITE_NULL: return "(nulo)";
    default: return reinterpret_cast<const char*>(sqlite3_column_text(st, c));
  }
}

struct TResultado {
  bool ok = false;
  std::string error;                  // translation or SQLite error
  std::string sql;                    // what was run
  std::vector<std::string> columnas;  // column names
  std::vector<std::string> filas;     // each row's cells joined by "|"
};

class BaseJet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_TRUE(RegistraFunciones(db_));
    CreaDatos();
  }
  void TearDown() override { sqlite3_close(db_); }

  void Sql(const std::string& sql) {
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << "\n" << sql;
  }

  // Translates and runs a Jet statement.
  TResultado Ejecuta(const std::string& jet) {
    TResultado r;
    const TTraduccion t = TraduceSQL(jet);
    if (!t.ok) {
      r.error = t.error;
      return r;
    }
    r.sql = t.sql;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, t.sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      r.error = sqlite3_errmsg(db_);
      return r;
    }
    for (int c = 0; c < sqlite3_column_count(st); ++c) r.columnas.emplace_back(sqlite3_column_name(st, c));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      std::string fila;
      for (int c = 0; c < sqlite3_column_count(st); ++c) fila += (c ? "|" : "") + TextoCelda(st, c);
      r.filas.push_back(fila);
    }
    if (rc != SQLITE_DONE) r.error = sqlite3_errmsg(db_);
    else r.ok = true;
    sqlite3_finalize(st);
    return r;
  }

  sqlite3* db_ = nullptr;

 private:
  void CreaDatos() {
    const std::string T = " TEXT COLLATE JETNOCASE";
    Sql("CREATE TABLE tEmpresa (NumEmp INTEGER, Empresa" + T + ", RFC" + T + ", RegistroCC" + T + ")");
    Sql("INSERT INTO tEmpresa VALUES (1, 'CASA DE PRUEBA', 'CAP150101AB1', NULL)");

    Sql("CREATE TABLE tEmps (ClaveEmp" + T + ", Password" + T + ", Nivel INTEGER)");
    Sql("INSERT INTO tEmps VALUES ('ADMIN', '', 0), ('SUPERV', NULL, 0), ('CAJERO', 'caja', 3), "
        "('JOSÉ', 'clave', 0), ('O''NEIL', 'x', 0)");

    Sql("CREATE TABLE tDivisas (NumeroDivisa INTEGER, Simbolo" + T + ", Divisa" + T + ", Pagare INTEGER)");
    Sql("INSERT INTO tDivisas VALUES (1, 'USD', 'Dolar americano', 0), (2, 'EUR', 'Euro', 0), "
        "(4, 'M.N.', 'Moneda nacional', 0), (11, 'USD', 'Documentos en dolares', -1), "
        "(12, 'EUR', 'documentos en euros (España)', -1), (13, 'MXN', 'Documentos en pesos', -1)");

    Sql("CREATE TABLE tSector (ClaveSector INTEGER, Sector" + T + ", ClaveActividad" + T + ")");
    Sql("INSERT INTO tSector VALUES (10, 'Comercio', '4611001'), (20, 'Centro Cambiario', '9503005'), "
        "(50, 'Banca Multiple', '8100000'), (60, 'NO APLICA', '0000000')");

    Sql("CREATE TABLE tCliente (ClaveCliente" + T + ", Nombre" + T + ", ApellidoPaterno" + T + ", ApellidoMaterno" + T +
        ", PersonaMoral INTEGER, Extranjero INTEGER, ClaveSector INTEGER, NumEmp INTEGER)");
    Sql("INSERT INTO tCliente VALUES "
        "('C1', 'JUAN', 'PEREZ', 'LOPEZ', 0, 0, 10, 1), "
        "('C2', 'MARIA', 'GOMEZ', NULL, 0, -1, 10, 1), "       // foreign natural person
        "('C3', 'CAMBIOS DEL NORTE SA', NULL, NULL, -1, 0, 20, 1), "
        "('C4', 'PUBLICO EN GENERAL', NULL, NULL, 0, 0, 60, 1), "
        "('C5', 'BANCO UNO SA', NULL, NULL, -1, 0, 50, 1), "
        "('C6', 'Cliente Pep', NULL, NULL, 0, 0, 10, 1), "
        "('C7', 'SIN SECTOR', NULL, NULL, 0, 0, 99, 1), "      // sector missing: never classified
        "('C9', 'OTRA EMPRESA', NULL, NULL, 0, 0, 10, 2)");

    // Dates: 42005 = 01/01/2015, 42170 = 06/15/2015, 42369 = 12/31/2015, 42370 = 01/01/2016.
    const std::string ops = " (Tipo" + T + ", Folio INTEGER, Fecha REAL, NumeroDivisa INTEGER, Cotizacion REAL, "
                            "Cantidad REAL, ClaveCliente" + T + ", NumEmp INTEGER, Cancelado INTEGER)";
    Sql("CREATE TABLE tMovtos" + ops);
    Sql("INSERT INTO tMovtos VALUES "
        "('C', 1, 42005.0, 1, 17.0, 100.0, 'C1', 1, 0), "
        "('C', 2, 42170.0, 1, 17.0, 50.0, 'c1', 1, 0), "            // key in other case: still C1
        "('C', 3, 42170.0, 1, 17.0, 30.0, 'C2', 1, 0), "            // + tProces folio 3 = one operation
        "('C', 4, 42369.0, 1, 17.0, 20.0, 'C4', 1, 0), "            // 12/31/2015 00:00 counts
        "('C', 5, 42369.0 + 10.0 / 24, 1, 17.0, 999.0, 'C1', 1, 0), "  // 12/31/2015 10:00 does not
        "('C', 6, 42370.0, 1, 17.0, 999.0, 'C1', 1, 0), "           // 2016
        "('C', 7, 42170.0, 1, 17.0, 999.0, 'C1', 1, -1), "          // cancelled
        "('C', 8, 42170.0, 1, 17.0, 999.0, 'C1', 2, 0), "           // other company
        "('V', 9, 42170.0, 1, 17.5, 70.0, 'C3', 1, 0), "
        "('C', 10, 42170.0, 2, 20.0, 40.0, 'C1', 1, 0), "           // euros: 40 * 20 / 16 = 50 dollars
        "('C', 11, 42170.0, 11, 17.0, 10.0, 'C5', 1, 0), "          // dollar document: kept as is
        "('C', 12, 42170.0, 12, 20.0, 8.0, 'C5', 1, 0), "           // euro document: 10 dollars
        "('X', 13, 42170.0, 1, 17.0, 999.0, 'C1', 1, 0), "          // neither purchase nor sale
        "('C', 14, 42170.0, 1, 17.0, 5.0, 'C7', 1, 0), "
        "('C', 19, 42170.0, 12, 20.0, 4.0, 'C5', 1, 0)");          // euro document: 5 dollars
    Sql("CREATE TABLE tProces" + ops);
    Sql("INSERT INTO tProces VALUES "
        "('C', 3, 42170.0, 1, 17.0, 12.5, 'C2', 1, 0), "
        "('C', 15, 42170.0, 1, 17.0, 25.0, 'C4', 1, 0), "
        "('C', 16, 42170.0, 1, 17.0, 60.0, 'C6', 1, 0), "
        "('c', 17, 42170.0, 1, 17.0, 7.0, 'C6', 1, 0), "            // type in lower case is still a purchase
        "('C', 18, 42170.0, 1, 17.0, 3.0, 'C1', 1, 0)");

    Sql("CREATE TABLE tRelevan (TipoRelev" + T + ", Fecha REAL, Observaciones" + T +
        ", NumEmp INTEGER, ClaveCliente" + T + ")");
    Sql("INSERT INTO tRelevan VALUES "
        "('I', 42170.0, 'Cliente PEP identificado', 1, 'C6'), "
        "('I', 42171.0, 'otra vez pep', 1, 'C6'), "
        "('I', 42369.5, 'PEP', 1, 'C1'), "                         // 12/31/2015 at noon: outside
        "('I', 42170.0, 'sin observaciones', 1, 'C2'), "
        "('R', 42170.0, 'PEP', 1, 'C3'), "
        "('I', 42170.0, 'PEP', 2, 'C9')");

    Sql("CREATE TABLE tCompUsr (Usuario" + T + ")");

    Sql("CREATE TABLE tNums (Id INTEGER, R REAL, E INTEGER, T" + T + ")");
    Sql("INSERT INTO tNums VALUES (1, 10.5, 7, 'josé'), (2, 11.5, 2, 'JOSÉ'), (3, -2.5, -3, 'Ñandú'), "
        "(4, 2.5, 0, NULL), (5, NULL, NULL, '25')");

    Sql("CREATE TABLE \"tVarios\" (Id INTEGER, \"Nombre con blancos\"" + T + ")");
    Sql("INSERT INTO tVarios VALUES (1, 'beta'), (2, 'Alfa'), (3, 'éxito'), (4, 'Gama')");
  }
};

}  // namespace qavi::jet::prueba
