#pragma once
// The questionnaire report component (the data module's repGeneral) as the core sees it.
// The Qt renderer implements it; the headless command and tests use their own.
#include <memory>
#include <string>

namespace qavi {

class IReporte {
 public:
  virtual ~IReporte() = default;
  // Sets a report variable. The category entry is " " + sCategoria, found without regard to case;
  // an existing variable (case ignored) is replaced, a new one goes to the end of its category;
  // an unknown category stores nothing.
  virtual void AsignaVariable(const std::string& sCategoria, const std::string& sVariable,
                              const std::string& sValor) = 0;
  // Document name: preview title and print-job name.
  virtual void AsignaNombreDocumento(const std::string& sNombre) = 0;
  // Prepares every page from the template and the current values and shows the modal preview.
  virtual void Muestra() = 0;
};

using IReportePtr = std::shared_ptr<IReporte>;

}  // namespace qavi
