#include <iostream>

#include "common/IIMensajeModal.h"

namespace qavi {
namespace {

class TMensajeStderr : public IMensajeModal {
 public:
  void MuestraMensaje(const std::string& sTexto) override { std::cerr << sTexto << std::endl; }
};

std::shared_ptr<IMensajeModal>& Actual() {
  static std::shared_ptr<IMensajeModal> actual;
  return actual;
}

}  // namespace

IMensajeModal& MensajeModal() {
  static TMensajeStderr porOmision;
  auto& a = Actual();
  return a ? *a : static_cast<IMensajeModal&>(porOmision);
}

std::shared_ptr<IMensajeModal> InstalaMensajeModal(std::shared_ptr<IMensajeModal> sink) {
  auto previo = std::move(Actual());
  Actual() = std::move(sink);
  return previo;
}

}  // namespace qavi
