#pragma once
// The core's modal messages as Qt message boxes with OK, titled with the application's title.
#include "common/IIMensajeModal.h"

namespace qavi {

class TMensajeModalQt : public IMensajeModal {
 public:
  void MuestraMensaje(const std::string& sTexto) override;
};

}  // namespace qavi
