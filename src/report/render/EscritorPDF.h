#pragma once
// PDF export of the prepared report (the data module's frxPDFExport).
#include <QString>
#include <functional>

namespace qavi {

class TPaginasReporte;

struct TConfigPDF {
  QString sNombreArchivo = QStringLiteral("CuestionarioQAVI_2016");  // the save dialog adds .pdf
  QString sTitulo = QStringLiteral("Cuestionario QAVI 2016");
  QString sAsunto = QStringLiteral("Cuestionario QAVI 2016");
  QString sAutor = QStringLiteral("Velmar");
  QString sCreador = QStringLiteral("CuestionarioQAVI_2016");
};

// Called after each page; returning false cancels the export.
using TProgresoPDF = std::function<bool(int nHechas, int nTotal)>;

// Writes every prepared page to `ruta` (replacing it), fonts embedded, no protection, with the
// document information of `config`. Nothing is written when it fails or is cancelled.
bool EscribePDF(const TPaginasReporte& paginas, const QString& ruta, const TConfigPDF& config,
                QString& error, const TProgresoPDF& progreso = {});

}  // namespace qavi
