#pragma once
// A report component without pages: keeps the variables and the document name.
// The headless command writes its answers from it; tests read what a run stored.
#include <functional>

#include "report/IIReporte.h"
#include "report/VariablesReporte.h"

namespace qavi {

class TReporteMemoria : public IReporte {
 public:
  void AsignaVariable(const std::string& sCategoria, const std::string& sVariable,
                      const std::string& sValor) override {
    variables_.AsignaVariable(sCategoria, sVariable, sValor);
  }
  void AsignaNombreDocumento(const std::string& sNombre) override { nombre_ = sNombre; }
  void Muestra() override {
    ++mostrado_;
    if (alMostrar) alMostrar(*this);
  }

  const TVariablesReporte& Variables() const { return variables_; }
  const std::string& NombreDocumento() const { return nombre_; }
  int VecesMostrado() const { return mostrado_; }

  // What showing the report does here (writing a PDF, for instance).
  std::function<void(TReporteMemoria&)> alMostrar;

 private:
  TVariablesReporte variables_;
  std::string nombre_;
  int mostrado_ = 0;
};

}  // namespace qavi
