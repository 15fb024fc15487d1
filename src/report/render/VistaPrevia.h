#pragma once
// The report's modal preview: print, page setup, zoom, page navigation, find and PDF export.
#include <QDialog>
#include <QString>
#include <memory>

#include "report/render/EscritorPDF.h"

class QComboBox;
class QLabel;
class QLineEdit;
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

  // Finds `texto` (case ignored) from the current page on, wrapping around; the same text again
  // goes to the next page that has it. Shows that page with the matches highlighted.
  bool Busca(const QString& texto);
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

  const TPaginasReporte& paginas_;
  TConfigPDF config_;
  std::unique_ptr<QPrinter> impresora_;
  QPrintPreviewWidget* vista_ = nullptr;
  QComboBox* cbZoom_ = nullptr;
  QLineEdit* edPagina_ = nullptr;
  QLabel* txPaginas_ = nullptr;
  QLineEdit* edBusca_ = nullptr;
  QLabel* txBusca_ = nullptr;
  QString resaltado_;
  QString ultimaBusqueda_;
  int ultimaPagina_ = -1;
};

}  // namespace qavi
