#include "db/jet/sql/PasoDerivadas.h"

#include <map>

#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/RecorridoArbol.h"

namespace qavi::jet {
namespace {

using namespace arbol;

bool EsTrivial(const TConsulta& c) {
  if (!c.orden.empty()) return false;
  for (const auto& rama : c.ramas) {
    if (rama.distinct || rama.top || !rama.agrupa.empty() || rama.teniendo || !rama.orden.empty()) return false;
    if (rama.origenes.size() != 1 || rama.origenes[0]->clase == TOrigen::Clase::Union) return false;
    for (const auto& e : rama.lista)
      if (e.clase == TElementoSeleccion::Clase::Expresion && e.expresion->clase != TClaseNodo::Columna) return false;
  }
  return true;
}

// Each derived table's identity, taken before any of them is replaced.
class TIdentidades : public TVisitanteArbol {
 public:
  void Derivada(TOrigen& o) override { lista.emplace_back(&o, EmiteConsulta(*o.consulta)); }
  std::vector<std::pair<const TOrigen*, std::string>> lista;  // innermost first
};

class TDerivadas : public TVisitanteArbol {
 public:
  TDerivadas(IMaterializador& m, std::map<const TOrigen*, std::string> identidades)
      : m_(m), identidades_(std::move(identidades)) {}

  void EntraDerivada(TOrigen& o) override { Reemplaza(o, m_.Guardada(identidades_.at(&o))); }
  void Derivada(TOrigen& o) override {
    const std::string sql = EmiteConsulta(*o.consulta);
    Reemplaza(o, m_.Materializa({sql, EsTrivial(*o.consulta), identidades_.at(&o)}));
  }

 private:
  static void Reemplaza(TOrigen& o, const std::optional<std::string>& tabla) {
    if (!tabla) return;
    o.clase = TOrigen::Clase::Tabla;
    o.tabla = *tabla;
    o.consulta.reset();
  }
  IMaterializador& m_;
  std::map<const TOrigen*, std::string> identidades_;
};

}  // namespace

void ReutilizaDerivadas(TSentencia& sentencia, IMaterializador& materializador) {
  TIdentidades ids;
  RecorreArbol(sentencia, ids);
  TDerivadas v(materializador, {ids.lista.begin(), ids.lista.end()});
  RecorreArbol(sentencia, v);
}

namespace {

// Innermost first, each with the derived table it is written in.
class TLeidas : public TVisitanteArbol {
 public:
  void EntraDerivada(TOrigen&) override { abiertas_.push_back({}); }
  void Derivada(TOrigen& o) override {
    const std::size_t indice = lista.size();
    for (const std::size_t hija : abiertas_.back()) lista[hija].dentro = indice;
    abiertas_.pop_back();
    if (!abiertas_.empty()) abiertas_.back().push_back(indice);
    lista.push_back({EmiteConsulta(*o.consulta), EsTrivial(*o.consulta), std::nullopt});
  }
  std::vector<TDerivadaLeida> lista;

 private:
  std::vector<std::vector<std::size_t>> abiertas_;  // the derived tables being visited, with their children so far
};

}  // namespace

std::vector<TDerivadaLeida> DerivadasLeidas(TSentencia& sentencia) {
  TLeidas v;
  RecorreArbol(sentencia, v);
  return std::move(v.lista);
}

}  // namespace qavi::jet
