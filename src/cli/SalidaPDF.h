#pragma once
// Writes the report as PDF without a window (Qt's offscreen platform), when the build has the renderer.
#include <string>

#include "report/VariablesReporte.h"

namespace qavi {

bool GeneraPDFHeadless(const TVariablesReporte& variables, const std::string& ruta, std::string& error);

}  // namespace qavi
