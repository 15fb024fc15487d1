#pragma once
// Writes a Jet syntax tree as SQLite SQL that gives Jet's results on a connection
// prepared with RegistraFunciones (db/jet/JetFunciones.h).
#include <optional>
#include <string>
#include <vector>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

// Where derived tables in FROM may be replaced by a table already holding their rows.
class IMaterializador {
 public:
  virtual ~IMaterializador() = default;
  // Given the SQLite text of a derived table, the name of a table with the same rows in the
  // same order, or nothing to keep it inline. `trivial`: every branch only filters and renames
  // the columns of a single source, which costs no more to read again than a copy would.
  virtual std::optional<std::string> Materializa(const std::string& sqlDerivada, bool trivial) = 0;
  // Declared types of the result columns of `sql` ("" where none), or nothing if it does not
  // prepare. With it, a derived table groups by its number keys first: SQLite sorts those far
  // faster than texts, and the order of grouping keys changes only the order of the rows.
  virtual std::optional<std::vector<std::string>> TiposDeclarados(const std::string& /*sql*/) {
    return std::nullopt;
  }
};

std::string EmiteSentencia(const arbol::TSentencia& sentencia, IMaterializador* materializador = nullptr);

}  // namespace qavi::jet
