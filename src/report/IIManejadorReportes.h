#pragma once
// Between the run driver and the report: named variables and the final preview.
#include <memory>
#include <string>

namespace qavi {

class IManejadorReportes {
 public:
  virtual ~IManejadorReportes() = default;
  virtual void AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                                 const std::string& sDato) = 0;
  virtual void MuestraReporte() = 0;
};

using IManejadorReportesPtr = std::shared_ptr<IManejadorReportes>;

}  // namespace qavi
