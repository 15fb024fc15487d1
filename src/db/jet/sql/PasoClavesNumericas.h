#pragma once
// Rewrite pass: a derived table groups by its number keys first.
//
// SQLite sorts numbers far faster than texts, and the order of the grouping keys changes only the
// order of the rows a derived table gives, never which rows. Each branch of a derived table's
// query with two or more keys is asked about: the keys whose declared type is INTEGER or REAL move
// to the front, each group keeping its written order. Without the declared types nothing moves.
#include <optional>
#include <string>
#include <vector>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

class IOraculoTipos {
 public:
  virtual ~IOraculoTipos() = default;
  // Declared types of the result columns of `sql` ("" where none), or nothing if it does not prepare.
  virtual std::optional<std::vector<std::string>> TiposDeclarados(const std::string& sql) = 0;
};

void OrdenaClavesNumericas(arbol::TSentencia& sentencia, IOraculoTipos& oraculo);

}  // namespace qavi::jet
