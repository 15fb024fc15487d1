#pragma once
// A Boolean that, once moved away from its initial value, never returns to it.
#include <memory>

namespace qavi {

class IBoolPersist {
 public:
  virtual ~IBoolPersist() = default;
  virtual bool Valor() const = 0;
  virtual void Valor(bool bValor) = 0;
};

using IBoolPersistPtr = std::shared_ptr<IBoolPersist>;

}  // namespace qavi
