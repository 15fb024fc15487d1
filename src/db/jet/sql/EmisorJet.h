#pragma once
// Writes a Jet syntax tree as SQLite SQL that gives Jet's results on a connection
// prepared with RegistraFunciones (db/jet/JetFunciones.h).
#include <string>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

std::string EmiteSentencia(const arbol::TSentencia& sentencia);

}  // namespace qavi::jet
