#include "report/render/ExportaPDF.h"

#include <QGuiApplication>

#include "report/VariablesReporte.h"
#include "report/render/CargaPlantilla.h"
#include "report/render/EscritorPDF.h"
#include "report/render/PaginasReporte.h"

namespace qavi {

bool GeneraPDF(const TVariablesReporte& vars, const std::string& ruta, std::string& error) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    error = "No se puede generar el PDF sin una aplicación gráfica de Qt.";
    return false;
  }
  TPlantillaReporte plantilla;
  QString e;
  if (!CargaPlantillaCuestionario(plantilla, e)) {
    error = e.toStdString();
    return false;
  }
  TPaginasReporte paginas;
  paginas.Prepara(plantilla, vars);
  if (!EscribePDF(paginas, QString::fromStdString(ruta), TConfigPDF(), e)) {
    error = e.toStdString();
    return false;
  }
  return true;
}

}  // namespace qavi
