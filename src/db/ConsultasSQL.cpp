#include "db/ConsultasSQL.h"

#include "db/ErroresBD.h"

namespace qavi {

TConsultasSQL::TConsultasSQL(TADOConnection* Conector)
    : F_Conector(Conector), F_qConsultaGen(std::make_unique<TADOQuery>()), F_Errores(TErroresBD::Create()) {
  F_qConsultaGen->Connection = F_Conector;
}

template <class F>
bool TConsultasSQL::Protegido(TADOQuery& qQuery, F&& paso) {
  qQuery.Close();
  qQuery.SQL("");
  try {
    paso();
    return true;
  } catch (const EOleException& e) {
    qQuery.Close();
    F_Errores->MuestraError(kErrorBD, e.ClassName() + " - " + e.Message());
  } catch (const std::exception& e) {
    qQuery.Close();
    F_Errores->MuestraError(kErrorBD, std::string("Exception - ") + e.what());
  }
  return false;
}

bool TConsultasSQL::PideConsulta(const std::string& sConsulta, TADOQuery& qQuery) {
  return Protegido(qQuery, [&] {
    qQuery.SQL(sConsulta);
    qQuery.Open();
  });
}

bool TConsultasSQL::EjecutaConsulta(const std::string& sConsulta, TADOQuery& qQuery) {
  return Protegido(qQuery, [&] {
    qQuery.SQL(sConsulta);
    qQuery.ExecSQL();
    qQuery.Close();
  });
}

std::string TConsultasSQL::ArmaLimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) {
  std::string s = "DELETE * FROM " + sNomTabla;
  if (!sCondicion.empty()) s += " WHERE " + sCondicion;
  return s;
}

void TConsultasSQL::LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) {
  EjecutaConsulta(ArmaLimpiaTabla(sNomTabla, sCondicion), *F_qConsultaGen);
}

}  // namespace qavi
