#include "app/Utilerias.h"

#include <cmath>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QLocale>
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
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (Boton) Boton->setEnabled(false);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  struct TRestaura {
    QWidget* boton;
    ~TRestaura() {
      QApplication::restoreOverrideCursor();
      if (boton) boton->setEnabled(true);
    }
  } restaura{Boton};
  Proceso();
}

namespace {

bool LeeCon(const QLocale& formato, const QString& s, double& d) {
  QLocale l = formato;
  l.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  d = l.toDouble(s, &ok);
  return ok && std::isfinite(d);
}

}  // namespace

double LeeNumero(const QString& sTexto) {
  double d = 0;
  if (LeeCon(QLocale(), sTexto, d)) return d;
  // Only a point can be typed in the rate box, so a point always counts as the decimal separator.
  if (LeeCon(QLocale::c(), sTexto, d)) return d;
  return 0;
}

void FiltraNumerico(QLineEdit* Sender, char16_t& Key) {
  if (Key == u'.') {
    const QString conPunto = (Sender ? Sender->text() : QString()) + QChar(Key);
    if (LeeNumero(conPunto) == 0) Key = 0;
  }
  const bool aceptada = Key == 8 || Key == 13 || Key == u'.' || (Key >= u'0' && Key <= u'9');
  if (!aceptada) Key = 0;
}

}  // namespace qavi
