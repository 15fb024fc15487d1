#include "app/DataModule.h"

namespace qavi {

TdmMain::TdmMain(IReportePtr repGeneral) : F_repGeneral(std::move(repGeneral)) { vtPEPs.Abre(); }

}  // namespace qavi
