// CuestionarioQAVI_2016: the questionnaire wizard that sits in the Velmar folder.
#include <memory>

#include <QApplication>

#include "app/DataModule.h"
#include "app/MensajeModalQt.h"
#include "app/Principal.h"
#include "common/IIMensajeModal.h"
#include "common/Plataforma.h"
#include "db/ColectorConxs.h"
#include "report/render/ReporteCuestionario.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("CuestionarioQAVI_2016"));
  qavi::InstalaMensajeModal(std::make_shared<qavi::TMensajeModalQt>());

  // The registry comes first and goes last: closing it closes every connection.
  qavi::gColectorConxs = std::make_shared<qavi::TColectorConxs>(qavi::jet::OpcionesMotorJetDelEntorno());
  int rc = 0;
  {
    qavi::TdmMain dmMain(qavi::CreaReporteGeneral());
    // Everything is read beside the executable, never from the current directory.
    qavi::TfrmPrincipal frmPrincipal(dmMain, qavi::CarpetaEjecutable());
    if (auto* rep = dynamic_cast<qavi::TReporteCuestionario*>(dmMain.repGeneral())) rep->AsignaPadre(&frmPrincipal);
    frmPrincipal.show();
    rc = app.exec();
  }
  qavi::gColectorConxs.reset();
  qavi::InstalaMensajeModal(nullptr);
  return rc;
}
