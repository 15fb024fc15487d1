#include "cli/SalidaPDF.h"

namespace qavi {

struct TEntornoPDF::Impl {};
TEntornoPDF::TEntornoPDF() = default;
TEntornoPDF::~TEntornoPDF() = default;

bool GeneraPDFHeadless(const TVariablesReporte&, const std::string&, std::string& error) {
  error = "Esta compilación no incluye el generador de PDF.";
  return false;
}

}  // namespace qavi
