#pragma once
// Several Jet files of one company read as one database: each table takes the rows of the files
// its rule names, keeps only each file's own company and makes each file's keys its own, so that
// the same statements run over the union of the files as over one file.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/jet/ValorMdb.h"

namespace qavi::jet {

class TArchivoMdb;
class TTablaMemoria;

struct TFuenteJet {
  std::filesystem::path ruta;
  std::int64_t empresa = 0;  // the company whose rows this file contributes
};

struct TReglaConsolidacion {
  std::string tabla;
  // Rows are kept where this column holds the file's company, and then hold the first file's
  // company. Empty: every row.
  std::string columnaEmpresa;
  // Columns whose values mean something only inside their own file (keys): each file's become
  // its own, so that equal keys of two files never meet.
  std::vector<std::string> claves;
};

// Tables without a rule are read from the first file alone.
struct TPlanConsolidacion {
  std::vector<TReglaConsolidacion> reglas;
  const TReglaConsolidacion* Regla(std::string_view tabla) const;
};

// A key of file `fuente` (1 = the first) among `total` files, as the consolidated tables hold it:
// a text carries the file's mark in front; a whole number n becomes n × total + fuente − 1, which
// keeps it a number and equal to the same number of the same file only. Null stays null.
void LocalizaClave(TValorMdb& valor, int fuente, int total);
// The same for a text key that a statement writes between quotes.
std::string ClaveLocalTexto(std::string_view clave, int fuente);

// Reads `tabla` from every file (`archivos[i]` is the file of `fuentes[i]`) into one memory table,
// with the first file's columns and spelling (`nombre`). False-y (null) and a readable Spanish
// reason naming the file when a file lacks the table or one of those columns.
std::shared_ptr<TTablaMemoria> LeeTablaConsolidada(const std::vector<const TArchivoMdb*>& archivos,
                                                   const std::vector<TFuenteJet>& fuentes,
                                                   const TPlanConsolidacion& plan, const std::string& tabla,
                                                   std::string& nombre, std::string& error);

}  // namespace qavi::jet
