#include <QGuiApplication>

#include "cli/SalidaPDF.h"
#include "report/render/ExportaPDF.h"

namespace qavi {

struct TEntornoPDF::Impl {
  int argc = 1;
  char nombre[18] = "cuestionario-qavi";
  char* argv[2] = {nombre, nullptr};
  std::unique_ptr<QGuiApplication> app;
};

TEntornoPDF::TEntornoPDF() : impl_(std::make_unique<Impl>()) {
  if (QGuiApplication::instance()) return;
  // Without a display Qt's offscreen platform renders just as well.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  impl_->app = std::make_unique<QGuiApplication>(impl_->argc, impl_->argv);
}

TEntornoPDF::~TEntornoPDF() = default;

bool GeneraPDFHeadless(const TVariablesReporte& variables, const std::string& ruta, std::string& error) {
  return GeneraPDF(variables, ruta, error);
}

}  // namespace qavi
