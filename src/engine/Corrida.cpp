#include "engine/Corrida.h"

#include <cstdint>
#include <system_error>

#include "common/ArchivoIni.h"
#include "common/IIMensajeModal.h"
#include "common/Texto.h"
#include "db/ColectorConxs.h"
#include "db/ErroresBD.h"
#include "db/MotorAccess.h"
#include "db/jet/MotorJet.h"
#include "engine/RepCuestQAVI2016.h"
#include "engine/RepSucursales.h"
#include "pos/SucursalesVelmar.h"

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

namespace {

constexpr const char* kMsjFaltaBDSucursal = "No se encontró la base de datos de Velmar (DataBase\\Velmar.mdb).";

// The name of the branch's active company; the first company when that one has no row.
std::string NombreEmpresa(TADOConnection* conector, int nNumEmp, TRepCuestKORU2016& rep) {
  TADOQuery q;
  q.Connection = conector;
  q.SQL("SELECT Empresa FROM tEmpresa WHERE NumEmp = " + std::to_string(nNumEmp));
  try {
    q.Open();
    if (!q.IsEmpty()) return RecortaBlancos(q.FieldByName("Empresa").ComoTexto());
  } catch (const EOleException&) {
  }
  return RecortaBlancos(rep.Empresa().sRazonSocial);
}

// Branch 2 onwards live in the registry beside "BDPrincipal", each under its own name and file;
// a name that now points elsewhere is made anew.
std::string EntradaSucursal(int numero) { return "BDSucursal" + std::to_string(numero); }

bool AbreBDSucursal(int numero, const std::filesystem::path& ruta, TADOConnection*& Conector) {
  if (!gColectorConxs) return false;
  const std::string nombre = EntradaSucursal(numero);
  TADOConnection* c = nullptr;
  if (gColectorConxs->DameAccessConex(nombre, c) && c &&
      PartesStrConexion(c->ConnectionString())["data source"] != ruta.string())
    gColectorConxs->EliminaConex(nombre);
  gColectorConxs->NuevaConexion(nombre, "", kPasswVelmar, "", ruta.string(), "", "", TTipoMotorBD::tmAccess, false);
  if (!gColectorConxs->Conecta(nombre)) return false;
  if (!gColectorConxs->DameAccessConex(nombre, c) || !c) return false;
  Conector = c;
  return c->Connected();
}

}  // namespace

std::string NombraSucursal(const TDatosSucursal& s) {
  return "Sucursal " + std::to_string(s.numero) + " (" + s.carpeta.string() + (s.empresa.empty() ? "" : ", " + s.empresa) +
         ")";
}

std::string MensajeSucursalRepetida(int numero, const std::filesystem::path& carpeta, int otra) {
  return NombraSucursal({numero, carpeta, 0, {}}) + " es la misma carpeta que la sucursal " + std::to_string(otra) +
         ". Quítela de la lista de sucursales.";
}

std::string NotaSucursales(const std::vector<TDatosSucursal>& sucursales) {
  std::string s = "Las respuestas consolidan las " + std::to_string(sucursales.size()) + " sucursales siguientes:";
  for (const auto& d : sucursales)
    s += "\n" + std::to_string(d.numero) + ". " + (d.empresa.empty() ? std::string() : d.empresa + ", ") + "carpeta " +
         d.carpeta.string();
  return s;
}

