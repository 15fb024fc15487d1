#pragma once
// The questionnaire template bundled in the program (Qt resource ":/plantilla/").
#include <QString>

#include "report/PlantillaReporte.h"

namespace qavi {

// Reads the bundled template; false with a Spanish message when a file is missing or wrong.
bool CargaPlantillaCuestionario(TPlantillaReporte& plantilla, QString& error);

// Same, from a folder holding Reporte.txt and the page files (for trying out template edits).
bool CargaPlantillaDeCarpeta(const QString& carpeta, TPlantillaReporte& plantilla, QString& error);

}  // namespace qavi
