#include "app/Controles.h"

#include <algorithm>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QValidator>

namespace qavi {

namespace {

class TMayusculas : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

class TEstiloOculto : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* opcion, const QWidget* w, QStyleHintReturn* r) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, opcion, w, r);
  }
};

}  // namespace

TEdicion::TEdicion(QWidget* padre) : QLineEdit(padre) {}

void TEdicion::PonMayusculas() { setValidator(new TMayusculas(this)); }

void TEdicion::PonOculto() {
  auto* estilo = new TEstiloOculto;
  estilo->setParent(this);
  setStyle(estilo);
  setEchoMode(QLineEdit::Password);
}

std::optional<char16_t> CaracterDeTecla(const QKeyEvent* e) {
  const int k = e->key();
  if (k == Qt::Key_Return || k == Qt::Key_Enter) return u'\r';
  if (k == Qt::Key_Backspace) return u'\b';
  if (k == Qt::Key_Escape) return char16_t(27);
  if (k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Delete) return std::nullopt;
  if (e->modifiers() & Qt::AltModifier) return std::nullopt;
  if ((e->modifiers() & Qt::ControlModifier) && k >= Qt::Key_A && k <= Qt::Key_Z)
    return static_cast<char16_t>(k - Qt::Key_A + 1);
  const QString t = e->text();
  if (t.size() != 1 || t[0].unicode() < 32 || t[0].unicode() == 127) return std::nullopt;
  return t[0].unicode();
}

void TEdicion::keyPressEvent(QKeyEvent* e) {
  if (OnKeyPress) {
    if (auto c = CaracterDeTecla(e)) {
      char16_t Key = *c;
      OnKeyPress(this, Key, e->modifiers());
      if (Key == 0) {
        e->accept();
        return;
      }
    }
  }
  QLineEdit::keyPressEvent(e);
}

void TEdicion::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  // Not on a click (it places the caret), nor when the window or a context menu gives back the
  // focus the box already had.
  switch (e->reason()) {
    case Qt::MouseFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
      break;
    default:
      selectAll();
  }
}

TBoton::TBoton(QWidget* padre) : QPushButton(padre) { setAutoDefault(false); }

void TBoton::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    e->accept();
    click();
    return;
  }
  QPushButton::keyPressEvent(e);
}

TMarco::TMarco(QWidget* padre, const QColor& color) : QWidget(padre), color_(color) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TMarco::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(color_, 1));
  p.setBrush(Qt::NoBrush);
  // Corner ellipses a quarter of the shorter side across, as the classic rounded shape.
  const qreal radio = std::min(width(), height()) / 8.0;
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radio, radio);
}

}  // namespace qavi
