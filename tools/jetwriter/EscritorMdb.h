#pragma once
// Writes a new Jet 4 (Access 2000) .mdb file as the Jet engine lays it out: the system tables
// (MSysObjects with its catalogue rows, MSysACEs with the default permissions, MSysQueries,
// MSysRelationships), table definitions with their column usage maps and terminator, data pages,
// long-value pages and usage maps. No indexes, relations, queries or forms.
// Rows stream to the file page by page, so a table of any size costs the memory of one page.
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "jetwriter/ValorJet.h"

namespace qavi::tools {

struct TOpcionesMdb {
  std::string password;          // database password (up to 20 characters); empty for none
  bool comprimeUnicode = true;   // Jet 4 compressed text wherever it is shorter
  double fechaCreacion = FechaOle(2016, 1, 4, 9, 30, 0);  // fixed so equal input gives equal files
};

// Where a row ends up, as Access leaves rows until the file is compacted.
enum class TComoFila {
  EnSuLugar,
  Desbordada,  // moved: its slot points to the row on another page of the table
  Borrada,     // deleted: the slot is marked and readers skip it
};

class TEscritorMdb {
 public:
  // Creates (or replaces) the file; on failure returns null and a Spanish reason in `error`.
  static std::unique_ptr<TEscritorMdb> Crea(const std::filesystem::path& ruta, const TOpcionesMdb& opciones,
                                            std::string& error);
  ~TEscritorMdb();  // closes the file if Cierra was not called; errors are then lost
  TEscritorMdb(const TEscritorMdb&) = delete;
  TEscritorMdb& operator=(const TEscritorMdb&) = delete;

  // Declares a user table; returns its handle for Fila, or -1 and `error`. Tables are listed in the
  // catalog in the order they are declared and may be filled interleaved.
  int Tabla(const std::string& nombre, const std::vector<TColumnaJet>& columnas, std::string& error);
  // Appends a row: one value per column (deleted ones included), in column order.
  bool Fila(int tabla, std::span<const TValorJet> valores, std::string& error,
            TComoFila como = TComoFila::EnSuLugar);
  bool Fila(int tabla, std::initializer_list<TValorJet> valores, std::string& error,
            TComoFila como = TComoFila::EnSuLugar) {
    return Fila(tabla, std::span<const TValorJet>(valores.begin(), valores.size()), error, como);
  }
  // Writes the table definitions, maps and catalog and closes the file. Nothing can be added after.
  bool Cierra(std::string& error);

 private:
  struct Impl;
  explicit TEscritorMdb(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace qavi::tools
