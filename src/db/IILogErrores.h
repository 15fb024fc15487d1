#pragma once
// Error catalogue: codes with their user texts, and the one way a failure reaches the user.
#include <memory>
#include <string>

namespace qavi {

class ILogErrores {
 public:
  virtual ~ILogErrores() = default;
  // Modal box "Error #" + code + ": " + user text + " " + extra text (see TManejadorErrores).
  virtual void MuestraError(const std::string& sClaveErr, const std::string& sMsjAdicional) = 0;
  virtual std::string DameErrorMsj(const std::string& sClaveErr, const std::string& sMsjAdicional,
                                   bool bIncluyeClave) = 0;
};

using ILogErroresPtr = std::shared_ptr<ILogErrores>;

}  // namespace qavi
