#pragma once
// The list of branches the report consolidates, as the user edits it: Velmar folders added with
// a folder chooser and removed, each with its own administrator when it differs from step 2's.
// Branch 1, the program's folder, is always first and cannot be removed.
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include <QDialog>

#include "app/Sucursales.h"

class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace qavi {

class TEdicion;
class TEtiqueta;

class TdlgSucursales : public QDialog {
  Q_OBJECT

 public:
  // The folder the user picked; empty when the chooser was cancelled.
  using TEligeCarpeta = std::function<QString(QWidget* padre, const QString& sDesde)>;

  enum TColumna { kColNumero, kColCarpeta, kColClave, kColPassword };

  TdlgSucursales(std::filesystem::path principal, std::vector<TSucursalVentana> sucursales,
                 TEligeCarpeta eligeCarpeta = {}, QWidget* padre = nullptr);

  // Branches 2 onwards, as the user left them.
  const std::vector<TSucursalVentana>& Sucursales() const { return F_Sucursales; }

  // Adds a folder as the next branch and selects it; false, with the user told why, when it has
  // no Velmar database or is already a branch.
  bool AgregaCarpeta(const std::filesystem::path& carpeta);
  void bnAgregarClick();
  void bnQuitarClick();

  QLabel* txExplica;
  QTreeWidget* lstSucursales;
  QPushButton *bnAgregar, *bnQuitar;
  QGroupBox* gbAdministrador;
  TEtiqueta *txClave, *txPassw, *txNota;
  TEdicion *edClave, *edPassw;
  QDialogButtonBox* bnsDialogo;

 private:
  void Llena(int nSeleccion);
  void LlenaFila(int nFila);
  // The selected branch (0 is branch 1), or -1.
  int Seleccionada() const;
  void AlSeleccionar();
  void edClaveCambio(const QString& sTexto);
  void edPasswCambio(const QString& sTexto);

  std::filesystem::path F_Principal;
  std::vector<TSucursalVentana> F_Sucursales;
  TEligeCarpeta F_EligeCarpeta;
};

// The folder chooser of the system, in Spanish.
QString EligeCarpetaVelmar(QWidget* padre, const QString& sDesde);

// A masked password prompt with Aceptar and Cancelar; none when cancelled.
std::optional<QString> PideContrasena(QWidget* padre, const QString& sTexto);

}  // namespace qavi
