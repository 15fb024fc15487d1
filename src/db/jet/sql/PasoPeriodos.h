#pragma once
// Rewrite pass: a period around a derived table is applied inside it as well.
//
// Range comparisons (<, <=, >, >=, BETWEEN) of a derived table's plain column with constants in
// the WHERE around it are also ANDed into that table's own WHERE, so that a table materialized
// once serves every statement over the same period with that period's rows only, not all time.
// Equalities (a type, a currency) stay outside: they pick segments of those rows. Only a plain
// column of a single-branch query (and, if it groups, one of its grouping keys), and only a
// derived table named in FROM with an alias, not inside a join. The rows of the statement are
// the same either way.
#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

void EmpujaPeriodos(arbol::TSentencia& sentencia);

}  // namespace qavi::jet
