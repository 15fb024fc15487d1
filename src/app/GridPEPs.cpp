#include "app/GridPEPs.h"

#include <algorithm>

#include <QApplication>
#include <QBrush>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

#include "report/TablaPEPs.h"

namespace qavi {

namespace {
const QColor kTeal(0, 128, 128);
const QColor kLineaColumna(192, 192, 192);
}  // namespace

TModeloPEPs::TModeloPEPs(TTablaPEPs& vtPEPs, QObject* padre) : QAbstractTableModel(padre), F_vtPEPs(vtPEPs) {}

int TModeloPEPs::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(F_vtPEPs.RecordCount());
}

int TModeloPEPs::columnCount(const QModelIndex& padre) const {
  if (padre.isValid()) return 0;
  return ConSucursales() ? 3 : 2;
}

void TModeloPEPs::MuestraSucursales(std::vector<QString> nombres) { F_Sucursales = std::move(nombres); }

QVariant TModeloPEPs::data(const QModelIndex& i, int rol) const {
  const auto& filas = F_vtPEPs.Filas();
  // The detection refills the table while the window keeps painting; never read past its end.
  if (!i.isValid() || i.row() < 0 || static_cast<std::size_t>(i.row()) >= filas.size()) return {};
  const auto& fila = filas[static_cast<std::size_t>(i.row())];
  if (i.column() == kColMarca) {
    if (rol == Qt::CheckStateRole) return fila.EsPEP ? Qt::Checked : Qt::Unchecked;
    if (rol == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
  }
  if (i.column() == kColNombre && rol == Qt::DisplayRole)
    return QString::fromStdString(fila.Nombre);
  if (i.column() == kColSucursal && ConSucursales()) {
    if (rol == Qt::DisplayRole) return QString::number(fila.Sucursal);
    if (rol == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (rol == Qt::ToolTipRole && fila.Sucursal >= 1 && static_cast<std::size_t>(fila.Sucursal) <= F_Sucursales.size())
      return F_Sucursales[static_cast<std::size_t>(fila.Sucursal - 1)];
  }
  return {};
}

QVariant TModeloPEPs::headerData(int seccion, Qt::Orientation o, int rol) const {
  if (o != Qt::Horizontal) return QAbstractTableModel::headerData(seccion, o, rol);
  if (rol == Qt::DisplayRole) {
    if (seccion == kColMarca) return QStringLiteral("Marcar PEP");
    if (seccion == kColNombre) return QStringLiteral("Nombre del Usuario");
    if (seccion == kColSucursal && ConSucursales()) return QStringLiteral("Sucursal");
  }
  if (rol == Qt::ForegroundRole) return QBrush(kTeal);
  if (rol == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags TModeloPEPs::flags(const QModelIndex& i) const {
  // Read-only: the mark changes only through Alterna, never by editing the cell.
  return i.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TModeloPEPs::Alterna(int nFila) {
  if (nFila < 0 || static_cast<std::size_t>(nFila) >= F_vtPEPs.RecordCount()) return;
  F_vtPEPs.IrA(static_cast<std::size_t>(nFila));
  F_vtPEPs.AsignaEsPEP(!F_vtPEPs.Fila().EsPEP);
  const QModelIndex celda = index(nFila, kColMarca);
  emit dataChanged(celda, celda, {Qt::CheckStateRole});
}

void TDelegadoPEPs::paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& i) const {
  QStyleOptionViewItem op = opcion;
  initStyleOption(&op, i);
  const QWidget* w = op.widget;
  QStyle* estilo = w ? w->style() : QApplication::style();
  if (i.column() == TModeloPEPs::kColMarca) {
    const bool marcado = op.checkState == Qt::Checked;
    op.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    op.text.clear();
    estilo->drawControl(QStyle::CE_ItemViewItem, &op, p, w);
    QStyleOptionViewItem caja = op;
    const int ancho = estilo->pixelMetric(QStyle::PM_IndicatorWidth, &op, w);
    const int alto = estilo->pixelMetric(QStyle::PM_IndicatorHeight, &op, w);
    caja.rect = QRect(0, 0, ancho, alto);
    caja.rect.moveCenter(op.rect.center());
    caja.state &= ~QStyle::State_HasFocus;
    caja.state |= marcado ? QStyle::State_On : QStyle::State_Off;
    estilo->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &caja, p, w);
  } else {
    estilo->drawControl(QStyle::CE_ItemViewItem, &op, p, w);
  }
  p->save();
  p->setPen(kLineaColumna);
  p->drawLine(op.rect.topRight(), op.rect.bottomRight());
  p->restore();
}

bool TDelegadoPEPs::helpEvent(QHelpEvent* e, QAbstractItemView* vista, const QStyleOptionViewItem& opcion,
                              const QModelIndex& i) {
  if (e->type() != QEvent::ToolTip || !i.isValid()) return false;
  // A branch number says which branch it is.
  if (i.column() == TModeloPEPs::kColSucursal) return QStyledItemDelegate::helpEvent(e, vista, opcion, i);
  if (i.column() != TModeloPEPs::kColNombre) return false;
  QStyleOptionViewItem op = opcion;
  initStyleOption(&op, i);
  const QWidget* w = op.widget;
  QStyle* estilo = w ? w->style() : QApplication::style();
  const QRect texto = estilo->subElementRect(QStyle::SE_ItemViewItemText, &op, w);
  // The style keeps a margin on each side of the text.
  const int margen = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, &op, w) + 1;
  if (op.fontMetrics.horizontalAdvance(op.text) <= texto.width() - 2 * margen) return false;
  QToolTip::showText(e->globalPos(), op.text, vista, vista->visualRect(i));
  return true;
}

TGridPEPs::TGridPEPs(QWidget* padre) : QTableView(padre) {
  setItemDelegate(new TDelegadoPEPs(this));
  setShowGrid(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kAltoFila);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  // The names take whatever the marks leave: no bare strip right of the titles.
  horizontalHeader()->setStretchLastSection(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setTabKeyNavigation(true);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  // Classic look: white also when disabled, and the current cell highlighted only while focused.
  QPalette paleta = palette();
  paleta.setColor(QPalette::Disabled, QPalette::Base, Qt::white);
  paleta.setColor(QPalette::Inactive, QPalette::Highlight, paleta.color(QPalette::Active, QPalette::Base));
  paleta.setColor(QPalette::Inactive, QPalette::HighlightedText, paleta.color(QPalette::Active, QPalette::Text));
  setPalette(paleta);
  connect(this, &QAbstractItemView::clicked, this, &TGridPEPs::CeldaClick);
}

void TGridPEPs::AsignaModelo(TModeloPEPs* modelo) {
  modelo_ = modelo;
  setModel(modelo);
  // A refill may add or drop the branch column, and the header forgets its widths.
  if (modelo) connect(modelo, &QAbstractItemModel::modelReset, this, &TGridPEPs::AplicaAnchos);
  AplicaAnchos();
}

void TGridPEPs::AplicaAnchos() {
  const bool sucursales = modelo_ && modelo_->ConSucursales();
  setColumnWidth(TModeloPEPs::kColMarca, qRound(kAnchoMarca * escala_));
  const int nombre = sucursales ? kAnchoNombre - kAnchoSucursal : kAnchoNombre;
  setColumnWidth(TModeloPEPs::kColNombre, qRound(nombre * escala_));
  if (sucursales) setColumnWidth(TModeloPEPs::kColSucursal, qRound(kAnchoSucursal * escala_));
}

void TGridPEPs::AjustaEscala(double f) {
  escala_ = f;
  AplicaAnchos();
  AjustaFilas();
}

void TGridPEPs::AjustaFilas() {
  const int alto = std::max(1, qRound(kAltoFila * escala_));
  // What the rows get: the grid less its frame and the titles (the viewport may not be laid out yet).
  const int area = height() - 2 * frameWidth() - horizontalHeader()->sizeHint().height();
  const int visibles = std::max(1, area / alto);
  verticalHeader()->setDefaultSectionSize(std::max(alto, area / visibles));
}

void TGridPEPs::resizeEvent(QResizeEvent* e) {
  QTableView::resizeEvent(e);
  AjustaFilas();
}

void TGridPEPs::CeldaClick(const QModelIndex& i) {
  if (modelo_ && i.isValid() && i.column() == TModeloPEPs::kColMarca) modelo_->Alterna(i.row());
}

void TGridPEPs::keyPressEvent(QKeyEvent* e) {
  const QModelIndex actual = currentIndex();
  if (e->key() == Qt::Key_Space && e->modifiers() == Qt::NoModifier && modelo_ && actual.isValid() &&
      actual.column() == TModeloPEPs::kColMarca) {
    modelo_->Alterna(actual.row());
    e->accept();
    return;
  }
  QTableView::keyPressEvent(e);
}

}  // namespace qavi
