#pragma once
// The prepared report: every template page laid out as rich text with the current values, ready
// to paint on the preview, a printer or a PDF. Layout happens at a fixed resolution so every
// device shows the same line breaks.
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTextDocument>
#include <memory>
#include <vector>

#include "report/VariablesReporte.h"
#include "report/PlantillaReporte.h"

class QPainter;
class QPaintDevice;

namespace qavi {

// One place where a searched text occurs: page (0-based), frame and characters.
struct TCoincidencia {
  enum TMarco { kCuerpo, kPie, kNota };
  int pagina = 0;
  TMarco marco = kCuerpo;
  int desde = 0;
  int largo = 0;
  bool operator==(const TCoincidencia&) const = default;
};

class TPaginasReporte {
 public:
  // Layout units per inch; painting scales from them to the device.
  static constexpr double kUnidadesPorPulgada = 1200.0;
  // Below this factor a body that does not fit is clipped instead of shrunk further.
  static constexpr double kEscalaMinima = 0.6;

  TPaginasReporte();
  ~TPaginasReporte();
  TPaginasReporte(const TPaginasReporte&) = delete;
  TPaginasReporte& operator=(const TPaginasReporte&) = delete;

  // Discards what was prepared and lays out every page with the values of `variables`.
  void Prepara(const TPlantillaReporte& plantilla, const TVariablesReporte& variables);

  int Cuenta() const { return static_cast<int>(paginas_.size()); }
  QSizeF PapelMM() const { return papelMM_; }
  // Name of the template page (Pagina_N) printed as page i (0-based).
  QString Nombre(int i) const;
  // Plain text of page i, body, note (if it prints) then page line; paragraphs separated by '\n'.
  QString Texto(int i) const;
  // Factor the body of page i was shrunk by to fit its frame (1 = not shrunk).
  double Escala(int i) const;
  // True when page i's body did not fit even shrunk and is cut at its frame.
  bool Recortada(int i) const;

  // Every place `texto` occurs (case ignored), in reading order: page by page, the body, the page
  // line, then the note.
  std::vector<TCoincidencia> Busca(const QString& texto) const;
  // Where a match stands on its page (its first line), in layout units from the paper's corner.
  QRectF Rect(const TCoincidencia& c) const;

  // Paints page i. The painter's origin must be the paper's top-left corner, in device units of
  // `dispositivo` (the printer or PDF writer). Matches of `resaltado` are highlighted, `actual`
  // (when it is on this page) more strongly.
  void Dibuja(QPainter& pintor, const QPaintDevice& dispositivo, int i, const QString& resaltado = QString(),
              const TCoincidencia* actual = nullptr) const;

 private:
  struct TMarcoListo {
    std::unique_ptr<QTextDocument> documento;
    QRectF rect;  // layout units, from the paper's corner
    double escala = 1;
    bool recortado = false;
  };
  struct TPaginaLista {
    QString sNombre;
    TMarcoListo cuerpo;
    TMarcoListo pie;
    TMarcoListo nota;  // no document when the page's note prints nothing
  };

  void Acomoda(TMarcoListo& marco) const;
  void DibujaMarco(QPainter& pintor, const TMarcoListo& marco, const QString& resaltado,
                   const TCoincidencia* actual) const;
  const TMarcoListo& Marco(const TCoincidencia& c) const;

  std::unique_ptr<QPaintDevice> medida_;
  std::vector<TPaginaLista> paginas_;
  QSizeF papelMM_{215.9, 279.4};
};

}  // namespace qavi
