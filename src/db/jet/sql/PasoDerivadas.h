#pragma once
// Rewrite pass: derived tables replaced by tables that already hold their rows.
//
// Innermost first, each derived table in FROM is written out and offered to a materializer, which
// may answer with the name of a table holding the same rows in the same order (computing it now,
// or having done so for an earlier statement with the same text); the derived table then becomes
// a reference to that table under the same alias.
#include <optional>
#include <string>
#include <vector>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

struct TDerivadaOfrecida {
  // The SQLite text of the derived table, with the tables already kept inside it.
  const std::string& sql;
  // Every branch only filters and renames the columns of a single source, which costs no more to
  // read again than a copy would.
  bool trivial = false;
  // The table's text with nothing inside it kept: the same identity names the same rows in any
  // statement (IdentidadesDerivadas gives them ahead of time).
  const std::string& identidad;
};

class IMaterializador {
 public:
  virtual ~IMaterializador() = default;
  // The name of a table with the rows of the offered derived table in the same order, or nothing
  // to keep it inline.
  virtual std::optional<std::string> Materializa(const TDerivadaOfrecida& derivada) = 0;
};

void ReutilizaDerivadas(arbol::TSentencia& sentencia, IMaterializador& materializador);

// The identities of every derived table of the statement, innermost first, as the pass would
// offer them.
std::vector<std::string> IdentidadesDerivadas(arbol::TSentencia& sentencia);

}  // namespace qavi::jet
