#pragma once
// Headless PDF of the questionnaire, for the command line. The caller owns the Qt application
// (a QGuiApplication or QApplication must exist; QT_QPA_PLATFORM=offscreen works).
#include <string>

namespace qavi {

class TVariablesReporte;

// Prepares every page of the bundled template with `vars` and writes the PDF to `ruta`
// (UTF-8 path). False with a Spanish message in `error` when it cannot.
bool GeneraPDF(const TVariablesReporte& vars, const std::string& ruta, std::string& error);

}  // namespace qavi
