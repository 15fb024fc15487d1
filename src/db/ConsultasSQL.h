#pragma once
#include <memory>

#include "db/ADO.h"
#include "db/IIConsultasSQL.h"
#include "db/IILogErrores.h"

namespace qavi {

class TConsultasSQL : public virtual IConsultasSQL {
 public:
  // Conector may be null: every statement then fails with the "BD-101" message.
  explicit TConsultasSQL(TADOConnection* Conector);
  ~TConsultasSQL() override = default;

  bool PideConsulta(const std::string& sConsulta, TADOQuery& qQuery) override;
  bool EjecutaConsulta(const std::string& sConsulta, TADOQuery& qQuery) override;
  void LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) override;

  // "DELETE * FROM t[ WHERE c]".
  static std::string ArmaLimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion);

 protected:
  TADOConnection* F_Conector;
  std::unique_ptr<TADOQuery> F_qConsultaGen;
  ILogErroresPtr F_Errores;

 private:
  template <class F>
  bool Protegido(TADOQuery& qQuery, F&& paso);
};

}  // namespace qavi
