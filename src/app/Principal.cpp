#include "app/Principal.h"

#include <algorithm>
#include <exception>
#include <type_traits>
#include <variant>

#include <QApplication>
#include <QFontDatabase>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QShowEvent>

#include "app/DataModule.h"
#include "app/Indicaciones.h"
#include "app/Utilerias.h"
#include "common/IIMensajeModal.h"
#include "report/render/Fuentes.h"

namespace qavi {

namespace {

const QColor kGrisOscuro(72, 72, 72);
const QColor kTeal(0, 128, 128);
const QColor kMarron(128, 0, 0);
const QColor kGris(128, 128, 128);

constexpr const char* kMsjFaltaUsuario = "Por favor, escriba su usuario (Administrador).";
constexpr const char* kMsjFaltaCambio = "Por favor, escriba el tipo de cambio.";
constexpr const char* kMsjCambioCero = "El tipo de cambio debe ser diferente a cero.";
constexpr const char* kMsjDeteccionLista = "La detección de PEPs ha finalizado.";
constexpr const char* kMsjAdvertencia = "¡Advertencia!";
constexpr const char* kMsjCancelado = "Proceso cancelado.";
constexpr const char* kMsjReporteListo = "El reporte se generó correctamente.";
constexpr const char* kMsjReporteFallo = "No fue posible generar el reporte. Llame a Soporte Técnico.";
constexpr const char* kMsjOtrasSucursales = "Cambió la lista de sucursales: presione \"Detectar PEPs\" de nuevo.";

// Wine's Tahoma Bold, the stand-in where Tahoma is not installed, is bold only in its spacing:
// there the regular face is emboldened instead.
bool& NegritaSintetica() {
  static bool b = false;
  return b;
}

void PreparaTahoma() {
  static bool hecho = false;
  if (hecho) return;
  hecho = true;
  NegritaSintetica() = !QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
  PreparaFuentes();
}

QFont Tahoma(int nPixeles, bool bNegrita = false) {
  QFont f(FamiliaDisponible(QStringLiteral("Tahoma")));
  f.setPixelSize(nPixeles);
  if (bNegrita && NegritaSintetica()) f.setStyleName(QStringLiteral("Regular"));
  f.setBold(bNegrita);
  return f;
}

// Blanks and control characters at both ends go, as the classic Trim does.
QString RecortaBlancos(const QString& s) {
  qsizetype a = 0, b = s.size();
  while (a < b && s[a].unicode() <= 32) ++a;
  while (b > a && s[b - 1].unicode() <= 32) --b;
  return s.mid(a, b - a);
}

using F = TfrmPrincipal;
// Where the window keeps each control; the control is made of the pointed type.
using TMiembro = std::variant<TMarco* F::*, TEtiqueta* F::*, TEdicion* F::*, TBoton* F::*, TGridPEPs* F::*,
                              QWidget* F::*>;

enum class TClase {
  Control,       // placed as given: frames, text boxes, buttons, the grid, panels
  Etiqueta,      // one line, as wide as its text
  Derecha,       // one line of fixed width, the text ending at its right edge
  Caja,          // fixed size, wraps at word boundaries
  CajaCentrada,  // as Caja, centred
  Linea,         // fixed size, one centred line (the status line)
};

struct TFilaControl {
  TMiembro miembro;
  const char* sNombre;
  TClase clase;
  QRect lugar;  // design pixels; a label without height is as high as its font
  const char* sTexto = "";
  QColor color = Qt::black;
  int nPixeles = 0;  // character height; 0 takes the window's font
  bool bNegrita = false;
  const char* sHint = "";
  QWidget* F::*padre = nullptr;  // none: the window
};

// The window as designed, in creation order (frames first: they lie beneath everything else).
const TFilaControl kControles[] = {
    {&F::Shape2, "Shape2", TClase::Control, {71, 65, 546, 99}},
    {&F::Shape1, "Shape1", TClase::Control, {71, 179, 545, 111}},
    {&F::Shape3, "Shape3", TClase::Control, {71, 303, 545, 93}},
    {&F::Shape4, "Shape4", TClase::Control, {71, 409, 546, 243}},
    {&F::Label1, "Label1", TClase::Etiqueta, {182, 20, 0, 0}, "Cuestionario de Operatividad QAVI 2016", kTeal, 16,
     true},
    {&F::Label6, "Label6", TClase::Etiqueta, {88, 74, 0, 0}, "1.- Indique Tipo de Cambio promedio del 2015", kTeal, 16},
    {&F::txCambio, "txCambio", TClase::Derecha, {219, 113, 79, 0}, "Tipo de Cambio*", kGrisOscuro, 11},
    {&F::Label2, "Label2", TClase::Derecha, {483, 145, 122, 0}, "*Tipo de cambio sugerido: 16", kGrisOscuro, 9},
    {&F::Label4, "Label4", TClase::Etiqueta, {88, 190, 0, 0}, "2.- Indique Clave y Contraseña del Velmar", kTeal, 16},
    {&F::txUsuario, "txUsuario", TClase::Derecha, {153, 227, 129, 0}, "Clave de Entrada a Velmar", kGrisOscuro, 11},
    {&F::txPassw, "txPassw", TClase::Derecha, {236, 254, 46, 0}, "Password", kGrisOscuro, 11},
    {&F::Label9, "Label9", TClase::Etiqueta, {88, 315, 0, 0}, "3.- Presione el botón \"Detectar PEPs\"", kTeal, 16},
    {&F::Label8, "Label8", TClase::Caja, {95, 348, 350, 22},
     "Se mostrará en el paso 4 de este programa, una lista de Usuarios que realizaron operaciones con su CC durante "
     "2015, y que fueron considerados como posibles PEPs",
     kGrisOscuro, 9},
    {&F::txPaso4, "txPaso4", TClase::Caja, {88, 420, 503, 38},
     "4.- De la siguiente lista, marque sólo los Usuarios que se consideraron como PEPs", kTeal, 16},
    {&F::Label7, "Label7", TClase::Etiqueta, {95, 476, 0, 0}, "Tip: NO marque los Usuarios que dictaminó como homónimos",
     kGrisOscuro, 9},
    {&F::txMensajes, "txMensajes", TClase::Linea, {62, 658, 579, 14}, "Mensajes", Qt::black, 12},
    {&F::txPruebas, "txPruebas", TClase::Etiqueta, {62, 682, 0, 0}, "Versión BETA", kMarron, 12, true},
    {&F::Label5, "Label5", TClase::Derecha, {7, 709, 22, 0}, "v1.8", kGrisOscuro, 11},
    {&F::edCambio, "edCambio", TClase::Control, {320, 110, 121, 21}, "16", {}, 0, false, "Tipo de Cambio a utilizar"},
    {&F::edUsuario, "edUsuario", TClase::Control, {304, 224, 121, 21}, "", {}, 0, false,
     "Usuario administrador para acceder a Velmar"},
    {&F::edPassw, "edPassw", TClase::Control, {304, 251, 121, 21}, "", {}, 0, false,
     "Contraseña del usuario administrador para acceder a Velmar"},
    // Beside the key of step 2, in the column of the step buttons.
    {&F::bnSucursales, "bnSucursales", TClase::Control, {479, 237, 105, 25}, "Sucursales…", {}, 0, false,
     "Carpetas del Velmar de las sucursales que el reporte consolida"},
    {&F::bnDetectaPEPs, "bnDetectaPEPs", TClase::Control, {479, 335, 105, 25}, "Detectar PEPs", {}, 0, false,
     "Cargará una lista de posibles PEPs en el paso 4"},
    {&F::grdPEPs, "grdPEPs", TClase::Control, {95, 491, 498, 122}, "", {}, 0, false,
     "Haga click en el recuadro si el Usuario es un PEP"},
    {&F::pnIgnorar, "pnIgnorar", TClase::Control, {633, 451, 511, 181}},
    {&F::Label11, "Label11", TClase::CajaCentrada, {77, 63, 357, 36},
     "No se detectaron operaciones con ningún PEP. Ignore este paso y presione el botón \"Generar reporte\".", kTeal,
     15, false, "", &F::pnIgnorar},
    {&F::bnGenReporte, "bnGenReporte", TClase::Control, {512, 678, 105, 25}, "Generar reporte"},
};

// Where "nothing found" covers step 4.
constexpr QPoint kLugarSinPEPs(88, 464);
// Frame the window manager adds, until the real one is known (title bar above, thin borders).
constexpr QMargins kMarcoEstimado(4, 30, 4, 4);
// Below this the texts would no longer be readable.
constexpr double kEscalaMinima = 0.5;

}  // namespace

TfrmPrincipal::TfrmPrincipal(TdmMain& dm, std::filesystem::path carpeta, QWidget* padre)
    : QWidget(padre),
      F_dm(dm),
      F_Carpeta(std::move(carpeta)),
      F_Pregunta(&PreguntaIndicaciones),
      F_PreguntaCambio(&PreguntaDuda),
      F_PideContrasena(&PideContrasena),
      F_EligeCarpeta(&EligeCarpetaVelmar) {
  PreparaTahoma();
  CreaControles();
  FormCreate();
  F_Sucursales = LeeSucursales(*AbreAjustes(), F_Carpeta);
  MuestraCuentaSucursales();
  if (const QScreen* pantalla = QGuiApplication::primaryScreen()) AjustaAPantalla(pantalla->availableGeometry());
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::CreaControles() {
  setObjectName(QStringLiteral("frmPrincipal"));
  setWindowTitle(QStringLiteral("Cuestionario QAVI 2016"));
  // Fixed size: no maximize button.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, Qt::white);
  paleta.setColor(QPalette::WindowText, Qt::black);
  setPalette(paleta);
  setAutoFillBackground(true);

  for (const auto& fila : kControles) {
    QWidget* padre = fila.padre ? this->*fila.padre : this;
    QWidget* control = std::visit(
        [&](auto miembro) -> QWidget* {
          using T = std::remove_pointer_t<std::remove_reference_t<decltype(this->*miembro)>>;
          auto* c = new T(padre);
          this->*miembro = c;
          return c;
        },
        fila.miembro);
    control->setObjectName(QLatin1String(fila.sNombre));
    control->setToolTip(QString::fromUtf8(fila.sHint));
    const QString texto = QString::fromUtf8(fila.sTexto);
    if (auto* e = qobject_cast<QLabel*>(control)) {
      e->setTextFormat(Qt::PlainText);
      e->setText(texto);
      TMensajero::PonColor(e, fila.color);
      e->setWordWrap(fila.clase == TClase::Caja || fila.clase == TClase::CajaCentrada);
      Qt::Alignment a = Qt::AlignLeft | Qt::AlignTop;
      if (fila.clase == TClase::Derecha) a = Qt::AlignRight | Qt::AlignTop;
      if (fila.clase == TClase::CajaCentrada || fila.clase == TClase::Linea) a = Qt::AlignHCenter | Qt::AlignTop;
      e->setAlignment(a);
    } else if (auto* b = qobject_cast<QPushButton*>(control)) {
      b->setText(texto);
    } else if (auto* c = qobject_cast<QLineEdit*>(control)) {
      c->setText(texto);
    }
  }
  pnIgnorar->setAutoFillBackground(true);
  F_Modelo = new TModeloPEPs(F_dm.vtPEPs, this);
  grdPEPs->AsignaModelo(F_Modelo);
  edUsuario->PonMayusculas();
  edPassw->PonMayusculas();
  edPassw->PonOculto();
  // Whatever way text enters the rate box, it holds what the key filter would let through.
  edCambio->setValidator(new TValidadorNumerico(edCambio));

  setTabOrder(edCambio, edUsuario);
  setTabOrder(edUsuario, edPassw);
  setTabOrder(edPassw, bnDetectaPEPs);
  setTabOrder(bnDetectaPEPs, grdPEPs);
  setTabOrder(grdPEPs, bnGenReporte);
  // Last, so Enter from the password still leads to "Detectar PEPs".
  setTabOrder(bnGenReporte, bnSucursales);

  edCambio->OnKeyPress = [this](TEdicion* s, char16_t& k, Qt::KeyboardModifiers m) {
    FiltraNumerico(s, k);
    NavegaConEnter(s, k, m);
  };
  edUsuario->OnKeyPress = [this](TEdicion* s, char16_t& k, Qt::KeyboardModifiers m) { NavegaConEnter(s, k, m); };
  edPassw->OnKeyPress = edUsuario->OnKeyPress;
  connect(bnDetectaPEPs, &QPushButton::clicked, this, &TfrmPrincipal::bnDetectaPEPsClick);
  connect(bnGenReporte, &QPushButton::clicked, this, &TfrmPrincipal::bnGenReporteClick);
  connect(bnSucursales, &QPushButton::clicked, this, &TfrmPrincipal::bnSucursalesClick);
  ColocaControles();
}

QRect TfrmPrincipal::Escalado(const QRect& r) const {
  // Edges are scaled, not sizes, so neighbours that touch at design size still touch.
  auto e = [this](int v) { return qRound(v * F_dEscala); };
  return QRect(QPoint(e(r.left()), e(r.top())), QPoint(e(r.left() + r.width()) - 1, e(r.top() + r.height()) - 1));
}

void TfrmPrincipal::ColocaControles() {
  auto pixeles = [this](int n) { return std::max(1, qRound(n * F_dEscala)); };
  setFixedSize(qRound(kAncho * F_dEscala), qRound(kAlto * F_dEscala));
  setFont(Tahoma(pixeles(11)));
  for (const auto& fila : kControles) {
    QWidget* control = std::visit([this](auto miembro) -> QWidget* { return this->*miembro; }, fila.miembro);
    QRect lugar = fila.lugar;
    if (control == pnIgnorar) lugar.moveTopLeft(F_ptIgnorar);
    if (fila.nPixeles > 0) control->setFont(Tahoma(pixeles(fila.nPixeles), fila.bNegrita));
    const QRect r = Escalado(lugar);
    switch (fila.clase) {
      case TClase::Etiqueta:
        control->adjustSize();
        control->move(r.topLeft());
        break;
      case TClase::Derecha: {
        // Where the text is wider than the box here, the box grows to the left: its right edge stays put.
        const int necesario = std::max(r.width(), control->sizeHint().width());
        control->setGeometry(r.right() + 1 - necesario, r.top(), necesario, control->fontMetrics().height());
        break;
      }
      default:
        control->setGeometry(r);
    }
  }
  grdPEPs->AjustaEscala(F_dEscala);
}

void TfrmPrincipal::AjustaAPantalla(const QRect& disponible) {
  QMargins marco(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                 frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
  if (marco.isNull()) marco = kMarcoEstimado;
  const double cabe = std::min({1.0, double(disponible.width() - marco.left() - marco.right()) / kAncho,
                                double(disponible.height() - marco.top() - marco.bottom()) / kAlto});
  const double escala = std::max(kEscalaMinima, cabe);
  if (escala != F_dEscala) {
    F_dEscala = escala;
    ColocaControles();
  }
  QRect exterior(QPoint(0, 0), size().grownBy(marco));
  exterior.moveCenter(disponible.center());
  // The title bar stays on screen even where nothing fits.
  exterior.moveTopLeft(QPoint(std::max(exterior.left(), disponible.left()), std::max(exterior.top(), disponible.top())));
  move(exterior.topLeft());
}

void TfrmPrincipal::TraeAlFrente() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
    modal->raise();
    modal->activateWindow();
  }
}

void TfrmPrincipal::FormCreate() {
  _MensajeroForm = std::make_shared<TMensajero>(txMensajes);
  ReiniciaPaso4();
  txPruebas->hide();
}

void TfrmPrincipal::ReiniciaPaso4() {
  bnGenReporte->setEnabled(false);
  pnIgnorar->hide();
  TMensajero::PonColor(txPaso4, kTeal);
  grdPEPs->setEnabled(false);
}

void TfrmPrincipal::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (e->spontaneous() || F_bIndicacionesPedidas) return;
  F_bIndicacionesPedidas = true;
  // Shown on another screen than the primary one, or with its real frame now known: fit again.
  QMetaObject::invokeMethod(
      this, [this] { AjustaAPantalla(screen()->availableGeometry()); }, Qt::QueuedConnection);
  // Queued, so the window is painted before the modal dialog takes over.
  QMetaObject::invokeMethod(this, &TfrmPrincipal::MuestraIndicaciones, Qt::QueuedConnection);
}

