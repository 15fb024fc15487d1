#include "app/DataModule.h"
#include "report/render/ReporteCuestionario.h"

namespace qavi {

IReportePtr CreaReporteGeneral() { return std::make_shared<TReporteCuestionario>(); }

}  // namespace qavi
