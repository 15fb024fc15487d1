#pragma once
// Writes the report as PDF without a window (Qt's offscreen platform), when the build has the renderer.
#include <memory>
#include <string>

#include "report/VariablesReporte.h"

namespace qavi {

// What the renderer needs to exist while a PDF is written (a GUI application object);
// made before the run and destroyed before main returns.
class TEntornoPDF {
 public:
  TEntornoPDF();
  ~TEntornoPDF();
  TEntornoPDF(const TEntornoPDF&) = delete;
  TEntornoPDF& operator=(const TEntornoPDF&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

bool GeneraPDFHeadless(const TVariablesReporte& variables, const std::string& ruta, std::string& error);

}  // namespace qavi