void TfrmPrincipal::MuestraIndicaciones() {
  if (F_Pregunta && F_Pregunta(this)) {
    edCambio->setFocus(Qt::OtherFocusReason);
    // The window may not be active yet, and then the box gets the focus later, from the window.
    edCambio->selectAll();
    return;
  }
  close();
}

void TfrmPrincipal::NavegaConEnter(TEdicion* Sender, char16_t& Key, Qt::KeyboardModifiers mods) {
  if (Key != u'\r') return;
  if (Sender && !Sender->hasFocus()) Sender->setFocus(Qt::OtherFocusReason);
  focusNextPrevChild(!(mods & Qt::ShiftModifier));
  Key = 0;
}

double TfrmPrincipal::TipoCambio() const { return LeeNumero(edCambio->text()); }

bool TfrmPrincipal::FaltanDatos() {
  auto falta = [this](TEtiqueta* etiqueta, TEdicion* caja, const char* sTexto) {
    _MensajeroForm->CampoObligatorio(etiqueta, caja);
    _MensajeroForm->MsjTxTemp(sTexto);
    return true;
  };
  if (RecortaBlancos(edUsuario->text()).isEmpty()) return falta(txUsuario, edUsuario, kMsjFaltaUsuario);
  if (RecortaBlancos(edCambio->text()).isEmpty()) return falta(txCambio, edCambio, kMsjFaltaCambio);
  if (TipoCambio() <= 0) return falta(txCambio, edCambio, kMsjCambioCero);
  return false;
}

