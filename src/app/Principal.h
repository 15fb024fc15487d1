#pragma once
// TfrmPrincipal: the one window, four numbered steps from the exchange rate to the report.
#include <filesystem>
#include <functional>
#include <memory>

#include <QPushButton>
#include <QWidget>

#include "app/Controles.h"
#include "app/GridPEPs.h"
#include "app/Mensajero.h"
#include "common/Plataforma.h"

namespace qavi {

class TdmMain;

class TfrmPrincipal : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kAncho = 690;
  static constexpr int kAlto = 730;

  // Asks the instructions question; true for Yes.
  using TPregunta = std::function<bool(QWidget* padre)>;

  // carpeta: where Velmar lives (DataBase/Velmar.mdb, Velmar.INI): the folder of the executable,
  // never the current directory.
  explicit TfrmPrincipal(TdmMain& dm, std::filesystem::path carpeta = CarpetaEjecutable(), QWidget* padre = nullptr);
  ~TfrmPrincipal() override;

  // Replaces the modal instructions dialog (tests answer it themselves).
  void AsignaPregunta(TPregunta pregunta) { F_Pregunta = std::move(pregunta); }
  const std::shared_ptr<TMensajero>& Mensajero() const { return _MensajeroForm; }
  const std::filesystem::path& Carpeta() const { return F_Carpeta; }

  // Field checks before either run; true (and the user told) when something is missing.
  bool FaltanDatos();
  // Step 4 covered by the "nothing found" panel, or uncovered.
  void MuestraSinPEPs(bool bMostrar);
  // The rate typed in step 1; 0 when it is not a number.
  double TipoCambio() const;

  void bnDetectaPEPsClick();
  void bnGenReporteClick();
  void MuestraIndicaciones();

  // The controls, named as the rest of the system knows them.
  TMarco *Shape1, *Shape2, *Shape3, *Shape4;
  TEtiqueta *Label1, *Label6, *txCambio, *Label2, *Label4, *txUsuario, *txPassw, *Label9, *Label8, *txPaso4,
      *Label7, *Label11, *txMensajes, *txPruebas, *Label5;
  TEdicion *edCambio, *edUsuario, *edPassw;
  QPushButton *bnDetectaPEPs, *bnGenReporte;
  TGridPEPs* grdPEPs;
  QWidget* pnIgnorar;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void CreaControles();
  void FormCreate();
  void ReiniciaPaso4();
  void NavegaConEnter(TEdicion* Sender, char16_t& Key, Qt::KeyboardModifiers mods);
  void EjecutaDeteccionPEPs();
  void EjecutaGeneraReporte();
  // Runs one of the two runs busy; both buttons stay disabled meanwhile so neither run nests in the other.
  void CorreOcupado(void (TfrmPrincipal::*proceso)(), QPushButton* boton);
  void ActualizaBotones();

  TdmMain& F_dm;
  std::filesystem::path F_Carpeta;
  std::shared_ptr<TMensajero> _MensajeroForm;
  TModeloPEPs* F_Modelo = nullptr;
  TPregunta F_Pregunta;
  bool F_bIndicacionesPedidas = false;
  bool F_bDeteccionHecha = false;
  bool F_bEnCorrida = false;
  bool F_bAtendiendoClick = false;
};

}  // namespace qavi
