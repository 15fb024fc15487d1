#pragma once
// Rewrite pass: derived tables replaced by tables that already hold their rows.
//
// Innermost first, each derived table in FROM is written out and offered to a materializer, which
// may answer with the name of a table holding the same rows in the same order (computing it now,
// or having done so for an earlier statement with the same text); the derived table then becomes
// a reference to that table under the same alias.
#include <optional>
#include <string>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

class IMaterializador {
 public:
  virtual ~IMaterializador() = default;
  // Given the SQLite text of a derived table, the name of a table with the same rows in the same
  // order, or nothing to keep it inline. `trivial`: every branch only filters and renames the
  // columns of a single source, which costs no more to read again than a copy would.
  virtual std::optional<std::string> Materializa(const std::string& sqlDerivada, bool trivial) = 0;
};

void ReutilizaDerivadas(arbol::TSentencia& sentencia, IMaterializador& materializador);

}  // namespace qavi::jet
