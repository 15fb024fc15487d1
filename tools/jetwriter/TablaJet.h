#pragma once
// A whole table stated as data, and the one call that writes a file from such tables.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "jetwriter/EscritorMdb.h"
#include "jetwriter/ValorJet.h"

namespace qavi::tools {

struct TTablaJet {
  std::string nombre;
  std::vector<TColumnaJet> columnas;
  std::vector<std::vector<TValorJet>> filas;  // one value per column; Nulo where null
  // Rows (by index in `filas`) that Access left moved to another page or deleted.
  std::set<std::size_t> desbordadas{};
  std::set<std::size_t> borradas{};
};

// Writes the tables, in this order, into a new file (parent folders are created).
// False and a Spanish reason in `error` on failure.
bool EscribeMdb(const std::filesystem::path& ruta, const std::vector<TTablaJet>& tablas, const TOpcionesMdb& opciones,
                std::string& error);

}  // namespace qavi::tools
