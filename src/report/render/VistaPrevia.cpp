#include "report/render/VistaPrevia.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

#include <algorithm>
#include <utility>

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
// Width of a page in the outline, in pixels.
constexpr int kAnchoMiniatura = 110;

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

  miniaturas_ = new QListWidget(this);
  miniaturas_->setObjectName(QStringLiteral("lsMiniaturas"));
  miniaturas_->setViewMode(QListView::IconMode);
  miniaturas_->setFlow(QListView::TopToBottom);
  miniaturas_->setWrapping(false);
  miniaturas_->setMovement(QListView::Static);
  miniaturas_->setSpacing(6);
  miniaturas_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  miniaturas_->hide();
  connect(miniaturas_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { IrA(miniaturas_->row(item) + 1); });

  auto* capas = new QVBoxLayout(this);
  capas->setContentsMargins(0, 0, 0, 0);
  capas->setSpacing(0);
  CreaBarra();
  auto* cuerpo = new QHBoxLayout;
  cuerpo->setSpacing(0);
  cuerpo->addWidget(miniaturas_);
  cuerpo->addWidget(vista_, 1);
  capas->addLayout(cuerpo, 1);

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

  acMiniaturas_ = barra->addAction(Icono("view-page-multi", "view-list-icons", QStyle::SP_FileDialogListView),
                                   QStringLiteral("Miniaturas de las páginas"));
  acMiniaturas_->setObjectName(QStringLiteral("acMiniaturas"));
  acMiniaturas_->setCheckable(true);
  connect(acMiniaturas_, &QAction::toggled, this, [this](bool b) { MuestraMiniaturas(b); });
  barra->addSeparator();

  auto* primera = barra->addAction(Icono("go-first", "go-first", QStyle::SP_MediaSkipBackward),
                                   QStringLiteral("Primera página"), this, [this] { IrA(1); });
  primera->setObjectName(QStringLiteral("acPrimera"));
  primera->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
  barra->addAction(Icono("go-previous", "go-previous", QStyle::SP_ArrowLeft), QStringLiteral("Página anterior"), this,
                   [this] { IrA(vista_->currentPage() - 1); });
  edPagina_ = new QLineEdit(barra);
  edPagina_->setObjectName(QStringLiteral("edPagina"));
  edPagina_->setAlignment(Qt::AlignRight);
  edPagina_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("8888")));
  connect(edPagina_, &QLineEdit::returnPressed, this, [this] { IrA(edPagina_->text().toInt()); });
  barra->addWidget(edPagina_);
  txPaginas_ = new QLabel(barra);
  barra->addWidget(txPaginas_);
  barra->addAction(Icono("go-next", "go-next", QStyle::SP_ArrowRight), QStringLiteral("Página siguiente"), this,
                   [this] { IrA(vista_->currentPage() + 1); });
  auto* ultima = barra->addAction(Icono("go-last", "go-last", QStyle::SP_MediaSkipForward),
                                  QStringLiteral("Última página"), this, [this] { IrA(vista_->pageCount()); });
  ultima->setObjectName(QStringLiteral("acUltima"));
  ultima->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_End));
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
    paginas_.Dibuja(pintor, *impresora, i, resaltado_, Actual());
  }
  pintor.end();
}

void TVistaPrevia::IrA(int pagina) {
  vista_->setCurrentPage(pagina);
  ActualizaNavegacion();
}

