#pragma once
// The report's modal preview: print, page setup, zoom, page navigation (Ctrl+Home, Ctrl+End),
// find, the outline of page thumbnails and PDF export.
#include <QDialog>
#include <QString>
#include <memory>

#include <vector>

#include "report/render/EscritorPDF.h"
#include "report/render/PaginasReporte.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPrintPreviewWidget;

namespace qavi {

class TPaginasReporte;

class TVistaPrevia : public QDialog {
 public:
  // `paginas` must outlive the dialog. The document name is the window title and print job name.
  TVistaPrevia(const TPaginasReporte& paginas, const QString& sNombreDocumento, QWidget* padre = nullptr);
  ~TVistaPrevia() override;

  QPrintPreviewWidget* Vista() const { return vista_; }
  QPrinter& Impresora() { return *impresora_; }

  // Finds `texto` (case ignored) hit by hit: a new text starts at the first hit on the current
  // page or after it, the same text again goes to the next hit, wrapping around. Shows the hit
  // with every match highlighted and itself more strongly.
  bool Busca(const QString& texto);
  // The hit Busca stands on, if any.
  const TCoincidencia* Actual() const;
  // What the find label says ("3 de 12, página 7", or why nothing was found).
  QString TextoBusqueda() const;
  // Shows or hides the outline: one thumbnail per page; a click goes to that page.
  void MuestraMiniaturas(bool bMostrar);
  QListWidget* Miniaturas() const { return miniaturas_; }
  // Writes the PDF with a progress window; false with the reason in `error`.
  bool ExportaA(const QString& ruta, QString& error);

 private:
  void CreaBarra();
  void Pinta(QPrinter* impresora);
  void ActualizaNavegacion();
  void AplicaZoom(const QString& texto);
  void PideExportar();
  void Imprime();
  void ConfiguraPagina();
  void IrA(int pagina);
  void LlenaMiniaturas();
  // Scrolls the view so the current hit is on screen.
  void MuestraActual();

  const TPaginasReporte& paginas_;
  TConfigPDF config_;
  std::unique_ptr<QPrinter> impresora_;
  QPrintPreviewWidget* vista_ = nullptr;
  QComboBox* cbZoom_ = nullptr;
  QLineEdit* edPagina_ = nullptr;
  QLabel* txPaginas_ = nullptr;
  QLineEdit* edBusca_ = nullptr;
  QLabel* txBusca_ = nullptr;
  QListWidget* miniaturas_ = nullptr;
  QAction* acMiniaturas_ = nullptr;
  QString resaltado_;
  std::vector<TCoincidencia> hallazgos_;
  int indice_ = -1;  // into hallazgos_
};

}  // namespace qavi
