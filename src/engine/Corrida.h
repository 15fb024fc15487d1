#pragma once
// What both runs (detect PEPs, generate the report) do before their own work, for the window
// and the headless command alike: open the Velmar database beside the program, read the active
// company, make the questionnaire object, check nobody is connected and the administrator.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/IIMensajero.h"
#include "db/ADO.h"
#include "report/IIRepCuestionarioQAVI.h"
#include "report/IIReporte.h"

namespace qavi {

inline constexpr const char* kMsjFaltaBD = "Error: Este programa debe encontrarse en la carpeta del Velmar.";
inline constexpr const char* kMsjConectando = "Conectando con la BD...";
inline constexpr const char* kMsjSinEmpresa = "No se pudo extraer el Número de la Empresa predeterminada.";
inline constexpr const char* kMsjUsuarioConectado = "Hay un usuario conectado a la BD. Cierre Velmar antes de continuar.";
inline constexpr const char* kMsjAccesoCaja =
    "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador.";
inline constexpr const char* kMsjAccesoLinea =
    "La contraseña es incorrecta o, el usuario no tiene permisos de administrador.";

// Opens "BDPrincipal" on carpeta/DataBase/Velmar.mdb through gColectorConxs.
bool AbreBDPrincipal(const std::filesystem::path& carpeta, IMensajero* mensajero, TADOConnection*& Conector);
// [Control] EmpresaActiva of carpeta/Velmar.INI; true when it is greater than zero.
bool LeeEmpresaActiva(const std::filesystem::path& carpeta, int& nNumEmp);

enum class TFallaPreambulo { Ninguna, BaseDeDatos, Empresa, UsuarioConectado, Acceso };

// A branch of the exchange house: its Velmar folder and, when they differ from the run's, the
// key and password of its administrator.
struct TSucursal {
  std::filesystem::path carpeta;
  std::optional<std::string> usuario, password;
};

// What a run found of each branch.
struct TDatosSucursal {
  int numero = 0;
  std::filesystem::path carpeta;
  int nNumEmp = 0;
  std::string empresa;  // the name of its active company
};

struct TPreambulo {
  TFallaPreambulo falla = TFallaPreambulo::Ninguna;
  IRepCuestionarioQAVIPtr rep;  // set when falla is Ninguna
  // With several branches: what was found of each, and the branch that refused (0: none).
  std::vector<TDatosSucursal> sucursales;
  int sucursalFallida = 0;
};

// Steps 1 to 6 of a run, with every message of the failure table. On an access failure the
// caller still owes the focus on the password box.
TPreambulo PreparaCorrida(const std::filesystem::path& carpeta, double dTCambio, const std::string& sUsuario,
                          const std::string& sPassw, IReporte* elReporte, IMensajeroPtr mensajero);

// The same for a company with several branches (branch 1 first). One branch is exactly the run
// above. With several, every branch is opened and checked in order, and the first one that
// refuses stops the run with its message, which names the branch (folder and company); then the
// questionnaire object answers over all their databases as one (TRepSucursales).
TPreambulo PreparaCorrida(const std::vector<TSucursal>& sucursales, double dTCambio, const std::string& sUsuario,
                          const std::string& sPassw, IReporte* elReporte, IMensajeroPtr mensajero);

// "Sucursal N (carpeta, empresa)", as messages name a branch.
std::string NombraSucursal(const TDatosSucursal& sucursal);
// A branch whose database is an earlier branch's again would count its operations twice.
std::string MensajeSucursalRepetida(int numero, const std::filesystem::path& carpeta, int otra);

// Page 1's note of the branches an answer consolidates.
std::string NotaSucursales(const std::vector<TDatosSucursal>& sucursales);

}  // namespace qavi
