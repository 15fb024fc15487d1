#pragma once
// The questionnaire report (the data module's repGeneral): variables, the bundled 21-page
// template, modal preview and PDF export.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "report/IIReporte.h"
#include "report/VariablesReporte.h"
#include "report/render/EscritorPDF.h"
#include "report/render/PaginasReporte.h"
#include "report/PlantillaReporte.h"

namespace qavi {

class TReporteCuestionario : public IReporte {
 public:
  explicit TReporteCuestionario(QWidget* padre = nullptr);

  void AsignaVariable(const std::string& sCategoria, const std::string& sVariable,
                      const std::string& sValor) override;
  void AsignaNombreDocumento(const std::string& sNombre) override;
  // Prepares every page anew and shows the maximized modal preview until the user closes it.
  // A template that cannot be read is reported in a message box.
  void Muestra() override;

  // Window over which the preview and its messages open.
  void AsignaPadre(QWidget* padre) { padre_ = padre; }

  const TVariablesReporte& Variables() const { return variables_; }
  const std::string& NombreDocumento() const { return nombre_; }

  // Lays out the pages with the current values, discarding earlier ones.
  bool Prepara(QString& error);
  const TPaginasReporte& Paginas() const { return paginas_; }

  // Prepares and writes the PDF without showing anything.
  bool ExportaPDF(const QString& ruta, QString& error, const TProgresoPDF& progreso = {});

 private:
  TVariablesReporte variables_;
  std::string nombre_;
  QPointer<QWidget> padre_;
  TPlantillaReporte plantilla_;
  bool plantillaLeida_ = false;
  TPaginasReporte paginas_;
};

}  // namespace qavi
