#pragma once
// dmMain: the non-visual pieces the window and the runs share: the questionnaire report
// (repGeneral, with its rich text and PDF export) and the PEP candidate table vtPEPs.
#include "report/IIReporte.h"
#include "report/TablaPEPs.h"

namespace qavi {

class TdmMain {
 public:
  // The report is handed in: the program gives the renderer's, tests one that keeps the variables.
  explicit TdmMain(IReportePtr repGeneral);
  TdmMain(const TdmMain&) = delete;
  TdmMain& operator=(const TdmMain&) = delete;

  IReporte* repGeneral() const { return F_repGeneral.get(); }
  TTablaPEPs vtPEPs;

 private:
  IReportePtr F_repGeneral;
};

// The report of the running program: the renderer's, with its preview and PDF export.
IReportePtr CreaReporteGeneral();

}  // namespace qavi
