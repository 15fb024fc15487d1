#pragma once
// TfrmPrincipal: the one window, four numbered steps from the exchange rate to the report.
#include <filesystem>
#include <functional>
#include <memory>

#include <QWidget>

#include "app/Controles.h"
#include "app/GridPEPs.h"
#include "app/Mensajero.h"
#include "common/Plataforma.h"

namespace qavi {

class TdmMain;
enum class TFallaPreambulo;

class TfrmPrincipal : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kAncho = 690;
  static constexpr int kAlto = 730;
  // A rate outside this range of pesos per dollar is asked about before any run.
  static constexpr double kCambioMinimo = 5;
  static constexpr double kCambioMaximo = 50;

  // Asks a Yes/No question (the instructions, a doubtful rate); true for Yes.
  using TPregunta = std::function<bool(QWidget* padre)>;
  using TPreguntaTexto = std::function<bool(QWidget* padre, const QString& sTexto)>;

  // carpeta: where Velmar lives (DataBase/Velmar.mdb, Velmar.INI): the folder of the executable,
  // never the current directory.
  explicit TfrmPrincipal(TdmMain& dm, std::filesystem::path carpeta = CarpetaEjecutable(), QWidget* padre = nullptr);
  ~TfrmPrincipal() override;

  // Replace the modal questions (tests answer them themselves).
  void AsignaPregunta(TPregunta pregunta) { F_Pregunta = std::move(pregunta); }
  void AsignaPreguntaCambio(TPreguntaTexto pregunta) { F_PreguntaCambio = std::move(pregunta); }
  const std::shared_ptr<TMensajero>& Mensajero() const { return _MensajeroForm; }
  const std::filesystem::path& Carpeta() const { return F_Carpeta; }

  // Field checks before either run; true (and the user told) when something is missing.
  bool FaltanDatos();
  // A rate outside the plausible range is confirmed by the user; false when not, with the box
  // focused and its text selected.
  bool ConfirmaTipoCambio();
  // Step 4 covered by the "nothing found" panel, or uncovered.
  void MuestraSinPEPs(bool bMostrar);
  // The rate typed in step 1; 0 when it is not a number.
  double TipoCambio() const;

  // Shrinks the whole layout, in proportion, until the window and its frame fit `disponible`
  // (never grows it past its design size), and centres it there.
  void AjustaAPantalla(const QRect& disponible);
  double Escala() const { return F_dEscala; }
  // Brings the window, or the dialog it is showing, to the front (a second start asks for it).
  void TraeAlFrente();

  void bnDetectaPEPsClick();
  void bnGenReporteClick();
  void MuestraIndicaciones();

  // The controls, named as the rest of the system knows them.
  TMarco *Shape1, *Shape2, *Shape3, *Shape4;
  TEtiqueta *Label1, *Label6, *txCambio, *Label2, *Label4, *txUsuario, *txPassw, *Label9, *Label8, *txPaso4,
      *Label7, *Label11, *txMensajes, *txPruebas, *Label5;
  TEdicion *edCambio, *edUsuario, *edPassw;
  TBoton *bnDetectaPEPs, *bnGenReporte;
  TGridPEPs* grdPEPs;
  QWidget* pnIgnorar;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void CreaControles();
  void ColocaControles();
  void FormCreate();
  void ReiniciaPaso4();
  void NavegaConEnter(TEdicion* Sender, char16_t& Key, Qt::KeyboardModifiers mods);
  void EjecutaDeteccionPEPs();
  void EjecutaGeneraReporte();
  // After a refused preamble: the refusal's own text replaces "Conectando con la BD...".
  void MuestraRechazo(TFallaPreambulo falla);
  // Runs one of the two runs busy; both buttons stay disabled meanwhile so neither run nests in the other.
  void CorreOcupado(void (TfrmPrincipal::*proceso)(), QPushButton* boton);
  void ActualizaBotones();
  QRect Escalado(const QRect& r) const;

  TdmMain& F_dm;
  std::filesystem::path F_Carpeta;
  std::shared_ptr<TMensajero> _MensajeroForm;
  TModeloPEPs* F_Modelo = nullptr;
  TPregunta F_Pregunta;
  TPreguntaTexto F_PreguntaCambio;
  double F_dEscala = 1;
  // Design place of pnIgnorar: where it waits, until it first covers step 4.
  QPoint F_ptIgnorar{633, 451};
  bool F_bIndicacionesPedidas = false;
  bool F_bDeteccionHecha = false;
  bool F_bEnCorrida = false;
  bool F_bAtendiendoClick = false;
};

}  // namespace qavi
