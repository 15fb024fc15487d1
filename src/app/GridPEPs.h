#pragma once
// Step 4: the PEP candidates of vtPEPs with one check box per row in "Marcar PEP".
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace qavi {

class TTablaPEPs;

// vtPEPs as a two-column table: the mark (EsPEP) and the name.
class TModeloPEPs : public QAbstractTableModel {
 public:
  static constexpr int kColMarca = 0;
  static constexpr int kColNombre = 1;

  explicit TModeloPEPs(TTablaPEPs& vtPEPs, QObject* padre = nullptr);

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& i, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation o, int rol = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& i) const override;

  // Makes the row current in vtPEPs and posts the opposite of its mark.
  void Alterna(int nFila);
  // Around a refill of vtPEPs by somebody else (the detection).
  void IniciaRecarga() { beginResetModel(); }
  void TerminaRecarga() { endResetModel(); }

 private:
  TTablaPEPs& F_vtPEPs;
};

// Classic cells: the mark as a centred check box, a vertical line after each column, no row lines.
class TDelegadoPEPs : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& i) const override;
};

class TGridPEPs : public QTableView {
 public:
  static constexpr int kAnchoMarca = 84;
  static constexpr int kAnchoNombre = 391;

  explicit TGridPEPs(QWidget* padre = nullptr);
  void AsignaModelo(TModeloPEPs* modelo);
  TModeloPEPs* Modelo() const { return modelo_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void CeldaClick(const QModelIndex& i);
  TModeloPEPs* modelo_ = nullptr;
};

}  // namespace qavi