bool TfrmPrincipal::ConfirmaTipoCambio() {
  const double d = TipoCambio();
  if (d >= kCambioMinimo && d <= kCambioMaximo) return true;
  const QString texto = QStringLiteral("¿Es correcto el tipo de cambio %1?").arg(QString::number(d, 'g', 15));
  if (F_PreguntaCambio && F_PreguntaCambio(this, texto)) return true;
  edCambio->setFocus(Qt::OtherFocusReason);
  edCambio->selectAll();
  return false;
}

void TfrmPrincipal::MuestraSinPEPs(bool bMostrar) {
  if (bMostrar) {
    F_ptIgnorar = kLugarSinPEPs;
    pnIgnorar->move(Escalado(QRect(F_ptIgnorar, QSize(1, 1))).topLeft());
    pnIgnorar->show();
    pnIgnorar->raise();
    TMensajero::PonColor(txPaso4, kGris);
  } else {
    pnIgnorar->hide();
    TMensajero::PonColor(txPaso4, kTeal);
  }
}

void TfrmPrincipal::ActualizaBotones() {
  bnDetectaPEPs->setEnabled(!F_bEnCorrida);
  bnGenReporte->setEnabled(!F_bEnCorrida && F_bDeteccionHecha);
  bnSucursales->setEnabled(!F_bEnCorrida);
}