void TVistaPrevia::ActualizaNavegacion() {
  const int pagina = vista_->currentPage();
  edPagina_->setText(QString::number(pagina));
  edPagina_->setValidator(new QIntValidator(1, std::max(1, vista_->pageCount()), edPagina_));
  txPaginas_->setText(QStringLiteral(" / %1 ").arg(vista_->pageCount()));
  cbZoom_->setEditText(QStringLiteral("%1%").arg(qRound(vista_->zoomFactor() * 100)));
  // The find label speaks of the page on screen only.
  const TCoincidencia* c = Actual();
  if (c && c->pagina + 1 != pagina) txBusca_->clear();
  if (miniaturas_->count() > 0 && miniaturas_->currentRow() != pagina - 1) {
    const QSignalBlocker quieto(miniaturas_);
    miniaturas_->setCurrentRow(pagina - 1);
  }
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

const TCoincidencia* TVistaPrevia::Actual() const {
  return indice_ >= 0 && indice_ < static_cast<int>(hallazgos_.size()) ? &hallazgos_[static_cast<size_t>(indice_)]
                                                                         : nullptr;
}

QString TVistaPrevia::TextoBusqueda() const { return txBusca_->text().trimmed(); }

bool TVistaPrevia::Busca(const QString& texto) {
  const int pagina = std::max(0, vista_->currentPage() - 1);
  const TCoincidencia* antes = Actual();
  // The same text on the page of its last hit goes on to the next hit; anything else starts
  // again from the page on screen.
  const bool sigue = antes && texto.compare(resaltado_, Qt::CaseInsensitive) == 0 && antes->pagina == pagina;
  if (!sigue) {
    resaltado_ = texto;
    hallazgos_ = paginas_.Busca(texto);
    indice_ = -1;
  }
  if (hallazgos_.empty()) {
    indice_ = -1;
    txBusca_->setText(texto.isEmpty() ? QString() : QStringLiteral(" No se encontró «%1»").arg(texto));
    vista_->updatePreview();
    return false;
  }
  const int n = static_cast<int>(hallazgos_.size());
  if (sigue) {
    indice_ = (indice_ + 1) % n;
  } else {
    indice_ = 0;
    while (indice_ < n && hallazgos_[static_cast<size_t>(indice_)].pagina < pagina) ++indice_;
    if (indice_ == n) indice_ = 0;  // nothing from here on: wrap around
  }
  const TCoincidencia& c = hallazgos_[static_cast<size_t>(indice_)];
  vista_->updatePreview();
  vista_->setCurrentPage(c.pagina + 1);
  MuestraActual();
  txBusca_->setText(QStringLiteral(" %1 de %2, página %3").arg(indice_ + 1).arg(n).arg(c.pagina + 1));
  ActualizaNavegacion();
  return true;
}

void TVistaPrevia::MuestraActual() {
  const TCoincidencia* c = Actual();
  auto* vistaGrafica = vista_->findChild<QGraphicsView*>();
  if (!c || !vistaGrafica || !vistaGrafica->scene()) return;
  // The preview's pages are the scene's top-level items, down the view in page order; each is
  // drawn in printer pixels from its paper's corner.
  std::vector<QGraphicsItem*> hojas;
  for (QGraphicsItem* item : vistaGrafica->scene()->items())
    if (!item->parentItem()) hojas.push_back(item);
  std::sort(hojas.begin(), hojas.end(), [](const QGraphicsItem* a, const QGraphicsItem* b) {
    return a->pos().y() != b->pos().y() ? a->pos().y() < b->pos().y() : a->pos().x() < b->pos().x();
  });
  if (c->pagina >= static_cast<int>(hojas.size())) return;
  const double f = impresora_->resolution() / TPaginasReporte::kUnidadesPorPulgada;
  const QRectF r = paginas_.Rect(*c);
  vistaGrafica->ensureVisible(hojas[static_cast<size_t>(c->pagina)]->mapRectToScene(
                                  QRectF(r.topLeft() * f, r.size() * f)),
                              60, 120);
}

void TVistaPrevia::MuestraMiniaturas(bool bMostrar) {
  if (bMostrar && miniaturas_->count() == 0) LlenaMiniaturas();
  miniaturas_->setVisible(bMostrar);
  if (acMiniaturas_->isChecked() != bMostrar) acMiniaturas_->setChecked(bMostrar);
  ActualizaNavegacion();
}

void TVistaPrevia::LlenaMiniaturas() {
  const QSizeF papel = paginas_.PapelMM();
  const QSize tam(kAnchoMiniatura, qRound(kAnchoMiniatura * papel.height() / papel.width()));
  miniaturas_->setIconSize(tam);
  for (int i = 0; i < paginas_.Cuenta(); ++i) {
    QImage hoja(tam, QImage::Format_RGB32);
    hoja.fill(Qt::white);
    {
      QPainter pintor(&hoja);
      pintor.setRenderHint(QPainter::Antialiasing);
      pintor.setRenderHint(QPainter::TextAntialiasing);
      // Dibuja scales to the image's resolution; the page then shrinks to the thumbnail.
      pintor.scale(tam.width() / (papel.width() / 25.4 * hoja.logicalDpiX()),
                   tam.height() / (papel.height() / 25.4 * hoja.logicalDpiY()));
      paginas_.Dibuja(pintor, hoja, i);
      pintor.resetTransform();
      pintor.setPen(QColor(160, 160, 160));
      pintor.drawRect(hoja.rect().adjusted(0, 0, -1, -1));
    }
    // The same picture when selected: the caption shows the selection, the page keeps its look.
    const QPixmap dibujo = QPixmap::fromImage(hoja);
    QIcon icono(dibujo);
    icono.addPixmap(dibujo, QIcon::Selected);
    auto* item = new QListWidgetItem(icono, QStringLiteral("Página %1").arg(i + 1));
    item->setTextAlignment(Qt::AlignHCenter);
    miniaturas_->addItem(item);
  }
  miniaturas_->setFixedWidth(tam.width() + 2 * miniaturas_->frameWidth() + 2 * miniaturas_->spacing() +
                             miniaturas_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
}

void TVistaPrevia::Imprime() {
  QPrintDialog dialogo(impresora_.get(), this);
  dialogo.setWindowTitle(QStringLiteral("Imprimir"));
  if (dialogo.exec() != QDialog::Accepted) return;
  // Highlights are for the screen only.
  const QString resaltado = std::exchange(resaltado_, QString());
  const int indice = std::exchange(indice_, -1);
  const auto vuelve = qScopeGuard([&] {
    resaltado_ = resaltado;
    indice_ = indice;
  });
  vista_->print();
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
