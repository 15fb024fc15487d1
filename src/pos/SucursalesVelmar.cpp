#include "pos/SucursalesVelmar.h"

namespace qavi {

const jet::TPlanConsolidacion& PlanSucursalesVelmar() {
  static const jet::TPlanConsolidacion kPlan{{
      {"tMovtos", "NumEmp", {"ClaveCliente", "NumeroDivisa", "Folio"}},
      {"tProces", "NumEmp", {"ClaveCliente", "NumeroDivisa", "Folio"}},
      {"tCliente", "NumEmp", {"ClaveCliente", "ClaveSector"}},
      {"tRelevan", "NumEmp", {"ClaveCliente"}},
      {"tDivisas", "", {"NumeroDivisa"}},
      {"tSector", "", {"ClaveSector"}},
  }};
  return kPlan;
}

}  // namespace qavi
