#pragma once
#include "common/IIBoolPersist.h"

namespace qavi {

class TBoolPersist : public IBoolPersist {
 public:
  explicit TBoolPersist(bool bValorInicial) : F_bInicial(bValorInicial), F_bValor(bValorInicial) {}
  bool Valor() const override { return F_bValor; }
  // Writing the initial value after the value changed is ignored.
  void Valor(bool bValor) override {
    if (F_bValor != F_bInicial) return;
    F_bValor = bValor;
  }

 private:
  bool F_bInicial;
  bool F_bValor;
};

}  // namespace qavi
