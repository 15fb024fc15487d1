#pragma once
// TfrmPrincipal: the one window, four numbered steps from the exchange rate to the report.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "app/Controles.h"
#include "app/DialogoSucursales.h"
#include "app/GridPEPs.h"
#include "app/Mensajero.h"
#include "app/Sucursales.h"
#include "common/Plataforma.h"
#include "engine/Corrida.h"

namespace qavi {

class TdmMain;

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
  // Asks for a password (masked); none when cancelled.
  using TPideContrasena = std::function<std::optional<QString>(QWidget* padre, const QString& sTexto)>;

  // carpeta: where Velmar lives (DataBase/Velmar.mdb, Velmar.INI): the folder of the executable,
  // never the current directory.
  explicit TfrmPrincipal(TdmMain& dm, std::filesystem::path carpeta = CarpetaEjecutable(), QWidget* padre = nullptr);
  ~TfrmPrincipal() override;

  // Replace the modal questions (tests answer them themselves).
  void AsignaPregunta(TPregunta pregunta) { F_Pregunta = std::move(pregunta); }
  void AsignaPreguntaCambio(TPreguntaTexto pregunta) { F_PreguntaCambio = std::move(pregunta); }
  void AsignaPideContrasena(TPideContrasena pide) { F_PideContrasena = std::move(pide); }
  void AsignaEligeCarpeta(TdlgSucursales::TEligeCarpeta elige) { F_EligeCarpeta = std::move(elige); }
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

  // Branches 2 onwards (branch 1 is Carpeta()); remembered from the last session, without passwords.
  const std::vector<TSucursalVentana>& Sucursales() const { return F_Sucursales; }
  // A new list: remembered for the next sessions; when its folders differ, the candidates of the
  // old ones go and "Detectar PEPs" must run again.
  void AsignaSucursales(std::vector<TSucursalVentana> sucursales);

  void bnDetectaPEPsClick();
  void bnGenReporteClick();
  void bnSucursalesClick();
  void MuestraIndicaciones();

  // The controls, named as the rest of the system knows them.
  TMarco *Shape1, *Shape2, *Shape3, *Shape4;
  TEtiqueta *Label1, *Label6, *txCambio, *Label2, *Label4, *txUsuario, *txPassw, *Label9, *Label8, *txPaso4,
      *Label7, *Label11, *txMensajes, *txPruebas, *Label5;
  TEdicion *edCambio, *edUsuario, *edPassw;
  TBoton *bnDetectaPEPs, *bnGenReporte, *bnSucursales;
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
  // The branches of the next run, each with its key and password; asks for the passwords this
  // session lacks. False when the user cancelled or two branches are one (nothing may run).
  enum class TListaCorrida { Lista, Cancelada, Repetida };
  TListaCorrida PreparaSucursales();
  // The preamble over F_Corrida; a refused password is the user's to type again.
  TPreambulo Prepara();
  // After a refused preamble: the refusal's own text replaces "Conectando con la BD...".
  void MuestraRechazo(const TPreambulo& pre);
  void MuestraCuentaSucursales();
  // The candidates of another list of branches: gone, and step 4 as before any detection.
  void OlvidaDeteccion();
  std::vector<QString> NombresSucursales(const std::vector<TDatosSucursal>& datos) const;
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
  TPideContrasena F_PideContrasena;
  TdlgSucursales::TEligeCarpeta F_EligeCarpeta;
  std::vector<TSucursalVentana> F_Sucursales;
  std::vector<TSucursal> F_Corrida;  // what the run in progress opens
  double F_dEscala = 1;
  // Design place of pnIgnorar: where it waits, until it first covers step 4.
  QPoint F_ptIgnorar{633, 451};
  bool F_bIndicacionesPedidas = false;
  bool F_bDeteccionHecha = false;
  bool F_bEnCorrida = false;
  bool F_bAtendiendoClick = false;
};

}  // namespace qavi
