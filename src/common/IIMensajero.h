#pragma once
// Status-line messenger shared by the window and the questionnaire object.
#include <memory>
#include <string>

namespace qavi {

// A label and a text box of the window; the window's controls derive from these.
class IControlEtiqueta {
 public:
  virtual ~IControlEtiqueta() = default;
};
class IControlEdicion {
 public:
  virtual ~IControlEdicion() = default;
};

class IMensajero {
 public:
  virtual ~IMensajero() = default;
  // Shows the text until something else replaces it.
  virtual void MsjEnTx(const std::string& sMensaje) = 0;
  // Shows the text and clears it after 3 seconds.
  virtual void MsjTxTemp(const std::string& sMensaje) = 0;
  // Shows the text and pauses (400 ms, or 1 s when bTLargo) while the window stays responsive.
  virtual void MsjTxEspera(const std::string& sMensaje, bool bTLargo) = 0;
  // Focuses a mandatory text box and makes its label blink.
  virtual void CampoObligatorio(IControlEtiqueta* etiqueta, IControlEdicion* edicion) = 0;
};

using IMensajeroPtr = std::shared_ptr<IMensajero>;

}  // namespace qavi
