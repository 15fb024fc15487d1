#include "db/jet/sql/PasoDerivadas.h"

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

class TDerivadas : public TVisitanteArbol {
 public:
  explicit TDerivadas(IMaterializador& m) : m_(m) {}

  void Derivada(TOrigen& o) override {
    const auto tabla = m_.Materializa(EmiteConsulta(*o.consulta), EsTrivial(*o.consulta));
    if (!tabla) return;
    o.clase = TOrigen::Clase::Tabla;
    o.tabla = *tabla;
    o.consulta.reset();
  }

 private:
  IMaterializador& m_;
};

}  // namespace

void ReutilizaDerivadas(TSentencia& sentencia, IMaterializador& materializador) {
  TDerivadas v(materializador);
  RecorreArbol(sentencia, v);
}

}  // namespace qavi::jet
