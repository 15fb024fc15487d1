#pragma once
// Writes a Jet syntax tree as SQLite SQL that gives Jet's results on a connection prepared with
// RegistraFunciones (db/jet/funciones/FuncionesJet.h). Text only: whatever the engine rewrites
// (derived tables it holds, periods, key order) is already in the tree it is given.
#include <string>

#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

std::string EmiteSentencia(const arbol::TSentencia& sentencia);
std::string EmiteConsulta(const arbol::TConsulta& consulta);
// "SELECT <grouping keys as GROUP BY writes them> FROM <sources>": what the key-order pass asks
// SQLite about.
std::string EmiteSondeoClaves(const arbol::TSeleccion& seleccion);

}  // namespace qavi::jet
