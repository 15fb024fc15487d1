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

  void Derivada(TOrigen& o) override {
    const std::string sql = EmiteConsulta(*o.consulta);
    const auto tabla = m_.Materializa({sql, EsTrivial(*o.consulta), identidades_.at(&o)});
    if (!tabla) return;
    o.clase = TOrigen::Clase::Tabla;
    o.tabla = *tabla;
    o.consulta.reset();
  }

 private:
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

std::vector<std::string> IdentidadesDerivadas(TSentencia& sentencia) {
  TIdentidades ids;
  RecorreArbol(sentencia, ids);
  std::vector<std::string> r;
  for (auto& [origen, identidad] : ids.lista) r.push_back(std::move(identidad));
  return r;
}

}  // namespace qavi::jet
