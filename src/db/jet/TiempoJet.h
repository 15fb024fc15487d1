#pragma once
// QAVI_TIEMPOS=1 writes how long each load, derived table and statement of the engine took.
#include <string>

#include "common/Cronometro.h"

namespace qavi::jet {

class TTiempo : public TCronometro {
 public:
  explicit TTiempo(std::string que) : TCronometro("tiempo", std::move(que), 110) {}
};

}  // namespace qavi::jet
