#include "report/render/ReporteCuestionario.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>

#include "report/render/CargaPlantilla.h"
#include "report/render/CursorNormal.h"
#include "report/render/VistaPrevia.h"

namespace qavi {

TReporteCuestionario::TReporteCuestionario(QWidget* padre) : padre_(padre) {}

void TReporteCuestionario::AsignaVariable(const std::string& sCategoria, const std::string& sVariable,
                                          const std::string& sValor) {
  variables_.AsignaVariable(sCategoria, sVariable, sValor);
}

void TReporteCuestionario::AsignaNombreDocumento(const std::string& sNombre) { nombre_ = sNombre; }

bool TReporteCuestionario::Prepara(QString& error) {
  if (!plantillaLeida_) {
    if (!CargaPlantillaCuestionario(plantilla_, error)) return false;
    plantillaLeida_ = true;
  }
  paginas_.Prepara(plantilla_, variables_);
  return true;
}

void TReporteCuestionario::Muestra() {
  QString error;
  bool ok = false;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto listo = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    ok = Prepara(error);
  }
  // The run that shows the report holds the busy cursor; the user reads, finds and exports with the normal one.
  TCursorNormal normal;
  if (!ok) {
    QMessageBox::critical(padre_, QStringLiteral("Reporte"), error);
    return;
  }
  TVistaPrevia vista(paginas_, QString::fromStdString(nombre_), padre_);
  vista.setWindowState(vista.windowState() | Qt::WindowMaximized);
  vista.exec();
}

bool TReporteCuestionario::ExportaPDF(const QString& ruta, QString& error, const TProgresoPDF& progreso) {
  if (!Prepara(error)) return false;
  return EscribePDF(paginas_, ruta, TConfigPDF(), error, progreso);
}

}  // namespace qavi
