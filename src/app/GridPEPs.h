#pragma once
// Step 4: the PEP candidates of vtPEPs with one check box per row in "Marcar PEP", and their
// branch when the report consolidates several.
#include <vector>

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace qavi {

class TTablaPEPs;

// vtPEPs as a table: the mark (EsPEP), the name and, with several branches, the branch number.
class TModeloPEPs : public QAbstractTableModel {
 public:
  static constexpr int kColMarca = 0;
  static constexpr int kColNombre = 1;
  static constexpr int kColSucursal = 2;

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
  // Between IniciaRecarga and TerminaRecarga: the name of each branch (branch 1 first), shown as
  // the hint of its number; with one branch or none, no branch column.
  void MuestraSucursales(std::vector<QString> nombres);
  bool ConSucursales() const { return F_Sucursales.size() > 1; }

 private:
  TTablaPEPs& F_vtPEPs;
  std::vector<QString> F_Sucursales;
};

// Classic cells: the mark as a centred check box, a vertical line after each column, no row lines.
class TDelegadoPEPs : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& i) const override;
  // A name cut with "…" shows whole in a tooltip; elsewhere the grid's own hint.
  bool helpEvent(QHelpEvent* e, QAbstractItemView* vista, const QStyleOptionViewItem& opcion,
                 const QModelIndex& i) override;
};

class TGridPEPs : public QTableView {
 public:
  static constexpr int kAnchoMarca = 84;
  static constexpr int kAnchoNombre = 391;
  static constexpr int kAnchoSucursal = 70;  // taken from the names when shown
  static constexpr int kAltoFila = 18;

  explicit TGridPEPs(QWidget* padre = nullptr);
  void AsignaModelo(TModeloPEPs* modelo);
  TModeloPEPs* Modelo() const { return modelo_; }
  // Column widths and row height for the window's scale (1 = design size).
  void AjustaEscala(double f);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void CeldaClick(const QModelIndex& i);
  void AplicaAnchos();
  // Rows a little taller than designed, so the last visible one is never half cut.
  void AjustaFilas();
  TModeloPEPs* modelo_ = nullptr;
  double escala_ = 1;
};

}  // namespace qavi