void TfrmPrincipal::CorreOcupado(void (TfrmPrincipal::*proceso)(), QPushButton* boton) {
  F_bEnCorrida = true;
  const auto fin = qScopeGuard([this] {
    F_bEnCorrida = false;
    ActualizaBotones();
  });
  try {
    // The other button is disabled inside, once the pressed one has handed its focus to the window.
    EjecutaOcupado(
        [this, proceso] {
          ActualizaBotones();
          (this->*proceso)();
        },
        boton);
  } catch (const std::exception& e) {
    // Nobody else handles it: report it as the application does with any unexpected error.
    MuestraMensaje(e.what());
  }
}

void TfrmPrincipal::MuestraRechazo(const TPreambulo& pre) {
  // With several branches the line says which one refused, as its box did.
  const auto rechazo = [&](const char* texto) {
    std::string s = texto;
    const int n = pre.sucursalFallida;
    if (n > 0 && static_cast<std::size_t>(n) <= F_Corrida.size())
      s = NombraSucursal({n, F_Corrida[std::size_t(n - 1)].carpeta, 0, {}}) + ": " + s;
    _MensajeroForm->MsjEnTx(s);
  };
  // A missing database said so before connecting; a wrong password has its own line already.
  switch (pre.falla) {
    case TFallaPreambulo::Empresa: rechazo(kMsjSinEmpresa); break;
    case TFallaPreambulo::UsuarioConectado: rechazo(kMsjUsuarioConectado); break;
    case TFallaPreambulo::BaseDeDatos:
      // The connection layer showed its own box; "Conectando..." would stay on forever.
      if (txMensajes->text() == QString::fromUtf8(kMsjConectando)) _MensajeroForm->MsjEnTx("");
      break;
    default: break;
  }
}

