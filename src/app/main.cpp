// CuestionarioQAVI_2016: the questionnaire wizard that sits in the Velmar folder.
#include <memory>

#include <QApplication>

#include "app/Arranque.h"
#include "app/DataModule.h"
#include "app/InstanciaUnica.h"
#include "app/MensajeModalQt.h"
#include "app/Principal.h"
#include "common/IIMensajeModal.h"
#include "common/Plataforma.h"
#include "db/ColectorConxs.h"
#include "report/render/ReporteCuestionario.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("CuestionarioQAVI_2016"));
  QGuiApplication::setDesktopFileName(QStringLiteral("cuestionario-qavi-2016"));
  QApplication::setWindowIcon(qavi::IconoPrograma());
  qavi::CargaTraducciones(app);

  // Everything is read beside the executable, never from the current directory.
  const auto carpeta = qavi::CarpetaEjecutable();
  qavi::TInstanciaUnica unica(qavi::ClaveInstancia(QString::fromStdString(carpeta.string())));
  if (unica.YaCorre()) return 0;

  qavi::InstalaMensajeModal(std::make_shared<qavi::TMensajeModalQt>());
  // The registry comes first and goes last: closing it closes every connection.
  qavi::gColectorConxs = std::make_shared<qavi::TColectorConxs>(qavi::jet::OpcionesMotorJetDelEntorno());
  int rc = 0;
  {
    qavi::TdmMain dmMain(qavi::CreaReporteGeneral());
    qavi::TfrmPrincipal frmPrincipal(dmMain, carpeta);
    if (auto* rep = dynamic_cast<qavi::TReporteCuestionario*>(dmMain.repGeneral())) rep->AsignaPadre(&frmPrincipal);
    unica.AlPedirVentana = [&frmPrincipal] { frmPrincipal.TraeAlFrente(); };
    frmPrincipal.show();
    rc = app.exec();
    unica.AlPedirVentana = nullptr;
  }
  qavi::gColectorConxs.reset();
  qavi::InstalaMensajeModal(nullptr);
  return rc;
}
