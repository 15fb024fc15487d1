#include "app/Principal.h"

#include <algorithm>
#include <exception>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QShowEvent>

#include "app/DataModule.h"
#include "app/Indicaciones.h"
#include "app/Utilerias.h"
#include "common/IIMensajeModal.h"
#include "engine/Corrida.h"
#include "report/render/Fuentes.h"

namespace qavi {

namespace {

const QColor kGrisOscuro(72, 72, 72);
const QColor kTeal(0, 128, 128);
const QColor kMarron(128, 0, 0);
const QColor kPlata(192, 192, 192);
const QColor kGris(128, 128, 128);

constexpr const char* kMsjFaltaUsuario = "Por favor, escriba su usuario (Administrador).";
constexpr const char* kMsjFaltaCambio = "Por favor, escriba el tipo de cambio.";
constexpr const char* kMsjCambioCero = "El tipo de cambio debe ser diferente a cero.";
constexpr const char* kMsjDeteccionLista = "La detección de PEPs ha finalizado.";
constexpr const char* kMsjAdvertencia = "¡Advertencia!";
constexpr const char* kMsjCancelado = "Proceso cancelado.";
constexpr const char* kMsjReporteListo = "El reporte se generó correctamente.";
constexpr const char* kMsjReporteFallo = "No fue posible generar el reporte. Llame a Soporte Técnico.";

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

TEtiqueta* Etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QColor& color, int nPixeles,
                    bool bNegrita = false) {
  auto* e = new TEtiqueta(texto, padre);
  e->setObjectName(QLatin1String(nombre));
  e->setTextFormat(Qt::PlainText);
  e->setFont(Tahoma(nPixeles, bNegrita));
  TMensajero::PonColor(e, color);
  e->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return e;
}

// A label as wide as its text.
TEtiqueta* EtiquetaAuto(QWidget* padre, const char* nombre, int x, int y, const QString& texto, const QColor& color,
                        int nPixeles, bool bNegrita = false) {
  auto* e = Etiqueta(padre, nombre, texto, color, nPixeles, bNegrita);
  e->adjustSize();
  e->move(x, y);
  return e;
}

// A one-line label of fixed width whose text ends at its right edge.
// Where the text is wider than the box here, the box grows to the left: its right edge stays put.
TEtiqueta* EtiquetaDerecha(QWidget* padre, const char* nombre, int x, int y, int ancho, const QString& texto,
                           const QColor& color, int nPixeles) {
  auto* e = Etiqueta(padre, nombre, texto, color, nPixeles);
  e->setAlignment(Qt::AlignRight | Qt::AlignTop);
  const int necesario = std::max(ancho, e->sizeHint().width());
  e->setGeometry(x + ancho - necesario, y, necesario, e->fontMetrics().height());
  return e;
}

// A label of fixed size whose text wraps at word boundaries.
TEtiqueta* EtiquetaCaja(QWidget* padre, const char* nombre, const QRect& caja, const QString& texto,
                        const QColor& color, int nPixeles, Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignTop) {
  auto* e = Etiqueta(padre, nombre, texto, color, nPixeles);
  e->setWordWrap(true);
  e->setAlignment(alineacion);
  e->setGeometry(caja);
  return e;
}

TEdicion* Edicion(QWidget* padre, const char* nombre, int x, int y, const QString& hint) {
  auto* e = new TEdicion(padre);
  e->setObjectName(QLatin1String(nombre));
  e->setGeometry(x, y, 121, 21);
  e->setToolTip(hint);
  return e;
}

QPushButton* Boton(QWidget* padre, const char* nombre, int x, int y, const QString& texto) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QLatin1String(nombre));
  b->setGeometry(x, y, 105, 25);
  b->setAutoDefault(false);
  return b;
}

TMarco* Marco(QWidget* padre, const char* nombre, int x, int y, int ancho, int alto) {
  auto* m = new TMarco(padre, kPlata);
  m->setObjectName(QLatin1String(nombre));
  m->setGeometry(x, y, ancho, alto);
  return m;
}

}  // namespace