void TfrmPrincipal::bnDetectaPEPsClick() {
  // A click that arrives while another is handled (the runs process window messages) is ignored.
  if (F_bAtendiendoClick) return;
  F_bAtendiendoClick = true;
  const auto libre = qScopeGuard([this] { F_bAtendiendoClick = false; });
  if (FaltanDatos() || !ConfirmaTipoCambio()) return;
  switch (PreparaSucursales()) {
    case TListaCorrida::Cancelada: _MensajeroForm->MsjTxEspera(kMsjCancelado, false); return;
    case TListaCorrida::Repetida: return;
    case TListaCorrida::Lista: break;
  }
  MuestraSinPEPs(false);
  CorreOcupado(&TfrmPrincipal::EjecutaDeteccionPEPs, bnDetectaPEPs);
}

TfrmPrincipal::TListaCorrida TfrmPrincipal::PreparaSucursales() {
  F_Corrida.assign(1, {F_Carpeta, std::nullopt, std::nullopt});
  for (std::size_t i = 0; i < F_Sucursales.size(); ++i) {
    const int numero = static_cast<int>(i) + 2;
    for (std::size_t j = 0; j < F_Corrida.size(); ++j)
      // A folder counted twice would count its operations twice.
      if (MismaCarpeta(F_Sucursales[i].carpeta, F_Corrida[j].carpeta)) {
        MuestraMensaje(MensajeSucursalRepetida(numero, F_Sucursales[i].carpeta, static_cast<int>(j) + 1));
        return TListaCorrida::Repetida;
      }
    TSucursalVentana& s = F_Sucursales[i];
    if (s.FaltaPassword()) {
      const QString texto = QStringLiteral("Escriba la contraseña de %1 en la sucursal %2 (%3):")
                                .arg(s.clave)
                                .arg(numero)
                                .arg(TextoDeRuta(s.carpeta));
      std::optional<QString> p = F_PideContrasena ? F_PideContrasena(this, texto) : std::nullopt;
      if (!p) return TListaCorrida::Cancelada;
      s.password = *p;
    }
    TSucursal corrida{s.carpeta, std::nullopt, std::nullopt};
    if (s.ClavePropia()) {
      corrida.usuario = s.clave.toStdString();
      corrida.password = s.password->toStdString();
    }
    F_Corrida.push_back(std::move(corrida));
  }
  return TListaCorrida::Lista;
}

