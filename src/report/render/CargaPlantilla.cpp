#include "report/render/CargaPlantilla.h"

#include <QDir>
#include <QFile>

namespace qavi {

bool CargaPlantillaDeCarpeta(const QString& carpeta, TPlantillaReporte& plantilla, QString& error) {
  const QDir dir(carpeta);
  auto lector = [&dir](const std::string& archivo) -> std::optional<std::string> {
    QFile f(dir.filePath(QString::fromStdString(archivo)));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll().toStdString();
  };
  std::string e;
  if (LeePlantilla(lector, plantilla, e)) return true;
  error = QString::fromStdString(e);
  return false;
}

bool CargaPlantillaCuestionario(TPlantillaReporte& plantilla, QString& error) {
  return CargaPlantillaDeCarpeta(QStringLiteral(":/plantilla"), plantilla, error);
}

}  // namespace qavi
