#include "report/render/PaginasReporte.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextOption>
#include <algorithm>
#include <climits>

#include "report/render/Fuentes.h"

namespace qavi {

namespace {

constexpr double kUnidadesPorMM = TPaginasReporte::kUnidadesPorPulgada / 25.4;
// Qt's text layout takes block margins in pixels of a 96-dpi screen and scales them to the
// paint device itself.
constexpr double kPixelesMargenPorPunto = 96.0 / 72.0;

// A device that only answers metrics: the documents are laid out at its resolution whatever
// they are painted on later.
class TDispositivoMedida : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return nullptr; }

 protected:
  int metric(PaintDeviceMetric m) const override {
    const int ppp = static_cast<int>(TPaginasReporte::kUnidadesPorPulgada);
    switch (m) {
      case PdmWidth: return static_cast<int>(215.9 * kUnidadesPorMM);
      case PdmHeight: return static_cast<int>(279.4 * kUnidadesPorMM);
      case PdmWidthMM: return 216;
      case PdmHeightMM: return 279;
      case PdmNumColors: return INT_MAX;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return ppp;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return QPaintDevice::metric(m);
    }
  }
};

// Database text is data: line ends become line breaks inside the paragraph, other control
// characters blanks; nothing is interpreted as markup.
QString TextoImprimible(const std::string& s) {
  QString q = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  q.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
  for (QChar& c : q) {
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::ParagraphSeparator)
      c = QChar::LineSeparator;
    else if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
      c = QLatin1Char(' ');
  }
  return q;
}

QTextCharFormat Formato(const TEstiloTexto& e, bool negrita, bool subrayado) {
  QTextCharFormat f;
  f.setFontFamilies(QStringList{FamiliaDisponible(QString::fromStdString(e.sFamilia))});
  f.setFontPointSize(e.dPuntos);
  f.setFontWeight(negrita ? QFont::Bold : QFont::Normal);
  f.setFontUnderline(subrayado);
  f.setFontHintingPreference(QFont::PreferNoHinting);
  f.setForeground(QColor(e.color.r, e.color.g, e.color.b));
  return f;
}

Qt::Alignment Alineacion(TAlineacion a) {
  switch (a) {
    case TAlineacion::Centro: return Qt::AlignHCenter;
    case TAlineacion::Derecha: return Qt::AlignRight | Qt::AlignAbsolute;
    case TAlineacion::Izquierda: break;
  }
  return Qt::AlignLeft | Qt::AlignAbsolute;
}

std::unique_ptr<QTextDocument> CreaDocumento(const std::vector<TParrafo>& parrafos,
                                             const TEstiloTexto& estilo, QPaintDevice* medida) {
  auto doc = std::make_unique<QTextDocument>();
  doc->setUndoRedoEnabled(false);
  doc->documentLayout()->setPaintDevice(medida);
  doc->setDocumentMargin(0);
  QFont fuente(FamiliaDisponible(QString::fromStdString(estilo.sFamilia)));
  fuente.setPointSizeF(estilo.dPuntos);
  fuente.setHintingPreference(QFont::PreferNoHinting);
  doc->setDefaultFont(fuente);
  QTextOption opcion;
  opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  doc->setDefaultTextOption(opcion);

  QTextCursor cursor(doc.get());
  const QTextCharFormat base = Formato(estilo, false, false);
  bool primero = true;
  for (const auto& p : parrafos) {
    QTextBlockFormat bloque;
    bloque.setAlignment(Alineacion(p.alineacion));
    bloque.setLineHeight(estilo.dInterlineado * 100.0, QTextBlockFormat::ProportionalHeight);
    bloque.setBottomMargin(estilo.dEspacioDespues * kPixelesMargenPorPunto);
    if (primero) {
      cursor.setBlockFormat(bloque);
      cursor.setBlockCharFormat(base);
      primero = false;
    } else {
      cursor.insertBlock(bloque, base);
    }
    for (const auto& t : p.tramos)
      cursor.insertText(TextoImprimible(t.sTexto), Formato(estilo, t.bNegrita, t.bSubrayado));
  }
  return doc;
}

QRectF RectUnidades(const TRectMM& r, const TRectMM& margenes) {
  return {(margenes.x + r.x) * kUnidadesPorMM, (margenes.y + r.y) * kUnidadesPorMM,
          r.ancho * kUnidadesPorMM, r.alto * kUnidadesPorMM};
}

}  // namespace

TPaginasReporte::TPaginasReporte() : medida_(std::make_unique<TDispositivoMedida>()) {}
TPaginasReporte::~TPaginasReporte() = default;

