// Any bytes as a .mdb file: opening, listing, exporting and loading never crash, hang or write.
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "common/CitaSQL.h"
#include "db/jet/ArchivoMdb.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/ConexionJet.h"
#include "jet-exporta/ExportaJet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
  static const auto ruta = std::filesystem::temp_directory_path() / ("qavi_fuzz_" + std::to_string(::getpid()) + ".mdb");
  {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(datos), static_cast<std::streamsize>(n));
  }
  std::string error;
  auto archivo = qavi::jet::TArchivoMdb::Abre(ruta, error);
  if (!archivo) return 0;
  {
    std::ostringstream salida, errores;
    qavi::tools::ExportaJet(ruta, {}, salida, errores);
  }
  // Both destinations: SQLite tables, and memory tables (joined to themselves on each column, which
  // builds and searches their sorted indexes).
  for (const std::size_t filasParaMemoria : {static_cast<std::size_t>(-1), std::size_t{0}}) {
    auto conexion = qavi::jet::TConexionJet::Abre(error);
    if (!conexion) return 0;
    sqlite3* db = conexion->Db();
    for (const auto& t : archivo->Tablas()) {
      if (!qavi::jet::CargaTabla(*archivo, *conexion, t, {}, error, filasParaMemoria) || filasParaMemoria != 0) continue;
      const std::string tabla = qavi::CitaNombreSQL(t);
      sqlite3_stmt* cols = nullptr;
      sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?)", -1, &cols, nullptr);
      sqlite3_bind_text(cols, 1, t.c_str(), -1, SQLITE_TRANSIENT);
      while (cols && sqlite3_step(cols) == SQLITE_ROW) {
        const char* nombre = reinterpret_cast<const char*>(sqlite3_column_text(cols, 0));
        const std::string col = qavi::CitaNombreSQL(nombre ? nombre : "");
        const std::string sql = "SELECT 1 FROM " + tabla + " a, " + tabla + " b WHERE a." + col + " = b." + col + " LIMIT 10000";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
      }
      sqlite3_finalize(cols);
    }
  }
  return 0;
}
