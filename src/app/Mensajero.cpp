#include "app/Mensajero.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWidget>

#include "app/Utilerias.h"

namespace qavi {

namespace {
const QColor kRojo(255, 0, 0);
}

TMensajero::TMensajero(QLabel* txLabel) {
  F_CronAdvert.setInterval(kMsInicioParpadeo);
  F_CronAdvert.setTimerType(Qt::PreciseTimer);
  connect(&F_CronAdvert, &QTimer::timeout, this, &TMensajero::ParpadeaAdvertencia);
  F_Cronometro.setInterval(kMsLimpia);
  F_Cronometro.setTimerType(Qt::PreciseTimer);
  connect(&F_Cronometro, &QTimer::timeout, this, &TMensajero::LimpiaMensaje);
  SettxLabel(txLabel);
}

TMensajero::~TMensajero() {
  F_Cronometro.stop();
  F_CronAdvert.stop();
}

QColor TMensajero::ColorDe(const QLabel* etiqueta) { return etiqueta->palette().color(QPalette::WindowText); }

void TMensajero::PonColor(QLabel* etiqueta, const QColor& color) {
  QPalette p = etiqueta->palette();
  p.setColor(QPalette::WindowText, color);
  etiqueta->setPalette(p);
}

void TMensajero::SettxLabel(QLabel* txLabel) {
  F_txLabel = txLabel;
  ReiniciaEtiqueta();
}

void TMensajero::PonTexto(const QString& sTexto) {
  if (F_txLabel) F_txLabel->setText(sTexto);
  emit TextoCambiado(sTexto);
}

void TMensajero::ReiniciaEtiqueta() {
  if (!F_txLabel) return;
  PonTexto(QString());
  PonColor(F_txLabel, kRojo);
  F_txLabel->setVisible(true);
}

void TMensajero::MsjEnTx(const std::string& sTexto) {
  PonTexto(QString::fromStdString(sTexto));
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TMensajero::MsjTxTemp(const std::string& sTexto) {
  MsjEnTx(sTexto);
  // A running countdown goes on: the text is cleared 3 s after the first of several calls.
  if (!F_Cronometro.isActive()) F_Cronometro.start();
}

void TMensajero::MsjTxEspera(const std::string& sTexto, bool bTLargo) {
  MsjEnTx(sTexto);
  Espera(bTLargo ? kMsEsperaLarga : kMsEsperaCorta);
}

void TMensajero::LimpiaMensaje() {
  F_Cronometro.stop();
  PonTexto(QString());
}

void TMensajero::CampoObligatorio(IControlEtiqueta* txLabel, IControlEdicion* edEdit) {
  F_txAdv = dynamic_cast<QLabel*>(txLabel);
  if (auto* caja = dynamic_cast<QWidget*>(edEdit); caja && caja->isEnabled()) caja->setFocus(Qt::OtherFocusReason);
  if (!F_CronAdvert.isActive()) F_CronAdvert.start();
}

void TMensajero::ParpadeaAdvertencia() {
  // The pauses below handle messages: the window may drop its last reference meanwhile.
  auto vivo = weak_from_this().lock();
  F_CronAdvert.stop();
  if (F_txAdvAnt) PonColor(F_txAdvAnt, F_cColorAnt);
  F_txAdvAnt = F_txAdv;
  if (F_txAdv) F_cColorAnt = ColorDe(F_txAdv);
  // Each step reads the label afresh: a newer CampoObligatorio takes over a running sequence.
  for (int paso = 1; paso <= kPasosParpadeo; ++paso) {
    if (F_txAdv) PonColor(F_txAdv, paso % 2 == 1 ? F_cColorAnt : kRojo);
    Espera(kMsPasoParpadeo);
  }
}

}  // namespace qavi