TPreambulo TfrmPrincipal::Prepara() {
  auto pre = PreparaCorrida(F_Corrida, TipoCambio(), edUsuario->text().toStdString(), edPassw->text().toStdString(),
                            F_dm.repGeneral(), _MensajeroForm);
  if (pre.falla == TFallaPreambulo::Acceso) {
    const std::size_t i = static_cast<std::size_t>(std::max(0, pre.sucursalFallida - 2));
    if (pre.sucursalFallida >= 2 && i < F_Sucursales.size() && F_Sucursales[i].ClavePropia())
      // Its own password was wrong: the next run asks for it again; step 2 is not to blame.
      F_Sucursales[i].password.reset();
    else
      _MensajeroForm->CampoObligatorio(txPassw, edPassw);
  }
  return pre;
}

std::vector<QString> TfrmPrincipal::NombresSucursales(const std::vector<TDatosSucursal>& datos) const {
  std::vector<QString> r;
  for (const auto& d : datos) r.push_back(QString::fromStdString(NombraSucursal(d)));
  return r;
}

void TfrmPrincipal::EjecutaDeteccionPEPs() {
  auto pre = Prepara();
  MuestraRechazo(pre);
  if (!pre.rep) return;

  bool bDetectado = false;
  {
    // The grid keeps painting while the detection refills the table.
    F_Modelo->IniciaRecarga();
    const auto fin = qScopeGuard([this] { F_Modelo->TerminaRecarga(); });
    F_Modelo->MuestraSucursales(NombresSucursales(pre.sucursales));
    bDetectado = pre.rep->DetectaPEPs(F_dm.vtPEPs);
  }
  if (!bDetectado) return;

  const bool bHayPEPs = F_dm.vtPEPs.RecordCount() > 0;
  if (bHayPEPs) {
    grdPEPs->setEnabled(true);
    grdPEPs->setCurrentIndex(F_Modelo->index(0, TModeloPEPs::kColMarca));
  }
  MuestraSinPEPs(!bHayPEPs);
  F_bDeteccionHecha = true;
  _MensajeroForm->MsjTxTemp(kMsjDeteccionLista);
}