TfrmPrincipal::TfrmPrincipal(TdmMain& dm, std::filesystem::path carpeta, QWidget* padre)
    : QWidget(padre), F_dm(dm), F_Carpeta(std::move(carpeta)), F_Pregunta(&PreguntaIndicaciones) {
  PreparaTahoma();
  CreaControles();
  FormCreate();
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::CreaControles() {
  setObjectName(QStringLiteral("frmPrincipal"));
  setWindowTitle(QStringLiteral("Cuestionario QAVI 2016"));
  setFixedSize(kAncho, kAlto);
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, Qt::white);
  paleta.setColor(QPalette::WindowText, Qt::black);
  setPalette(paleta);
  setAutoFillBackground(true);
  setFont(Tahoma(11));
  if (const QScreen* pantalla = QGuiApplication::primaryScreen())
    move(pantalla->geometry().center() - QPoint(kAncho / 2, kAlto / 2));

  // Frames first: they lie beneath everything else.
  Shape2 = Marco(this, "Shape2", 71, 65, 546, 99);
  Shape1 = Marco(this, "Shape1", 71, 179, 545, 111);
  Shape3 = Marco(this, "Shape3", 71, 303, 545, 93);
  Shape4 = Marco(this, "Shape4", 71, 409, 546, 243);

  Label1 = EtiquetaAuto(this, "Label1", 182, 20, QStringLiteral("Cuestionario de Operatividad QAVI 2016"), kTeal, 16,
                        true);
  Label6 = EtiquetaAuto(this, "Label6", 88, 74, QStringLiteral("1.- Indique Tipo de Cambio promedio del 2015"), kTeal,
                        16);
  txCambio = EtiquetaDerecha(this, "txCambio", 219, 113, 79, QStringLiteral("Tipo de Cambio*"), kGrisOscuro, 11);
  Label2 = EtiquetaDerecha(this, "Label2", 483, 145, 122, QStringLiteral("*Tipo de cambio sugerido: 16"), kGrisOscuro,
                           9);
  Label4 = EtiquetaAuto(this, "Label4", 88, 190, QStringLiteral("2.- Indique Clave y Contraseña del Velmar"), kTeal, 16);
  txUsuario = EtiquetaDerecha(this, "txUsuario", 153, 227, 129, QStringLiteral("Clave de Entrada a Velmar"),
                              kGrisOscuro, 11);
  txPassw = EtiquetaDerecha(this, "txPassw", 236, 254, 46, QStringLiteral("Password"), kGrisOscuro, 11);
  Label9 = EtiquetaAuto(this, "Label9", 88, 315, QStringLiteral("3.- Presione el botón \"Detectar PEPs\""), kTeal, 16);
  Label8 = EtiquetaCaja(this, "Label8", QRect(95, 348, 350, 22),
                        QStringLiteral("Se mostrará en el paso 4 de este programa, una lista de Usuarios que realizaron "
                                       "operaciones con su CC durante 2015, y que fueron considerados como posibles PEPs"),
                        kGrisOscuro, 9);
  txPaso4 = EtiquetaCaja(
      this, "txPaso4", QRect(88, 420, 503, 38),
      QStringLiteral("4.- De la siguiente lista, marque sólo los Usuarios que se consideraron como PEPs"), kTeal, 16);
  Label7 = EtiquetaAuto(this, "Label7", 95, 476,
                        QStringLiteral("Tip: NO marque los Usuarios que dictaminó como homónimos"), kGrisOscuro, 9);
  txMensajes = EtiquetaCaja(this, "txMensajes", QRect(62, 658, 579, 14), QStringLiteral("Mensajes"), Qt::black, 12,
                            Qt::AlignHCenter | Qt::AlignTop);
  txMensajes->setWordWrap(false);
  txPruebas = EtiquetaAuto(this, "txPruebas", 62, 682, QStringLiteral("Versión BETA"), kMarron, 12, true);
  Label5 = EtiquetaDerecha(this, "Label5", 7, 709, 22, QStringLiteral("v1.8"), kGrisOscuro, 11);

  edCambio = Edicion(this, "edCambio", 320, 110, QStringLiteral("Tipo de Cambio a utilizar"));
  edCambio->setText(QStringLiteral("16"));
  edUsuario = Edicion(this, "edUsuario", 304, 224, QStringLiteral("Usuario administrador para acceder a Velmar"));
  edUsuario->PonMayusculas();
  edPassw = Edicion(this, "edPassw", 304, 251,
                    QStringLiteral("Contraseña del usuario administrador para acceder a Velmar"));
  edPassw->PonMayusculas();
  edPassw->PonOculto();

  bnDetectaPEPs = Boton(this, "bnDetectaPEPs", 479, 335, QStringLiteral("Detectar PEPs"));
  bnDetectaPEPs->setToolTip(QStringLiteral("Cargará una lista de posibles PEPs en el paso 4"));

  grdPEPs = new TGridPEPs(this);
  grdPEPs->setObjectName(QStringLiteral("grdPEPs"));
  grdPEPs->setGeometry(95, 491, 498, 122);
  grdPEPs->setToolTip(QStringLiteral("Haga click en el recuadro si el Usuario es un PEP"));
  F_Modelo = new TModeloPEPs(F_dm.vtPEPs, this);
  grdPEPs->AsignaModelo(F_Modelo);

  pnIgnorar = new QWidget(this);
  pnIgnorar->setObjectName(QStringLiteral("pnIgnorar"));
  pnIgnorar->setGeometry(633, 451, 511, 181);
  pnIgnorar->setAutoFillBackground(true);
  Label11 = EtiquetaCaja(pnIgnorar, "Label11", QRect(77, 63, 357, 36),
                         QStringLiteral("No se detectaron operaciones con ningún PEP. Ignore este paso y presione el "
                                        "botón \"Generar reporte\"."),
                         kTeal, 15, Qt::AlignHCenter | Qt::AlignTop);

  bnGenReporte = Boton(this, "bnGenReporte", 512, 678, QStringLiteral("Generar reporte"));

  setTabOrder(edCambio, edUsuario);
  setTabOrder(edUsuario, edPassw);
  setTabOrder(edPassw, bnDetectaPEPs);
  setTabOrder(bnDetectaPEPs, grdPEPs);
  setTabOrder(grdPEPs, bnGenReporte);

  edCambio->OnKeyPress = [this](TEdicion* s, char16_t& k, Qt::KeyboardModifiers m) {
    FiltraNumerico(s, k);
    NavegaConEnter(s, k, m);
  };
  edUsuario->OnKeyPress = [this](TEdicion* s, char16_t& k, Qt::KeyboardModifiers m) { NavegaConEnter(s, k, m); };
  edPassw->OnKeyPress = edUsuario->OnKeyPress;
  connect(bnDetectaPEPs, &QPushButton::clicked, this, &TfrmPrincipal::bnDetectaPEPsClick);
  connect(bnGenReporte, &QPushButton::clicked, this, &TfrmPrincipal::bnGenReporteClick);
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
  // Queued, so the window is painted before the modal dialog takes over.
  QMetaObject::invokeMethod(this, &TfrmPrincipal::MuestraIndicaciones, Qt::QueuedConnection);
}