TPreambulo PreparaCorrida(const std::vector<TSucursal>& sucursales, double dTCambio, const std::string& sUsuario,
                          const std::string& sPassw, IReporte* elReporte, IMensajeroPtr mensajero) {
  if (sucursales.size() == 1) return PreparaCorrida(sucursales[0].carpeta, dTCambio, sUsuario, sPassw, elReporte, mensajero);
  TPreambulo r;
  std::vector<IRepCuestionarioQAVIPtr> reps;
  std::vector<jet::TFuenteJet> fuentes;
  TADOConnection* principal = nullptr;
  const auto falla = [&](TFallaPreambulo f, const TDatosSucursal& d, const char* texto) {
    if (texto) MuestraMensaje(NombraSucursal(d) + ": " + texto);
    r.falla = f;
    r.sucursalFallida = d.numero;
    r.rep.reset();
    return r;
  };
  for (std::size_t i = 0; i < sucursales.size(); ++i) {
    const TSucursal& suc = sucursales[i];
    TDatosSucursal d;
    d.numero = static_cast<int>(i) + 1;
    d.carpeta = suc.carpeta;
    const auto ruta = suc.carpeta / "DataBase" / "Velmar.mdb";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ruta, ec)) return falla(TFallaPreambulo::BaseDeDatos, d, kMsjFaltaBDSucursal);
    for (std::size_t j = 0; j < fuentes.size(); ++j)
      if (std::filesystem::equivalent(ruta, fuentes[j].ruta, ec)) {
        MuestraMensaje(MensajeSucursalRepetida(d.numero, d.carpeta, static_cast<int>(j) + 1));
        return falla(TFallaPreambulo::BaseDeDatos, d, nullptr);
      }
    if (mensajero) mensajero->MsjTxEspera(kMsjConectando, false);
    TADOConnection* conector = nullptr;
    // The BD-101 message already names the file that could not be opened.
    const bool abierta = d.numero == 1 ? AbreBDPrincipal(suc.carpeta, nullptr, conector)
                                       : AbreBDSucursal(d.numero, ruta, conector);
    if (!abierta) return falla(TFallaPreambulo::BaseDeDatos, d, nullptr);
    if (d.numero == 1) principal = conector;
    if (!LeeEmpresaActiva(suc.carpeta, d.nNumEmp)) return falla(TFallaPreambulo::Empresa, d, kMsjSinEmpresa);
    auto rep = std::make_shared<TRepCuestKORU2016>(conector, elReporte, mensajero, dTCambio, d.nNumEmp);
    d.empresa = NombreEmpresa(conector, d.nNumEmp, *rep);
    if (rep->UsuariosConectados()) return falla(TFallaPreambulo::UsuarioConectado, d, kMsjUsuarioConectado);
    if (!rep->ValidaAcceso(suc.usuario.value_or(sUsuario), suc.password.value_or(sPassw), true)) {
      falla(TFallaPreambulo::Acceso, d, kMsjAccesoCaja);
      if (mensajero) mensajero->MsjTxEspera(NombraSucursal(d) + ": " + kMsjAccesoLinea, true);
      return r;
    }
    fuentes.push_back({ruta, d.nNumEmp});
    reps.push_back(std::move(rep));
    r.sucursales.push_back(std::move(d));
  }

  // Every branch's database as one: the same options as the main one.
  std::string error;
  auto motor = jet::TMotorJet::AbreConsolidado(fuentes, PlanSucursalesVelmar(), error, principal->OpcionesJet);
  if (!motor) {
    TErroresBD::Create()->MuestraError(kErrorBD, "EOleException - " + error);
    r.falla = TFallaPreambulo::BaseDeDatos;
    r.sucursales.clear();
    return r;
  }
  auto conexion = std::make_shared<TADOConnection>();
  conexion->AbreSobre(std::make_shared<TMotorAccess>(std::move(motor)));
  auto consolidado = std::make_shared<TRepCuestKORU2016>(conexion.get(), elReporte, mensajero, dTCambio,
                                                          r.sucursales[0].nNumEmp);
  consolidado->ConsolidaSucursales(static_cast<int>(sucursales.size()));
  consolidado->NotaSucursales(NotaSucursales(r.sucursales));
  std::vector<std::string> registro;
  for (std::size_t i = 1; i < r.sucursales.size(); ++i) registro.push_back(EntradaSucursal(r.sucursales[i].numero));
  r.rep = std::make_shared<TRepSucursales>(std::move(reps), std::move(conexion), std::move(consolidado),
                                           std::move(registro));
  return r;
}

}  // namespace qavi
