#include "engine/Corrida.h"

#include <cstdint>
#include <system_error>

#include "common/ArchivoIni.h"
#include "common/IIMensajeModal.h"
#include "db/ColectorConxs.h"
#include "engine/RepCuestQAVI2016.h"

namespace qavi {

bool AbreBDPrincipal(const std::filesystem::path& carpeta, IMensajero* mensajero, TADOConnection*& Conector) {
  const auto ruta = carpeta / "DataBase" / "Velmar.mdb";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(ruta, ec)) {
    MuestraMensaje(kMsjFaltaBD);
    return false;
  }
  if (mensajero) mensajero->MsjTxEspera(kMsjConectando, false);
  if (!gColectorConxs) return false;
  gColectorConxs->CreaBDPrinc(ruta.string(), "", false);
  if (!gColectorConxs->Conecta(kBDPrincipal)) return false;
  TADOConnection* c = nullptr;
  if (!gColectorConxs->DameAccessConex(kBDPrincipal, c) || !c) return false;
  Conector = c;
  return c->Connected();
}

bool LeeEmpresaActiva(const std::filesystem::path& carpeta, int& nNumEmp) {
  const auto ruta = carpeta / "Velmar.INI";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(ruta, ec)) return false;
  long long n = TArchivoIni(ruta).LeeEntero("Control", "EmpresaActiva", 0);
  if (n > INT32_MAX || n < INT32_MIN) n = 0;
  nNumEmp = static_cast<int>(n);
  return nNumEmp > 0;
}

TPreambulo PreparaCorrida(const std::filesystem::path& carpeta, double dTCambio, const std::string& sUsuario,
                          const std::string& sPassw, IReporte* elReporte, IMensajeroPtr mensajero) {
  TPreambulo r;
  TADOConnection* conector = nullptr;
  if (!AbreBDPrincipal(carpeta, mensajero.get(), conector)) {
    r.falla = TFallaPreambulo::BaseDeDatos;
    return r;
  }
  int nNumEmp = 0;
  if (!LeeEmpresaActiva(carpeta, nNumEmp)) {
    MuestraMensaje(kMsjSinEmpresa);
    r.falla = TFallaPreambulo::Empresa;
    return r;
  }
  auto rep = std::make_shared<TRepCuestKORU2016>(conector, elReporte, mensajero, dTCambio, nNumEmp);
  if (rep->UsuariosConectados()) {
    MuestraMensaje(kMsjUsuarioConectado);
    r.falla = TFallaPreambulo::UsuarioConectado;
    return r;
  }
  if (!rep->ValidaAcceso(sUsuario, sPassw, true)) {
    MuestraMensaje(kMsjAccesoCaja);
    if (mensajero) mensajero->MsjTxEspera(kMsjAccesoLinea, true);
    r.falla = TFallaPreambulo::Acceso;
    return r;
  }
  r.rep = rep;
  return r;
}

}  // namespace qavi
