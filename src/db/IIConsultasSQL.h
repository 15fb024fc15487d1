#pragma once
// Runs statements over one connection; every failure becomes the "BD-101" message and false.
#include <string>

namespace qavi {

class TADOQuery;

class IConsultasSQL {
 public:
  virtual ~IConsultasSQL() = default;
  // The statement ran and its rows are open in qQuery (the caller closes them).
  virtual bool PideConsulta(const std::string& sConsulta, TADOQuery& qQuery) = 0;
  // The statement ran as a command without rows.
  virtual bool EjecutaConsulta(const std::string& sConsulta, TADOQuery& qQuery) = 0;
  virtual void LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) = 0;
};

}  // namespace qavi
