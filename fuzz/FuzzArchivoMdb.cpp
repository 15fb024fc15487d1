// Any bytes as a .mdb file: opening, listing and loading never crash, hang or write.
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "db/jet/ArchivoMdb.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/JetFunciones.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n) {
  static const auto ruta = std::filesystem::temp_directory_path() / ("qavi_fuzz_" + std::to_string(::getpid()) + ".mdb");
  {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(datos), static_cast<std::streamsize>(n));
  }
  std::string error;
  auto archivo = qavi::jet::TArchivoMdb::Abre(ruta, error);
  if (!archivo) return 0;
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  qavi::jet::RegistraFunciones(db);
  for (const auto& t : archivo->Tablas()) qavi::jet::CargaTabla(*archivo, db, t, {}, error);
  sqlite3_close(db);
  return 0;
}
