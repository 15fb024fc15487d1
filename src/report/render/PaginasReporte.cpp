#include "report/render/PaginasReporte.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextLayout>
#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <climits>

#include "report/render/Fuentes.h"

namespace qavi {

namespace {

constexpr double kUnidadesPorMM = TPaginasReporte::kUnidadesPorPulgada / 25.4;
// Qt's text layout takes block margins in pixels of a 96-dpi screen and scales them to the
// paint device itself.
constexpr double kPixelesMargenPorPunto = 96.0 / 72.0;

// Underlines are drawn by the report itself, not by the font: the font's own line sits so close
// to the letters that on a reduced preview it runs through them. Below the baseline and thick,
// as fractions of the font's size.
constexpr int kPropSubrayado = QTextFormat::UserProperty + 1;
constexpr double kBajaSubrayado = 0.14;
constexpr double kGruesoSubrayado = 0.055;

const QColor kResaltado(255, 235, 59);
const QColor kResaltadoActual(255, 152, 0);

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
  if (subrayado) f.setProperty(kPropSubrayado, true);
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

// The report's own underlines: one bar under each underlined run, line by line.
void DibujaSubrayados(QPainter& pintor, const QTextDocument& doc) {
  pintor.save();
  const QAbstractTextDocumentLayout* capa = doc.documentLayout();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const QTextLayout* l = b.layout();
    const QPointF origen = capa->blockBoundingRect(b).topLeft();
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (!frag.isValid() || !frag.charFormat().boolProperty(kPropSubrayado)) continue;
      const int desde = frag.position() - b.position();
      const int hasta = desde + frag.length();
      const QFontMetricsF fm(frag.charFormat().font(), doc.documentLayout()->paintDevice());
      const double em = fm.height();
      for (int n = 0; n < l->lineCount(); ++n) {
        const QTextLine linea = l->lineAt(n);
        const int a = std::max(desde, linea.textStart());
        const int z = std::min(hasta, linea.textStart() + linea.textLength());
        if (a >= z) continue;
        // A run that ends the line leaves its trailing blank without a bar.
        int zVisible = z;
        while (zVisible > a && b.text().at(zVisible - 1).isSpace()) --zVisible;
        if (zVisible == a) continue;
        const double x1 = linea.cursorToX(a), x2 = linea.cursorToX(zVisible);
        const double base = linea.y() + linea.ascent() + kBajaSubrayado * em;
        const QRectF barra(origen + QPointF(std::min(x1, x2), base), QSizeF(std::abs(x2 - x1), kGruesoSubrayado * em));
        pintor.fillRect(barra, frag.charFormat().foreground());
        // Reduced below a pixel the bar would vanish: a hairline down its middle keeps it seen.
        pintor.setPen(QPen(frag.charFormat().foreground(), 0));
        pintor.drawLine(QLineF(barra.left(), barra.center().y(), barra.right(), barra.center().y()));
      }
    }
  }
  pintor.restore();
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

std::vector<TCoincidencia> TPaginasReporte::Busca(const QString& texto) const {
  std::vector<TCoincidencia> r;
  if (texto.isEmpty()) return r;
  for (int i = 0; i < Cuenta(); ++i) {
    for (const auto marco : {TCoincidencia::kCuerpo, TCoincidencia::kPie, TCoincidencia::kNota}) {
      const TMarcoListo& m = Marco({i, marco});
      if (!m.documento) continue;
      for (QTextCursor c = m.documento->find(texto); !c.isNull(); c = m.documento->find(texto, c))
        r.push_back({i, marco, c.selectionStart(), c.selectionEnd() - c.selectionStart()});
    }
  }
  return r;
}

const TPaginasReporte::TMarcoListo& TPaginasReporte::Marco(const TCoincidencia& c) const {
  const auto& p = paginas_.at(static_cast<size_t>(c.pagina));
  switch (c.marco) {
    case TCoincidencia::kPie: return p.pie;
    case TCoincidencia::kNota: return p.nota;
    default: return p.cuerpo;
  }
}

QRectF TPaginasReporte::Rect(const TCoincidencia& c) const {
  const TMarcoListo& m = Marco(c);
  const QTextBlock b = m.documento->findBlock(c.desde);
  if (!b.isValid() || !b.layout()) return m.rect;
  const int enBloque = c.desde - b.position();
  const QTextLine linea = b.layout()->lineForTextPosition(enBloque);
  if (!linea.isValid()) return m.rect;
  const QPointF origen = m.documento->documentLayout()->blockBoundingRect(b).topLeft();
  const int fin = std::min(enBloque + c.largo, linea.textStart() + linea.textLength());
  const double x1 = linea.cursorToX(enBloque), x2 = linea.cursorToX(fin);
  const QRectF enDoc(origen + QPointF(std::min(x1, x2), linea.y()), QSizeF(std::abs(x2 - x1), linea.height()));
  return QRectF(m.rect.topLeft() + enDoc.topLeft() * m.escala, enDoc.size() * m.escala);
}

void TPaginasReporte::DibujaMarco(QPainter& pintor, const TMarcoListo& m, const QString& resaltado,
                                  const TCoincidencia* actual) const {
  pintor.save();
  if (m.recortado) pintor.setClipRect(m.rect, Qt::IntersectClip);
  pintor.translate(m.rect.topLeft());
  pintor.scale(m.escala, m.escala);
  QAbstractTextDocumentLayout::PaintContext ctx;
  ctx.clip = QRectF(0, 0, m.rect.width() / m.escala, m.rect.height() / m.escala);
  ctx.palette.setColor(QPalette::Text, Qt::black);
  const bool actualAqui = actual && &Marco(*actual) == &m;
  if (!resaltado.isEmpty()) {
    for (QTextCursor c = m.documento->find(resaltado); !c.isNull(); c = m.documento->find(resaltado, c)) {
      QAbstractTextDocumentLayout::Selection s;
      s.cursor = c;
      const bool esActual = actualAqui && c.selectionStart() == actual->desde;
      s.format.setBackground(esActual ? kResaltadoActual : kResaltado);
      ctx.selections.append(s);
    }
  }
  m.documento->documentLayout()->draw(&pintor, ctx);
  DibujaSubrayados(pintor, *m.documento);
  pintor.restore();
}

void TPaginasReporte::Dibuja(QPainter& pintor, const QPaintDevice& dispositivo, int i, const QString& resaltado,
                             const TCoincidencia* actual) const {
  const auto& p = paginas_.at(static_cast<size_t>(i));
  pintor.save();
  pintor.scale(dispositivo.logicalDpiX() / kUnidadesPorPulgada, dispositivo.logicalDpiY() / kUnidadesPorPulgada);
  DibujaMarco(pintor, p.cuerpo, resaltado, actual);
  DibujaMarco(pintor, p.pie, resaltado, actual);
  if (p.nota.documento) DibujaMarco(pintor, p.nota, resaltado, actual);
  pintor.restore();
}

}  // namespace qavi
