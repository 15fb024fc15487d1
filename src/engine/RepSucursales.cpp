#include "engine/RepSucursales.h"

#include "db/ColectorConxs.h"
#include "report/TablaPEPs.h"

namespace qavi {

TRepSucursales::TRepSucursales(std::vector<IRepCuestionarioQAVIPtr> sucursales,
                               std::shared_ptr<TADOConnection> conexion, IRepCuestionarioQAVIPtr consolidado,
                               std::vector<std::string> registro)
    : sucursales_(std::move(sucursales)),
      conexion_(std::move(conexion)),
      consolidado_(std::move(consolidado)),
      registro_(std::move(registro)) {}

bool TRepSucursales::GeneraReporte(TTablaPEPs& vtPEPS) {
  if (gColectorConxs)
    for (const auto& nombre : registro_) gColectorConxs->Desconecta(nombre);
  return consolidado_->GeneraReporte(vtPEPS);
}

bool TRepSucursales::DetectaPEPs(TTablaPEPs& vtPEPS) {
  vtPEPS.Abre();
  vtPEPS.Limpia();
  int id = 0;
  for (std::size_t i = 0; i < sucursales_.size(); ++i) {
    TTablaPEPs propios;
    if (!sucursales_[i]->DetectaPEPs(propios)) {
      vtPEPS.Limpia();
      return false;
    }
    for (TFilaPEP fila : propios.Filas()) {
      fila.IdPEP = ++id;
      fila.Sucursal = static_cast<int>(i) + 1;
      vtPEPS.Agrega(std::move(fila));
    }
  }
  return true;
}

bool TRepSucursales::ValidaAcceso(const std::string& sUsuario, const std::string& sPassw, bool bSoloAdmins) {
  for (const auto& s : sucursales_)
    if (!s->ValidaAcceso(sUsuario, sPassw, bSoloAdmins)) return false;
  return true;
}

bool TRepSucursales::UsuariosConectados() {
  for (const auto& s : sucursales_)
    if (s->UsuariosConectados()) return true;
  return false;
}

}  // namespace qavi