void TPaginasReporte::Acomoda(TMarcoListo& m) const {
  // Shrinking widens the text column as much as it lowers the font, so long answers keep their
  // words together while the whole body still fits the frame. The largest factor that fits is
  // found by halving the interval.
  const double ancho = m.rect.width();
  const double alto = m.rect.height();
  auto cabe = [&](double escala) {
    m.documento->setTextWidth(ancho / escala);
    return m.documento->size().height() * escala <= alto;
  };
  m.escala = 1;
  m.recortado = false;
  if (cabe(1)) return;
  if (!cabe(kEscalaMinima)) {
    m.escala = kEscalaMinima;
    m.recortado = true;
    return;
  }
  double cabeSi = kEscalaMinima, cabeNo = 1;
  for (int k = 0; k < 10; ++k) {
    const double medio = (cabeSi + cabeNo) / 2;
    (cabe(medio) ? cabeSi : cabeNo) = medio;
  }
  m.escala = cabeSi;
  cabe(m.escala);  // leave the document laid out at the chosen factor
}

void TPaginasReporte::Prepara(const TPlantillaReporte& plantilla, const TVariablesReporte& variables) {
  PreparaFuentes();
  paginas_.clear();
  papelMM_ = QSizeF(plantilla.dAnchoPapel, plantilla.dAltoPapel);
  int numero = 0;
  for (const auto& p : plantilla.paginas) {
    ++numero;
    TPaginaLista lista;
    lista.sNombre = QString::fromStdString(p.sNombre);
    lista.cuerpo.documento = CreaDocumento(ExpandeParrafos(p.cuerpo, variables, numero), p.estilo, medida_.get());
    lista.cuerpo.rect = RectUnidades(p.marco, plantilla.margenes);
    Acomoda(lista.cuerpo);
    lista.pie.documento = CreaDocumento(ExpandeParrafos({p.pie}, variables, numero), p.estiloPie, medida_.get());
    lista.pie.rect = RectUnidades(p.marcoPie, plantilla.margenes);
    Acomoda(lista.pie);
    if (!p.nota.tramos.empty() && VariablesConValor(p.nota, variables)) {
      lista.nota.documento = CreaDocumento(ExpandeParrafos({p.nota}, variables, numero), p.estiloNota, medida_.get());
      lista.nota.rect = RectUnidades(p.marcoNota, plantilla.margenes);
      Acomoda(lista.nota);
    }
    paginas_.push_back(std::move(lista));
  }
}

QString TPaginasReporte::Nombre(int i) const { return paginas_.at(static_cast<size_t>(i)).sNombre; }

QString TPaginasReporte::Texto(int i) const {
  const auto& p = paginas_.at(static_cast<size_t>(i));
  QString texto = p.cuerpo.documento->toPlainText();
  if (p.nota.documento) texto += QLatin1Char('\n') + p.nota.documento->toPlainText();
  return texto + QLatin1Char('\n') + p.pie.documento->toPlainText();
}

double TPaginasReporte::Escala(int i) const { return paginas_.at(static_cast<size_t>(i)).cuerpo.escala; }

bool TPaginasReporte::Recortada(int i) const {
  return paginas_.at(static_cast<size_t>(i)).cuerpo.recortado;
}

void TPaginasReporte::DibujaMarco(QPainter& pintor, const TMarcoListo& m, const QString& resaltado) const {
  pintor.save();
  if (m.recortado) pintor.setClipRect(m.rect, Qt::IntersectClip);
  pintor.translate(m.rect.topLeft());
  pintor.scale(m.escala, m.escala);
  QAbstractTextDocumentLayout::PaintContext ctx;
  ctx.clip = QRectF(0, 0, m.rect.width() / m.escala, m.rect.height() / m.escala);
  ctx.palette.setColor(QPalette::Text, Qt::black);
  if (!resaltado.isEmpty()) {
    for (QTextCursor c = m.documento->find(resaltado); !c.isNull(); c = m.documento->find(resaltado, c)) {
      QAbstractTextDocumentLayout::Selection s;
      s.cursor = c;
      s.format.setBackground(QColor(255, 235, 59));
      ctx.selections.append(s);
    }
  }
  m.documento->documentLayout()->draw(&pintor, ctx);
  pintor.restore();
}

void TPaginasReporte::Dibuja(QPainter& pintor, const QPaintDevice& dispositivo, int i,
                             const QString& resaltado) const {
  const auto& p = paginas_.at(static_cast<size_t>(i));
  pintor.save();
  pintor.scale(dispositivo.logicalDpiX() / kUnidadesPorPulgada, dispositivo.logicalDpiY() / kUnidadesPorPulgada);
  DibujaMarco(pintor, p.cuerpo, resaltado);
  DibujaMarco(pintor, p.pie, resaltado);
  if (p.nota.documento) DibujaMarco(pintor, p.nota, resaltado);
  pintor.restore();
}

}  // namespace qavi
