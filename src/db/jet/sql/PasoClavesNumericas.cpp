#include "db/jet/sql/PasoClavesNumericas.h"

#include "common/Texto.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/RecorridoArbol.h"

namespace qavi::jet {
namespace {

using namespace arbol;

class TClaves : public TVisitanteArbol {
 public:
  explicit TClaves(IOraculoTipos& oraculo) : oraculo_(oraculo) {}

  void Derivada(TOrigen& o) override {
    for (auto& rama : o.consulta->ramas) Ordena(rama);
  }

 private:
  void Ordena(TSeleccion& s) {
    if (s.agrupa.size() < 2 || s.origenes.empty()) return;
    const auto tipos = oraculo_.TiposDeclarados(EmiteSondeoClaves(s));
    if (!tipos || tipos->size() != s.agrupa.size()) return;
    const auto numero = [](const std::string& t) {
      return IgualSinCasoAscii(t, "INTEGER") || IgualSinCasoAscii(t, "REAL");
    };
    std::vector<PNodo> numeros, resto;
    for (std::size_t i = 0; i < s.agrupa.size(); ++i)
      (numero((*tipos)[i]) ? numeros : resto).push_back(std::move(s.agrupa[i]));
    for (auto& r : resto) numeros.push_back(std::move(r));
    s.agrupa = std::move(numeros);
  }

  IOraculoTipos& oraculo_;
};

}  // namespace

void OrdenaClavesNumericas(TSentencia& sentencia, IOraculoTipos& oraculo) {
  TClaves v(oraculo);
  RecorreArbol(sentencia, v);
}

}  // namespace qavi::jet
