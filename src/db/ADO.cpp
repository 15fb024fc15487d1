#include "db/ADO.h"

#include "common/Texto.h"
#include "db/MotorODBC.h"
#include "db/MotorAccess.h"
#include "db/jet/MotorJet.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi {

std::map<std::string, std::string> PartesStrConexion(const std::string& s) {
  std::map<std::string, std::string> partes;
  size_t i = 0;
  while (i < s.size()) {
    size_t igual = s.find('=', i);
    if (igual == std::string::npos) break;
    std::string clave = MinusculasAscii(RecortaBlancos(s.substr(i, igual - i)));
    size_t j = igual + 1;
    std::string valor;
    // A value may be quoted so that it can hold ';'.
    size_t k = j;
    while (k < s.size() && s[k] == ' ') ++k;
    if (k < s.size() && (s[k] == '"' || s[k] == '\'')) {
      char q = s[k];
      size_t fin = k + 1;
      while (fin < s.size()) {
        if (s[fin] == q) {
          if (fin + 1 < s.size() && s[fin + 1] == q) { valor += q; fin += 2; continue; }
          break;
        }
        valor += s[fin++];
      }
      j = s.find(';', fin);
    } else {
      size_t fin = s.find(';', j);
      valor = s.substr(j, fin == std::string::npos ? std::string::npos : fin - j);
      j = fin;
    }
    if (!clave.empty()) partes[clave] = valor;
    if (j == std::string::npos) break;
    i = j + 1;
  }
  return partes;
}

void TADOConnection::Connected(bool bValor) {
  if (!bValor) {
    motor_.reset();
    return;
  }
  if (motor_) return;
  auto partes = PartesStrConexion(sStrConexion_);
  auto proveedor = partes.count("provider") ? RecortaBlancos(partes["provider"]) : std::string();
  std::string error;
  if (IgualSinCasoAscii(proveedor, "Microsoft.Jet.OLEDB.4.0")) {
    std::string ruta = partes.count("data source") ? partes["data source"] : std::string();
    if (ruta.empty()) throw EOleException("No se indicó el archivo de la base de datos.");
    // The database password is accepted; the file is only ever read.
    auto motor = jet::TMotorJet::Abre(ruta, error, OpcionesJet);
    if (!motor) throw EOleException(error + " (" + ruta + ")");
    motor_ = std::make_shared<TMotorAccess>(std::move(motor));
  } else if (IgualSinCasoAscii(proveedor, "SQLOLEDB.1") || IgualSinCasoAscii(proveedor, "SQLOLEDB")) {
    auto motor = AbreMotorODBC(partes, error);
    if (!motor) throw EOleException(error);
    motor_ = motor;
  } else if (proveedor.empty()) {
    throw EOleException("La cadena de conexión no indica el proveedor.");
  } else {
    throw EOleException("Proveedor no reconocido: " + proveedor + ".");
  }
}

IMotorBDPtr TADOQuery::MotorActivo() const {
  if (!Connection) throw EDatabaseError("La consulta no tiene conexión.");
  auto motor = Connection->Motor();
  if (!motor) throw EDatabaseError("La conexión con la base de datos está cerrada.");
  return motor;
}

void TADOQuery::Open() {
  Close();
  auto motor = MotorActivo();
  std::string error;
  TResultadoConsulta r;
  if (!motor->Consulta(sSQL_, r, error)) throw EOleException(error);
  resultado_ = std::move(r);
  fila_ = 0;
  activa_ = true;
}

void TADOQuery::ExecSQL() {
  Close();
  auto motor = MotorActivo();
  std::string error;
  if (!motor->Ejecuta(sSQL_, error)) throw EOleException(error);
}

void TADOQuery::Close() {
  activa_ = false;
  resultado_ = {};
  fila_ = 0;
}

const TVariante* TADOQuery::FindField(const std::string& sNombre) const {
  if (!activa_ || fila_ >= resultado_.filas.size()) return nullptr;
  for (size_t i = 0; i < resultado_.columnas.size(); ++i)
    if (jet::MismoNombreJet(resultado_.columnas[i], sNombre)) return &resultado_.filas[fila_][i];
  return nullptr;
}

const TVariante& TADOQuery::FieldByName(const std::string& sNombre) const {
  static const TVariante kNulo;
  auto p = FindField(sNombre);
  return p ? *p : kNulo;
}

}  // namespace qavi
