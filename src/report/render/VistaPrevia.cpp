#include "report/render/VistaPrevia.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "report/render/PaginasReporte.h"

namespace qavi {

namespace {

// Qt's own preview pictures when present, else the desktop theme's, else the style's.
QIcon Icono(const char* imagenQt, const char* tema, QStyle::StandardPixmap estandar) {
  const QString base = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/") +
                       QLatin1String(imagenQt);
  if (QFile::exists(base + QLatin1String("-24.png"))) {
    QIcon i;
    i.addFile(base + QLatin1String("-24.png"), QSize(24, 24));
    i.addFile(base + QLatin1String("-32.png"), QSize(32, 32));
    return i;
  }
  return QIcon::fromTheme(QLatin1String(tema), QApplication::style()->standardIcon(estandar));
}

const int kZooms[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

}  // namespace

TVistaPrevia::TVistaPrevia(const TPaginasReporte& paginas, const QString& sNombreDocumento, QWidget* padre)
    : QDialog(padre, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      paginas_(paginas),
      impresora_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setObjectName(QStringLiteral("frmVistaPrevia"));
  setWindowTitle(sNombreDocumento);
  setModal(true);

  impresora_->setDocName(sNombreDocumento);
  impresora_->setCreator(config_.sCreador);
  const QSizeF papel = paginas_.PapelMM();
  impresora_->setPageLayout(QPageLayout(QPageSize(papel, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                                        QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
  // After the layout, which would bring its own mode back: the pages place everything from the
  // paper's corner, margins included.
  impresora_->setFullPage(true);

  vista_ = new QPrintPreviewWidget(impresora_.get(), this);
  vista_->setObjectName(QStringLiteral("vsPaginas"));
  connect(vista_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) { Pinta(p); });
  connect(vista_, &QPrintPreviewWidget::previewChanged, this, [this] { ActualizaNavegacion(); });

  auto* capas = new QVBoxLayout(this);
  capas->setContentsMargins(0, 0, 0, 0);
  capas->setSpacing(0);
  CreaBarra();
  capas->addWidget(vista_, 1);

  vista_->setZoomMode(QPrintPreviewWidget::CustomZoom);
  vista_->setZoomFactor(1.0);
}

TVistaPrevia::~TVistaPrevia() = default;

void TVistaPrevia::CreaBarra() {
  auto* barra = new QToolBar(this);
  barra->setObjectName(QStringLiteral("tbVistaPrevia"));
  barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
  layout()->addWidget(barra);

  auto* imprime = barra->addAction(Icono("printer", "document-print", QStyle::SP_DialogSaveButton),
                                   QStringLiteral("Imprimir"), this, [this] { Imprime(); });
  imprime->setObjectName(QStringLiteral("acImprimir"));
  imprime->setShortcut(QKeySequence::Print);
  auto* exporta = barra->addAction(QIcon::fromTheme(QStringLiteral("document-save-as"),
                                                    style()->standardIcon(QStyle::SP_DialogSaveButton)),
                                   QStringLiteral("Exportar a PDF"), this, [this] { PideExportar(); });
  exporta->setObjectName(QStringLiteral("acExportarPDF"));
  auto* configura = barra->addAction(Icono("page-setup", "document-page-setup", QStyle::SP_FileDialogDetailedView),
                                     QStringLiteral("Configurar página"), this, [this] { ConfiguraPagina(); });
  configura->setObjectName(QStringLiteral("acConfigurarPagina"));
  barra->addSeparator();

  barra->addAction(Icono("zoom-fit-width", "zoom-fit-width", QStyle::SP_ToolBarHorizontalExtensionButton),
                   QStringLiteral("Ajustar al ancho"), this, [this] {
                     vista_->fitToWidth();
                     ActualizaNavegacion();
                   });
  barra->addAction(Icono("zoom-fit-page", "zoom-fit-best", QStyle::SP_ToolBarVerticalExtensionButton),
                   QStringLiteral("Página completa"), this, [this] {
                     vista_->fitInView();
                     ActualizaNavegacion();
                   });
  cbZoom_ = new QComboBox(barra);
  cbZoom_->setObjectName(QStringLiteral("cbZoom"));
  cbZoom_->setEditable(true);
  cbZoom_->setInsertPolicy(QComboBox::NoInsert);
  for (int z : kZooms) cbZoom_->addItem(QStringLiteral("%1%").arg(z));
  cbZoom_->setCurrentText(QStringLiteral("100%"));
  connect(cbZoom_, &QComboBox::textActivated, this, [this](const QString& t) { AplicaZoom(t); });
  connect(cbZoom_->lineEdit(), &QLineEdit::returnPressed, this, [this] { AplicaZoom(cbZoom_->currentText()); });
  barra->addWidget(cbZoom_);
  auto* aleja = barra->addAction(Icono("zoom-out", "zoom-out", QStyle::SP_ArrowDown), QStringLiteral("Alejar"), this, [this] {
    vista_->zoomOut();
    ActualizaNavegacion();
  });
  aleja->setShortcut(QKeySequence::ZoomOut);
  auto* acerca = barra->addAction(Icono("zoom-in", "zoom-in", QStyle::SP_ArrowUp), QStringLiteral("Acercar"), this, [this] {
    vista_->zoomIn();
    ActualizaNavegacion();
  });
  acerca->setShortcut(QKeySequence::ZoomIn);
  barra->addSeparator();

  auto irA = [this](int pagina) {
    vista_->setCurrentPage(pagina);
    ActualizaNavegacion();
  };
  barra->addAction(Icono("go-first", "go-first", QStyle::SP_MediaSkipBackward), QStringLiteral("Primera página"), this,
                   [irA] { irA(1); });
  barra->addAction(Icono("go-previous", "go-previous", QStyle::SP_ArrowLeft), QStringLiteral("Página anterior"), this,
                   [this, irA] { irA(vista_->currentPage() - 1); });
  edPagina_ = new QLineEdit(barra);
  edPagina_->setObjectName(QStringLiteral("edPagina"));
  edPagina_->setAlignment(Qt::AlignRight);
  edPagina_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("8888")));
  connect(edPagina_, &QLineEdit::returnPressed, this, [this, irA] { irA(edPagina_->text().toInt()); });
  barra->addWidget(edPagina_);
  txPaginas_ = new QLabel(barra);
  barra->addWidget(txPaginas_);
  barra->addAction(Icono("go-next", "go-next", QStyle::SP_ArrowRight), QStringLiteral("Página siguiente"), this,
                   [this, irA] { irA(vista_->currentPage() + 1); });
  barra->addAction(Icono("go-last", "go-last", QStyle::SP_MediaSkipForward), QStringLiteral("Última página"), this,
                   [this, irA] { irA(vista_->pageCount()); });
  barra->addSeparator();

  edBusca_ = new QLineEdit(barra);
  edBusca_->setObjectName(QStringLiteral("edBusca"));
  edBusca_->setPlaceholderText(QStringLiteral("Buscar"));
  edBusca_->setClearButtonEnabled(true);
  edBusca_->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
  barra->addWidget(edBusca_);
  auto* busca = barra->addAction(QIcon::fromTheme(QStringLiteral("edit-find"),
                                                  style()->standardIcon(QStyle::SP_FileDialogContentsView)),
                                 QStringLiteral("Buscar siguiente"), this, [this] { Busca(edBusca_->text()); });
  busca->setObjectName(QStringLiteral("acBuscar"));
  busca->setShortcut(QKeySequence::FindNext);
  connect(edBusca_, &QLineEdit::returnPressed, busca, &QAction::trigger);
  auto* enfoca = new QAction(this);
  enfoca->setShortcut(QKeySequence::Find);
  connect(enfoca, &QAction::triggered, this, [this] {
    edBusca_->setFocus();
    edBusca_->selectAll();
  });
  addAction(enfoca);
  txBusca_ = new QLabel(barra);
  txBusca_->setObjectName(QStringLiteral("txBusca"));
  barra->addWidget(txBusca_);
}

void TVistaPrevia::Pinta(QPrinter* impresora) {
  QPainter pintor;
  if (!pintor.begin(impresora)) return;
  for (int i = 0; i < paginas_.Cuenta(); ++i) {
    if (i > 0) impresora->newPage();
    paginas_.Dibuja(pintor, *impresora, i, resaltado_);
  }
  pintor.end();
}

void TVistaPrevia::ActualizaNavegacion() {
  edPagina_->setText(QString::number(vista_->currentPage()));
  edPagina_->setValidator(new QIntValidator(1, std::max(1, vista_->pageCount()), edPagina_));
  txPaginas_->setText(QStringLiteral(" / %1 ").arg(vista_->pageCount()));
  cbZoom_->setEditText(QStringLiteral("%1%").arg(qRound(vista_->zoomFactor() * 100)));
}

void TVistaPrevia::AplicaZoom(const QString& texto) {
  QString t = texto;
  bool ok = false;
  const double z = t.remove(QLatin1Char('%')).trimmed().toDouble(&ok);
  if (!ok || z <= 0) return;
  vista_->setZoomMode(QPrintPreviewWidget::CustomZoom);
  vista_->setZoomFactor(std::clamp(z, 10.0, 1000.0) / 100.0);
  ActualizaNavegacion();
}

bool TVistaPrevia::Busca(const QString& texto) {
  if (texto.isEmpty()) {
    resaltado_.clear();
    txBusca_->clear();
    vista_->updatePreview();
    return false;
  }
  const int n = paginas_.Cuenta();
  const int desde = texto.compare(ultimaBusqueda_, Qt::CaseInsensitive) == 0 && ultimaPagina_ >= 0
                        ? ultimaPagina_ + 1
                        : std::max(0, vista_->currentPage() - 1);
  for (int k = 0; k < n; ++k) {
    const int i = (desde + k) % n;
    if (!paginas_.Texto(i).contains(texto, Qt::CaseInsensitive)) continue;
    ultimaBusqueda_ = texto;
    ultimaPagina_ = i;
    if (resaltado_ != texto) {
      resaltado_ = texto;
      vista_->updatePreview();
    }
    vista_->setCurrentPage(i + 1);
    ActualizaNavegacion();
    txBusca_->setText(QStringLiteral(" Página %1").arg(i + 1));
    return true;
  }
  ultimaBusqueda_.clear();
  ultimaPagina_ = -1;
  txBusca_->setText(QStringLiteral(" No se encontró «%1»").arg(texto));
  return false;
}

void TVistaPrevia::Imprime() {
  QPrintDialog dialogo(impresora_.get(), this);
  dialogo.setWindowTitle(QStringLiteral("Imprimir"));
  if (dialogo.exec() != QDialog::Accepted) return;
  const QString resaltado = resaltado_;
  resaltado_.clear();  // highlights are for the screen only
  vista_->print();
  resaltado_ = resaltado;
}

void TVistaPrevia::ConfiguraPagina() {
  QPageSetupDialog dialogo(impresora_.get(), this);
  if (dialogo.exec() != QDialog::Accepted) return;
  impresora_->setFullPage(true);
  vista_->updatePreview();
}

void TVistaPrevia::PideExportar() {
  const QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  QString ruta = QFileDialog::getSaveFileName(
      this, QStringLiteral("Exportar a PDF"), QDir(carpeta).filePath(config_.sNombreArchivo + QStringLiteral(".pdf")),
      QStringLiteral("Archivo PDF (*.pdf)"), nullptr, QFileDialog::DontConfirmOverwrite);
  if (ruta.isEmpty()) return;
  if (QFileInfo(ruta).suffix().isEmpty()) ruta += QStringLiteral(".pdf");
  QString error;
  if (ExportaA(ruta, error))
    txBusca_->setText(QStringLiteral(" PDF guardado: %1").arg(QDir::toNativeSeparators(ruta)));
  else
    QMessageBox::warning(this, QStringLiteral("Exportar a PDF"), error);
}

bool TVistaPrevia::ExportaA(const QString& ruta, QString& error) {
  QProgressDialog avance(QStringLiteral("Exportando a PDF..."), QStringLiteral("Cancelar"), 0, paginas_.Cuenta(), this);
  avance.setWindowTitle(QStringLiteral("Exportar a PDF"));
  avance.setWindowModality(Qt::WindowModal);
  avance.setMinimumDuration(0);
  avance.setValue(0);
  auto progreso = [&avance](int hechas, int) {
    avance.setValue(hechas);
    QApplication::processEvents();
    return !avance.wasCanceled();
  };
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto normal = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
  return EscribePDF(paginas_, ruta, config_, error, progreso);
}

}  // namespace qavi
