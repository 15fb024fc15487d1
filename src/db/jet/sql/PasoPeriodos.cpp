#include "db/jet/sql/PasoPeriodos.h"

#include <algorithm>
#include <vector>

#include "db/jet/sql/RecorridoArbol.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {
namespace {

using namespace arbol;

bool EsConstante(const TNodo& n) {
  switch (n.clase) {
    case TClaseNodo::Numero:
    case TClaseNodo::Texto:
    case TClaseNodo::Fecha:
      return true;
    case TClaseNodo::Negativo:
    case TClaseNodo::Positivo:
      return EsConstante(*n.hijos[0]);
    default:
      return false;
  }
}

// The plain column behind output column `nombre` of `rama`; if `rama` groups, only a grouping key.
const TNodo* ColumnaInterna(const TSeleccion& rama, const std::string& nombre) {
  const TNodo* hallada = nullptr;
  for (const auto& e : rama.lista) {
    if (e.clase != TElementoSeleccion::Clase::Expresion) return nullptr;  // '*' hides what a name is
    const std::string& salida =
        e.alias.empty() && e.expresion->clase == TClaseNodo::Columna ? e.expresion->texto : e.alias;
    if (!MismoNombreJet(salida, nombre)) continue;
    if (hallada || e.expresion->clase != TClaseNodo::Columna) return nullptr;
    hallada = e.expresion.get();
  }
  if (!hallada || rama.agrupa.empty()) return hallada;
  for (const auto& g : rama.agrupa)
    if (g->clase == TClaseNodo::Columna && MismoNombreJet(g->texto, hallada->texto) &&
        MismoNombreJet(g->calificador, hallada->calificador))
      return hallada;
  return nullptr;
}

// `condicion` with its column `columna` standing for `interna`.
PNodo Sustituye(const TNodo& condicion, const TNodo* columna, const TNodo& interna) {
  if (&condicion == columna) return ClonaExpresion(interna);
  PNodo c = ClonaExpresion(condicion);
  if (!c) return nullptr;
  for (std::size_t i = 0; i < condicion.hijos.size(); ++i) {
    c->hijos[i] = Sustituye(*condicion.hijos[i], columna, interna);
    if (!c->hijos[i]) return nullptr;
  }
  return c;
}

// The conditions of `s`'s WHERE that can also stand inside derived table `o`, in its own terms.
std::vector<PNodo> PeriodoPara(const TSeleccion& s, const TOrigen& o) {
  std::vector<PNodo> r;
  if (!s.donde || o.clase != TOrigen::Clase::Derivada || o.alias.empty()) return r;
  const TConsulta& c = *o.consulta;
  if (c.ramas.size() != 1 || !c.orden.empty() || c.ramas[0].top || !c.ramas[0].orden.empty()) return r;
  const TSeleccion& rama = c.ramas[0];
  std::vector<const TNodo*> conjuncion;
  if (s.donde->clase == TClaseNodo::Y) {
    for (const auto& h : s.donde->hijos) conjuncion.push_back(h.get());
  } else {
    conjuncion.push_back(s.donde.get());
  }
  for (const TNodo* t : conjuncion) {
    const TNodo* columna = nullptr;
    if (t->clase == TClaseNodo::Comparacion && t->texto != "=" && t->texto != "<>") {
      const bool izq = EsConstante(*t->hijos[1]), der = EsConstante(*t->hijos[0]);
      columna = izq ? t->hijos[0].get() : der ? t->hijos[1].get() : nullptr;
    } else if (t->clase == TClaseNodo::Entre && !t->negado && EsConstante(*t->hijos[1]) &&
               EsConstante(*t->hijos[2])) {
      columna = t->hijos[0].get();
    }
    if (!columna || columna->clase != TClaseNodo::Columna || !MismoNombreJet(columna->calificador, o.alias)) continue;
    const TNodo* interna = ColumnaInterna(rama, columna->texto);
    if (!interna) continue;
    if (PNodo dentro = Sustituye(*t, columna, *interna)) r.push_back(std::move(dentro));
  }
  return r;
}

// A period found in one SELECT goes only into its own derived tables, which were visited first:
// it never travels further down than one level, as each level's WHERE is read as written.
class TPeriodos : public TVisitanteArbol {
 public:
  void Seleccion(TSeleccion& s) override {
    for (auto& o : s.origenes) {
      std::vector<PNodo> conds = PeriodoPara(s, *o);
      if (conds.empty()) continue;
      TSeleccion& rama = o->consulta->ramas[0];
      if (rama.donde) conds.insert(conds.begin(), std::move(rama.donde));
      if (conds.size() == 1) {
        rama.donde = std::move(conds[0]);
        continue;
      }
      auto y = std::make_unique<TNodo>();
      y->clase = TClaseNodo::Y;
      y->posicion = conds[0]->posicion;
      int altura = 0;
      for (auto& c : conds) {
        altura = std::max(altura, c->altura);
        y->hijos.push_back(std::move(c));
      }
      y->altura = altura + 1;
      rama.donde = std::move(y);
    }
  }
};

}  // namespace

void EmpujaPeriodos(TSentencia& sentencia) {
  TPeriodos v;
  RecorreArbol(sentencia, v);
}

}  // namespace qavi::jet
