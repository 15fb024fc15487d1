#pragma once
// Records the modal messages the core shows while it lives.
#include <memory>
#include <string>
#include <vector>

#include "common/IIMensajeModal.h"

namespace qavi::prueba {

class TGrabadoraMensajes {
 public:
  TGrabadoraMensajes() : sink_(std::make_shared<Sink>()) { previo_ = InstalaMensajeModal(sink_); }
  ~TGrabadoraMensajes() { InstalaMensajeModal(previo_); }
  const std::vector<std::string>& Mensajes() const { return sink_->mensajes; }
  void Limpia() { sink_->mensajes.clear(); }

 private:
  struct Sink : IMensajeModal {
    void MuestraMensaje(const std::string& s) override { mensajes.push_back(s); }
    std::vector<std::string> mensajes;
  };
  std::shared_ptr<Sink> sink_;
  std::shared_ptr<IMensajeModal> previo_;
};

}  // namespace qavi::prueba
