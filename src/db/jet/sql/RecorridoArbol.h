#pragma once
// Walks a syntax tree in the order the emitter writes it, innermost first: what a rewrite pass
// needs to visit every SELECT and every derived table, nested ones included.
#include "db/jet/sql/ArbolJet.h"

namespace qavi::jet {

class TVisitanteArbol {
 public:
  virtual ~TVisitanteArbol() = default;
  // After everything nested in it (its subqueries and derived tables) has been visited.
  virtual void Seleccion(arbol::TSeleccion&) {}
  // A derived table in FROM, before and after its own query has been visited. What it holds is
  // not visited when EntraDerivada turns it into a table.
  virtual void EntraDerivada(arbol::TOrigen&) {}
  virtual void Derivada(arbol::TOrigen&) {}
};

void RecorreArbol(arbol::TSentencia& sentencia, TVisitanteArbol& visitante);
void RecorreArbol(arbol::TConsulta& consulta, TVisitanteArbol& visitante);

// A copy of an expression without subqueries (null for a node that holds one).
arbol::PNodo ClonaExpresion(const arbol::TNodo& nodo);

}  // namespace qavi::jet
