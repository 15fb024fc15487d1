#include "app/DialogoSucursales.h"

#include <algorithm>

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "app/Controles.h"
#include "common/IIMensajeModal.h"

namespace qavi {

namespace {

const QColor kGrisOscuro(72, 72, 72);
const QColor kRojo(255, 0, 0);

const char* const kMismaDelPaso2 = "la del paso 2";

// The window's own font and white background, whatever the dialog's parent.
void ComoLaVentana(QWidget* d, QWidget* padre) {
  if (padre) d->setFont(padre->window()->font());
  QPalette p = d->palette();
  p.setColor(QPalette::Window, Qt::white);
  d->setPalette(p);
  d->setAutoFillBackground(true);
}

void BotonesEnEspanol(QDialogButtonBox* b) {
  b->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
  b->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
}

TEtiqueta* Etiqueta(const QString& texto, QWidget* padre) {
  auto* e = new TEtiqueta(texto, padre);
  QPalette p = e->palette();
  p.setColor(QPalette::WindowText, kGrisOscuro);
  e->setPalette(p);
  return e;
}

}  // namespace

TdlgSucursales::TdlgSucursales(std::filesystem::path principal, std::vector<TSucursalVentana> sucursales,
                               TEligeCarpeta eligeCarpeta, QWidget* padre)
    : QDialog(padre),
      F_Principal(std::move(principal)),
      F_Sucursales(std::move(sucursales)),
      F_EligeCarpeta(eligeCarpeta ? std::move(eligeCarpeta) : TEligeCarpeta(&EligeCarpetaVelmar)) {
  setObjectName(QStringLiteral("dlgSucursales"));
  setWindowTitle(QStringLiteral("Sucursales"));
  ComoLaVentana(this, padre);

  // Lines broken by hand: a wrapping label lets the layout squeeze the fields below it.
  txExplica = Etiqueta(QStringLiteral("El reporte consolidará las operaciones de todas las sucursales de esta lista.\n"
                                      "La sucursal 1 es la carpeta de este programa. Agregue la carpeta raíz del "
                                      "Velmar\nde cada sucursal (la que contiene DataBase\\Velmar.mdb)."),
                       this);

  lstSucursales = new QTreeWidget(this);
  lstSucursales->setObjectName(QStringLiteral("lstSucursales"));
  lstSucursales->setRootIsDecorated(false);
  lstSucursales->setUniformRowHeights(true);
  lstSucursales->setAllColumnsShowFocus(true);
  lstSucursales->setHeaderLabels({QStringLiteral("Núm."), QStringLiteral("Carpeta del Velmar"),
                                  QStringLiteral("Clave"), QStringLiteral("Contraseña")});
  lstSucursales->header()->setStretchLastSection(false);
  lstSucursales->header()->setSectionResizeMode(kColCarpeta, QHeaderView::Stretch);
  const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
  lstSucursales->setColumnWidth(kColNumero, 4 * em);
  lstSucursales->setColumnWidth(kColClave, 9 * em);
  lstSucursales->setColumnWidth(kColPassword, 12 * em);
  lstSucursales->setTextElideMode(Qt::ElideMiddle);

  bnAgregar = new TBoton(this);
  bnAgregar->setObjectName(QStringLiteral("bnAgregar"));
  bnAgregar->setText(QStringLiteral("&Agregar…"));
  bnAgregar->setToolTip(QStringLiteral("Elegir la carpeta del Velmar de otra sucursal"));
  bnQuitar = new TBoton(this);
  bnQuitar->setObjectName(QStringLiteral("bnQuitar"));
  bnQuitar->setText(QStringLiteral("&Quitar"));
  bnQuitar->setToolTip(QStringLiteral("Quitar de la lista la sucursal seleccionada"));

  gbAdministrador = new QGroupBox(this);
  // Alt+C and Alt+P reach the fields, as Alt+A and Alt+Q the buttons.
  txClave = Etiqueta(QStringLiteral("&Clave de Entrada a Velmar"), gbAdministrador);
  txPassw = Etiqueta(QStringLiteral("&Password"), gbAdministrador);
  edClave = new TEdicion(gbAdministrador);
  edClave->setObjectName(QStringLiteral("edClave"));
  edClave->PonMayusculas();
  edClave->setToolTip(QStringLiteral("Usuario administrador del Velmar de la sucursal, si no es el del paso 2"));
  edPassw = new TEdicion(gbAdministrador);
  edPassw->setObjectName(QStringLiteral("edPassw"));
  edPassw->PonMayusculas();
  edPassw->PonOculto();
  edPassw->setToolTip(QStringLiteral("Contraseña de ese usuario; no se guarda"));
  txClave->setBuddy(edClave);
  txPassw->setBuddy(edPassw);
  txNota = Etiqueta(QString(), gbAdministrador);
  // As the window's small print: 9 pixels where its text is 11.
  QFont chica = font();
  if (chica.pixelSize() > 0)
    chica.setPixelSize(std::max(1, chica.pixelSize() * 9 / 11));
  else
    chica.setPointSizeF(chica.pointSizeF() * 9 / 11);
  txNota->setFont(chica);
  txNota->setMinimumHeight(2 * txNota->fontMetrics().lineSpacing());
  txNota->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  bnsDialogo = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  BotonesEnEspanol(bnsDialogo);

  auto* formulario = new QFormLayout;
  formulario->addRow(txClave, edClave);
  formulario->addRow(txPassw, edPassw);
  auto* admin = new QVBoxLayout(gbAdministrador);
  admin->addLayout(formulario);
  admin->addWidget(txNota);

  auto* botones = new QVBoxLayout;
  botones->addWidget(bnAgregar);
  botones->addWidget(bnQuitar);
  botones->addStretch();
  auto* lista = new QHBoxLayout;
  lista->addWidget(lstSucursales, 1);
  lista->addLayout(botones);

  auto* todo = new QVBoxLayout(this);
  todo->addWidget(txExplica);
  todo->addLayout(lista, 1);
  todo->addWidget(gbAdministrador);
  todo->addWidget(bnsDialogo);
  resize(sizeHint().expandedTo(QSize(64 * em, 0)));

  connect(bnAgregar, &QPushButton::clicked, this, &TdlgSucursales::bnAgregarClick);
  connect(bnQuitar, &QPushButton::clicked, this, &TdlgSucursales::bnQuitarClick);
  connect(lstSucursales, &QTreeWidget::currentItemChanged, this, &TdlgSucursales::AlSeleccionar);
  connect(edClave, &QLineEdit::textEdited, this, &TdlgSucursales::edClaveCambio);
  connect(edPassw, &QLineEdit::textEdited, this, &TdlgSucursales::edPasswCambio);
  connect(bnsDialogo, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(bnsDialogo, &QDialogButtonBox::rejected, this, &QDialog::reject);

  Llena(F_Sucursales.empty() ? 0 : 1);
}

void TdlgSucursales::Llena(int nSeleccion) {
  const QSignalBlocker bloqueo(lstSucursales);
  lstSucursales->clear();
  for (std::size_t i = 0; i <= F_Sucursales.size(); ++i) lstSucursales->addTopLevelItem(new QTreeWidgetItem);
  for (int i = 0; i < lstSucursales->topLevelItemCount(); ++i) LlenaFila(i);
  lstSucursales->setCurrentItem(lstSucursales->topLevelItem(std::clamp(nSeleccion, 0, int(F_Sucursales.size()))));
  AlSeleccionar();
}

void TdlgSucursales::LlenaFila(int nFila) {
  QTreeWidgetItem* item = lstSucursales->topLevelItem(nFila);
  if (!item) return;
  const bool principal = nFila == 0;
  const std::filesystem::path& carpeta = principal ? F_Principal : F_Sucursales[std::size_t(nFila - 1)].carpeta;
  item->setText(kColNumero, QString::number(nFila + 1));
  item->setTextAlignment(kColNumero, Qt::AlignCenter);
  item->setText(kColCarpeta, TextoDeRuta(carpeta));
  // A remembered folder may have gone since (an unplugged drive): the run will say so; here it shows.
  const bool hayBase = TieneBaseVelmar(carpeta);
  item->setForeground(kColCarpeta, hayBase ? QBrush(palette().color(QPalette::Text)) : QBrush(kRojo));
  item->setToolTip(kColCarpeta, hayBase ? TextoDeRuta(carpeta)
                                        : TextoDeRuta(carpeta) + QStringLiteral("\nNo se encuentra la base de datos "
                                                                                "de Velmar (DataBase\\Velmar.mdb)."));
  QString clave = QString::fromUtf8(kMismaDelPaso2), password = clave;
  if (!principal) {
    const TSucursalVentana& s = F_Sucursales[std::size_t(nFila - 1)];
    if (s.ClavePropia()) {
      clave = s.clave;
      password = s.password ? QStringLiteral("escrita") : QStringLiteral("se pedirá");
    }
  }
  item->setText(kColClave, clave);
  item->setText(kColPassword, password);
}

int TdlgSucursales::Seleccionada() const {
  QTreeWidgetItem* item = lstSucursales->currentItem();
  return item ? lstSucursales->indexOfTopLevelItem(item) : -1;
}

void TdlgSucursales::AlSeleccionar() {
  const int fila = Seleccionada();
  const bool propia = fila > 0;
  bnQuitar->setEnabled(propia);
  gbAdministrador->setTitle(fila >= 0 ? QStringLiteral("Administrador de la sucursal %1").arg(fila + 1)
                                      : QStringLiteral("Administrador"));
  edClave->setEnabled(propia);
  const TSucursalVentana* s = propia ? &F_Sucursales[std::size_t(fila - 1)] : nullptr;
  edClave->setText(s ? s->clave : QString());
  edPassw->setText(s && s->password ? *s->password : QString());
  edPassw->setEnabled(s && s->ClavePropia());
  txNota->setText(propia ? QStringLiteral("Deje la clave vacía si es la misma del paso 2.\nLa contraseña no se "
                                          "guarda: se pide una vez en cada sesión.")
                         : QStringLiteral("La sucursal 1 usa la clave y la contraseña del paso 2."));
}

void TdlgSucursales::edClaveCambio(const QString& sTexto) {
  const int fila = Seleccionada();
  if (fila <= 0) return;
  TSucursalVentana& s = F_Sucursales[std::size_t(fila - 1)];
  s.clave = sTexto.trimmed();
  // Without a key of its own the branch takes step 2's password too.
  if (!s.ClavePropia()) {
    s.password.reset();
    edPassw->clear();
  }
  edPassw->setEnabled(s.ClavePropia());
  LlenaFila(fila);
}

void TdlgSucursales::edPasswCambio(const QString& sTexto) {
  const int fila = Seleccionada();
  if (fila <= 0) return;
  TSucursalVentana& s = F_Sucursales[std::size_t(fila - 1)];
  if (sTexto.isEmpty())
    s.password.reset();
  else
    s.password = sTexto;
  LlenaFila(fila);
}

bool TdlgSucursales::AgregaCarpeta(const std::filesystem::path& carpeta) {
  const QString texto = TextoDeRuta(carpeta);
  if (!TieneBaseVelmar(carpeta)) {
    MuestraMensaje(QStringLiteral("La carpeta %1 no tiene la base de datos de Velmar (DataBase\\Velmar.mdb). Elija "
                                  "la carpeta raíz del Velmar de la sucursal.")
                       .arg(texto)
                       .toStdString());
    return false;
  }
  for (std::size_t i = 0; i <= F_Sucursales.size(); ++i) {
    const std::filesystem::path& otra = i == 0 ? F_Principal : F_Sucursales[i - 1].carpeta;
    if (MismaCarpeta(carpeta, otra)) {
      MuestraMensaje(
          QStringLiteral("La carpeta %1 ya está en la lista: es la sucursal %2.").arg(texto).arg(i + 1).toStdString());
      return false;
    }
  }
  F_Sucursales.push_back({carpeta, QString(), std::nullopt});
  Llena(int(F_Sucursales.size()));
  return true;
}

void TdlgSucursales::bnAgregarClick() {
  // The chooser opens beside the last branch, where the others usually are.
  const std::filesystem::path& ultima = F_Sucursales.empty() ? F_Principal : F_Sucursales.back().carpeta;
  const QString elegida = F_EligeCarpeta(this, TextoDeRuta(ultima.parent_path()));
  if (elegida.isEmpty()) return;
  AgregaCarpeta(RutaDeTexto(elegida));
}

void TdlgSucursales::bnQuitarClick() {
  const int fila = Seleccionada();
  if (fila <= 0) return;
  F_Sucursales.erase(F_Sucursales.begin() + (fila - 1));
  Llena(fila);
}

QString EligeCarpetaVelmar(QWidget* padre, const QString& sDesde) {
  return QFileDialog::getExistingDirectory(padre, QStringLiteral("Carpeta del Velmar de la sucursal"), sDesde);
}

std::optional<QString> PideContrasena(QWidget* padre, const QString& sTexto) {
  QDialog d(padre);
  d.setObjectName(QStringLiteral("dlgContrasena"));
  d.setWindowTitle(QStringLiteral("Contraseña de la sucursal"));
  ComoLaVentana(&d, padre);
  auto* texto = Etiqueta(sTexto, &d);
  texto->setWordWrap(true);
  texto->setTextFormat(Qt::PlainText);
  auto* caja = new TEdicion(&d);
  caja->setObjectName(QStringLiteral("edPassw"));
  caja->PonMayusculas();
  caja->PonOculto();
  auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
  BotonesEnEspanol(botones);
  QObject::connect(botones, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  QObject::connect(botones, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  auto* todo = new QVBoxLayout(&d);
  todo->addWidget(texto);
  todo->addWidget(caja);
  todo->addWidget(botones);
  d.resize(44 * d.fontMetrics().horizontalAdvance(QLatin1Char('M')), d.sizeHint().height());
  caja->setFocus();
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return caja->text();
}

}  // namespace qavi
