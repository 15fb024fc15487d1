#pragma once
// The status-line messenger of the main window; the questionnaire object shares it during a run.
#include <memory>

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "common/IIMensajero.h"

class QLabel;

namespace qavi {

class TMensajero : public QObject, public IMensajero, public std::enable_shared_from_this<TMensajero> {
  Q_OBJECT

 public:
  static constexpr int kMsLimpia = 3000;
  static constexpr int kMsInicioParpadeo = 50;
  static constexpr int kMsPasoParpadeo = 300;
  static constexpr int kPasosParpadeo = 9;
  static constexpr int kMsEsperaCorta = 400;
  static constexpr int kMsEsperaLarga = 1000;

  explicit TMensajero(QLabel* txLabel);
  ~TMensajero() override;

  void MsjEnTx(const std::string& sTexto) override;
  void MsjTxTemp(const std::string& sTexto) override;
  void MsjTxEspera(const std::string& sTexto, bool bTLargo) override;
  void CampoObligatorio(IControlEtiqueta* txLabel, IControlEdicion* edEdit) override;

  // Binds the messenger to another status label (emptied and painted red).
  void SettxLabel(QLabel* txLabel);

  // Text colour of a label as the messenger reads and writes it.
  static QColor ColorDe(const QLabel* etiqueta);
  static void PonColor(QLabel* etiqueta, const QColor& color);

 signals:
  // Every text the status line takes, the empty one of clearing included.
  void TextoCambiado(const QString& sTexto);

 private:
  void PonTexto(const QString& sTexto);
  void ReiniciaEtiqueta();
  void LimpiaMensaje();
  void ParpadeaAdvertencia();

  QPointer<QLabel> F_txLabel;
  QPointer<QLabel> F_txAdv;
  QPointer<QLabel> F_txAdvAnt;
  QColor F_cColorAnt;
  QTimer F_Cronometro;
  QTimer F_CronAdvert;
};

}  // namespace qavi
