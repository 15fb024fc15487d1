#include <QGuiApplication>
#include <memory>

#include "cli/SalidaPDF.h"
#include "report/render/ExportaPDF.h"

namespace qavi {

bool GeneraPDFHeadless(const TVariablesReporte& variables, const std::string& ruta, std::string& error) {
  // The renderer needs a GUI application; without a display Qt's offscreen platform does.
  static int argc = 1;
  static char nombre[] = "cuestionario-qavi";
  static char* argv[] = {nombre, nullptr};
  static std::unique_ptr<QGuiApplication> app;
  if (!QGuiApplication::instance()) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  return GeneraPDF(variables, ruta, error);
}

}  // namespace qavi
