#pragma once
// vtPEPs: the in-memory table of PEP candidates shared by the detection, the grid and the engine.
#include <cstddef>
#include <string>
#include <vector>

namespace qavi {

struct TFilaPEP {
  int IdPEP = 0;
  std::string ClaveCliente;  // at most 20 characters
  std::string Nombre;        // at most 100 characters
  bool EsPEP = false;
  int Sucursal = 1;  // the branch whose database names the client (1 when there is only one)
};

class TTablaPEPs {
 public:
  static constexpr std::size_t kAnchoClave = 20;
  static constexpr std::size_t kAnchoNombre = 100;

  void Abre() { abierta_ = true; }
  bool Abierta() const { return abierta_; }
  // Removes every row (and any pending edit).
  void Limpia();
  // Appends and posts a row; texts longer than their column are cut to its width.
  void Agrega(TFilaPEP fila);
  // Edits and posts one column of the current row.
  void AsignaEsPEP(bool bValor);

  void First() { cursor_ = 0; }
  void Next() { if (cursor_ < filas_.size()) ++cursor_; }
  bool Eof() const { return cursor_ >= filas_.size(); }
  void IrA(std::size_t i) { cursor_ = i < filas_.size() ? i : filas_.size(); }
  std::size_t Actual() const { return cursor_; }
  std::size_t RecordCount() const { return filas_.size(); }

  // The current row (valid when !Eof()).
  const TFilaPEP& Fila() const { return filas_.at(cursor_); }
  const std::vector<TFilaPEP>& Filas() const { return filas_; }

 private:
  std::vector<TFilaPEP> filas_;
  std::size_t cursor_ = 0;
  bool abierta_ = false;
};

}  // namespace qavi
