#pragma once
#include <memory>

#include "db/LogErrores.h"

namespace qavi {

inline constexpr const char* kErrorBD = "BD-101";

// The database layer's catalogue: the single code "BD-101".
class TErroresBD : public TManejadorErrores {
 public:
  static std::shared_ptr<TErroresBD> Create();

 protected:
  void CargaErrores() override;

 private:
  TErroresBD() = default;
};

}  // namespace qavi
