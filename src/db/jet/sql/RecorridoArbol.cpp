#include "db/jet/sql/RecorridoArbol.h"

namespace qavi::jet {
namespace {

using namespace arbol;

class TRecorrido {
 public:
  explicit TRecorrido(TVisitanteArbol& v) : v_(v) {}

  void Consulta(TConsulta& c) {
    for (auto& rama : c.ramas) Seleccion(rama);
    for (auto& o : c.orden) Nodo(o.expresion.get());
  }

  void Nodo(TNodo* n) {
    if (!n) return;
    for (auto& h : n->hijos) Nodo(h.get());
    if (n->subconsulta) Consulta(*n->subconsulta);
  }

 private:
  void Seleccion(TSeleccion& s) {
    for (auto& e : s.lista) Nodo(e.expresion.get());
    for (auto& o : s.origenes) Origen(*o);
    Nodo(s.donde.get());
    for (auto& g : s.agrupa) Nodo(g.get());
    Nodo(s.teniendo.get());
    for (auto& o : s.orden) Nodo(o.expresion.get());
    v_.Seleccion(s);
  }

  void Origen(TOrigen& o) {
    switch (o.clase) {
      case TOrigen::Clase::Tabla: return;
      case TOrigen::Clase::Derivada:
        v_.EntraDerivada(o);
        if (o.clase != TOrigen::Clase::Derivada) return;  // the visitor put a table in its place
        Consulta(*o.consulta);
        v_.Derivada(o);
        return;
      case TOrigen::Clase::Union:
        Origen(*o.izquierda);
        Origen(*o.derecha);
        Nodo(o.condicion.get());
        return;
    }
  }

  TVisitanteArbol& v_;
};

}  // namespace

void RecorreArbol(TConsulta& consulta, TVisitanteArbol& visitante) { TRecorrido(visitante).Consulta(consulta); }

void RecorreArbol(TSentencia& sentencia, TVisitanteArbol& visitante) {
  if (sentencia.esBorrado) TRecorrido(visitante).Nodo(sentencia.borrado.donde.get());
  else RecorreArbol(sentencia.consulta, visitante);
}

PNodo ClonaExpresion(const TNodo& n) {
  if (n.subconsulta) return nullptr;
  auto c = std::make_unique<TNodo>();
  c->clase = n.clase;
  c->texto = n.texto;
  c->calificador = n.calificador;
  c->numero = n.numero;
  c->negado = n.negado;
  c->posicion = n.posicion;
  c->altura = n.altura;
  for (const auto& h : n.hijos) {
    auto hijo = ClonaExpresion(*h);
    if (!hijo) return nullptr;
    c->hijos.push_back(std::move(hijo));
  }
  return c;
}

}  // namespace qavi::jet
