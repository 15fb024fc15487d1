#pragma once
// Seeded, reproducible demonstration data for a Velmar installation folder.
#include <cstdint>
#include <filesystem>
#include <string>

namespace qavi::tools {

struct TOpcionesDemo {
  std::int64_t operaciones = 20000;
  int clientes = 500;
  std::uint64_t semilla = 2016;
  int empresa = 1;  // active company; a few rows belong to company empresa + 1
};

struct TResumenDemo {
  std::int64_t filasMovtos = 0;
  std::int64_t filasProces = 0;
  std::int64_t filasRelevan = 0;
  int clientes = 0;
  std::string administrador;  // key and password of the administrator in tEmps
  std::string password;
};

// Writes dir/DataBase/Velmar.mdb (database password "quibon") and dir/Velmar.INI.
// False and a Spanish reason in `error` on failure.
bool GeneraDemo(const std::filesystem::path& dir, const TOpcionesDemo& opciones, TResumenDemo& resumen,
                std::string& error);

}  // namespace qavi::tools