void TfrmPrincipal::bnGenReporteClick() {
  if (F_bAtendiendoClick) return;
  F_bAtendiendoClick = true;
  const auto libre = qScopeGuard([this] { F_bAtendiendoClick = false; });
  if (FaltanDatos() || !ConfirmaTipoCambio()) return;
  _MensajeroForm->MsjTxEspera(kMsjAdvertencia, false);
  const auto lista = F_Pregunta && F_Pregunta(this) ? PreparaSucursales() : TListaCorrida::Cancelada;
  switch (lista) {
    case TListaCorrida::Lista: CorreOcupado(&TfrmPrincipal::EjecutaGeneraReporte, bnGenReporte); break;
    case TListaCorrida::Cancelada: _MensajeroForm->MsjTxEspera(kMsjCancelado, false); break;
    case TListaCorrida::Repetida: _MensajeroForm->MsjEnTx(kMsjReporteFallo); break;
  }
}

void TfrmPrincipal::EjecutaGeneraReporte() {
  auto pre = Prepara();
  const bool bOk = pre.rep && pre.rep->GeneraReporte(F_dm.vtPEPs);
  _MensajeroForm->MsjEnTx(bOk ? kMsjReporteListo : kMsjReporteFallo);
}

void TfrmPrincipal::MuestraCuentaSucursales() {
  bnSucursales->setText(F_Sucursales.empty() ? QStringLiteral("Sucursales…")
                                             : QStringLiteral("Sucursales (%1)…").arg(F_Sucursales.size() + 1));
}

void TfrmPrincipal::bnSucursalesClick() {
  if (F_bAtendiendoClick || F_bEnCorrida) return;
  F_bAtendiendoClick = true;
  const auto libre = qScopeGuard([this] { F_bAtendiendoClick = false; });
  TdlgSucursales dlg(F_Carpeta, F_Sucursales, F_EligeCarpeta, this);
  if (dlg.exec() == QDialog::Accepted) AsignaSucursales(dlg.Sucursales());
}

void TfrmPrincipal::AsignaSucursales(std::vector<TSucursalVentana> sucursales) {
  const auto iguales = [](const std::vector<TSucursalVentana>& a, const std::vector<TSucursalVentana>& b, bool claves) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [claves](const auto& x, const auto& y) {
      return x.carpeta == y.carpeta && (!claves || x.clave == y.clave);
    });
  };
  const bool otrasCarpetas = !iguales(F_Sucursales, sucursales, false);
  const bool guardar = !iguales(F_Sucursales, sucursales, true);
  F_Sucursales = std::move(sucursales);
  MuestraCuentaSucursales();
  if (guardar && !GuardaSucursales(*AbreAjustes(), F_Carpeta, F_Sucursales))
    MuestraMensaje("No se pudo guardar la lista de sucursales; se usará solo mientras el programa siga abierto.");
  if (otrasCarpetas) OlvidaDeteccion();
}

void TfrmPrincipal::OlvidaDeteccion() {
  const bool habia = F_bDeteccionHecha || F_dm.vtPEPs.RecordCount() > 0;
  F_Modelo->IniciaRecarga();
  F_dm.vtPEPs.Limpia();
  F_Modelo->MuestraSucursales({});
  F_Modelo->TerminaRecarga();
  F_bDeteccionHecha = false;
  ReiniciaPaso4();
  ActualizaBotones();
  if (habia) _MensajeroForm->MsjTxTemp(kMsjOtrasSucursales);
}

}  // namespace qavi
