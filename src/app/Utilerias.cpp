#include "app/Utilerias.h"

#include <cmath>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>

namespace qavi {

void Espera(int nMilisegundos) {
  QElapsedTimer reloj;
  reloj.start();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // Instead of spinning, sleep in a nested loop until the time is up; it handles the same messages.
  for (qint64 resta = nMilisegundos - reloj.elapsed(); resta > 0; resta = nMilisegundos - reloj.elapsed()) {
    QEventLoop lazo;
    QTimer::singleShot(static_cast<int>(resta), Qt::PreciseTimer, &lazo, &QEventLoop::quit);
    lazo.exec();
  }
}

void EjecutaOcupado(const std::function<void()>& Proceso, QWidget* Boton) {
  QPointer<QWidget> boton = Boton;
  // Disabling a focused button hands its focus to the next control (the rate box): park it on
  // the window instead.
  QPointer<QWidget> ventana = Boton && Boton->hasFocus() ? Boton->window() : nullptr;
  if (ventana) ventana->setFocus(Qt::OtherFocusReason);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (boton) boton->setEnabled(false);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  const auto restaura = qScopeGuard([boton, ventana] {
    QApplication::restoreOverrideCursor();
    if (!boton) return;
    boton->setEnabled(true);
    if (ventana && (QApplication::focusWidget() == ventana || !QApplication::focusWidget()))
      boton->setFocus(Qt::OtherFocusReason);
  });
  Proceso();
}

namespace {

bool EsSeparador(QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(','); }

// The text the box would hold with Key typed at the caret, over the selection if there is one.
QString TextoConTecla(const QLineEdit* caja, QChar Key) {
  if (!caja) return QString(Key);
  QString t = caja->text();
  if (caja->hasSelectedText()) {
    const int desde = caja->selectionStart();
    return t.replace(desde, caja->selectedText().size(), Key);
  }
  return t.insert(caja->cursorPosition(), Key);
}

}  // namespace

double LeeNumero(const QString& sTexto) {
  QString s = sTexto.trimmed();
  if (s.count(QLatin1Char('.')) + s.count(QLatin1Char(',')) > 1) return 0;
  s.replace(QLatin1Char(','), QLatin1Char('.'));
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double d = c.toDouble(s, &ok);
  return ok && std::isfinite(d) ? d : 0;
}

void FiltraNumerico(QLineEdit* Sender, char16_t& Key) {
  if (EsSeparador(QChar(Key)) && LeeNumero(TextoConTecla(Sender, QChar(Key))) == 0) Key = 0;
  const bool aceptada = Key == 8 || Key == 13 || EsSeparador(QChar(Key)) || (Key >= u'0' && Key <= u'9');
  if (!aceptada) Key = 0;
}

QValidator::State TValidadorNumerico::validate(QString& input, int&) const {
  int separadores = 0;
  for (QChar c : input) {
    if (EsSeparador(c))
      ++separadores;
    else if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return Invalid;
  }
  return separadores <= 1 ? Acceptable : Invalid;
}

}  // namespace qavi