void TfrmPrincipal::MuestraIndicaciones() {
  if (F_Pregunta && F_Pregunta(this)) {
    edCambio->setFocus(Qt::OtherFocusReason);
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

void TfrmPrincipal::MuestraSinPEPs(bool bMostrar) {
  if (bMostrar) {
    pnIgnorar->move(88, 464);
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
}

void TfrmPrincipal::CorreOcupado(void (TfrmPrincipal::*proceso)(), QPushButton* boton) {
  F_bEnCorrida = true;
  ActualizaBotones();
  struct TFin {
    TfrmPrincipal* f;
    ~TFin() {
      f->F_bEnCorrida = false;
      f->ActualizaBotones();
    }
  } fin{this};
  try {
    EjecutaOcupado([this, proceso] { (this->*proceso)(); }, boton);
  } catch (const std::exception& e) {
    // Nobody else handles it: report it as the application does with any unexpected error.
    MuestraMensaje(e.what());
  }
}

namespace {

// Marks a click as being handled for as long as the handler runs; a click that arrives while
// another is handled (the runs process window messages) is ignored.
class TAtiendeClick {
 public:
  explicit TAtiendeClick(bool& bAtendiendo) : b_(bAtendiendo), libre_(!bAtendiendo) { b_ = true; }
  ~TAtiendeClick() {
    if (libre_) b_ = false;
  }
  bool Libre() const { return libre_; }

 private:
  bool& b_;
  bool libre_;
};

}  // namespace

void TfrmPrincipal::bnDetectaPEPsClick() {
  TAtiendeClick atiende(F_bAtendiendoClick);
  if (!atiende.Libre()) return;
  if (FaltanDatos()) return;
  MuestraSinPEPs(false);
  CorreOcupado(&TfrmPrincipal::EjecutaDeteccionPEPs, bnDetectaPEPs);
}

void TfrmPrincipal::EjecutaDeteccionPEPs() {
  auto pre = PreparaCorrida(F_Carpeta, TipoCambio(), edUsuario->text().toStdString(), edPassw->text().toStdString(),
                            F_dm.repGeneral(), _MensajeroForm);
  if (pre.falla == TFallaPreambulo::Acceso) _MensajeroForm->CampoObligatorio(txPassw, edPassw);
  if (!pre.rep) return;

  bool bDetectado = false;
  {
    // The grid keeps painting while the detection refills the table.
    F_Modelo->IniciaRecarga();
    struct TFin {
      TModeloPEPs* m;
      ~TFin() { m->TerminaRecarga(); }
    } fin{F_Modelo};
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
  ActualizaBotones();
  _MensajeroForm->MsjTxTemp(kMsjDeteccionLista);
}

void TfrmPrincipal::bnGenReporteClick() {
  TAtiendeClick atiende(F_bAtendiendoClick);
  if (!atiende.Libre()) return;
  if (FaltanDatos()) return;
  _MensajeroForm->MsjTxEspera(kMsjAdvertencia, false);
  if (F_Pregunta && F_Pregunta(this))
    CorreOcupado(&TfrmPrincipal::EjecutaGeneraReporte, bnGenReporte);
  else
    _MensajeroForm->MsjTxEspera(kMsjCancelado, false);
}

void TfrmPrincipal::EjecutaGeneraReporte() {
  auto pre = PreparaCorrida(F_Carpeta, TipoCambio(), edUsuario->text().toStdString(), edPassw->text().toStdString(),
                            F_dm.repGeneral(), _MensajeroForm);
  if (pre.falla == TFallaPreambulo::Acceso) _MensajeroForm->CampoObligatorio(txPassw, edPassw);
  const bool bOk = pre.rep && pre.rep->GeneraReporte(F_dm.vtPEPs);
  _MensajeroForm->MsjEnTx(bOk ? kMsjReporteListo : kMsjReporteFallo);
}

}  // namespace qavi
