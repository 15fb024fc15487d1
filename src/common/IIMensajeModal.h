#pragma once
// Modal message boxes as the core needs them. The window installs real dialogs,
// the headless command standard error, tests a recorder.
#include <memory>
#include <string>

namespace qavi {

class IMensajeModal {
 public:
  virtual ~IMensajeModal() = default;
  // A modal box with OK; returns when the user closed it.
  virtual void MuestraMensaje(const std::string& sTexto) = 0;
};

// The process-wide sink; never null (standard error until someone installs another).
IMensajeModal& MensajeModal();
// Installs a sink and returns the previous one (null restores standard error).
std::shared_ptr<IMensajeModal> InstalaMensajeModal(std::shared_ptr<IMensajeModal> sink);

// Shortcut: shows a modal message through the installed sink.
inline void MuestraMensaje(const std::string& sTexto) { MensajeModal().MuestraMensaje(sTexto); }

}  // namespace qavi
