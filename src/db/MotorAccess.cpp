#include "db/MotorAccess.h"

#include "db/jet/MotorJet.h"

namespace qavi {
namespace {

TVariante DeJet(jet::TValorMdb&& v) {
  using C = jet::TValorMdb::Clase;
  switch (v.clase) {
    case C::Entero: return TVariante::DeEntero(v.entero);
    case C::Doble: return TVariante::DeReal(v.real);
    case C::Texto: return TVariante::DeTexto(std::move(v.bytes));
    default: return TVariante::Nulo();  // the engine hands out no other class
  }
}

}  // namespace

TMotorAccess::TMotorAccess(std::shared_ptr<jet::TMotorJet> motor) : motor_(std::move(motor)) {}

bool TMotorAccess::Consulta(const std::string& sSQL, TResultadoConsulta& resultado, std::string& error) {
  resultado = {};
  jet::TResultadoJet r;
  if (!motor_->Consulta(sSQL, r, error)) return false;
  resultado.columnas = std::move(r.columnas);
  resultado.filas.reserve(r.filas.size());
  for (auto& fila : r.filas) {
    std::vector<TVariante> v;
    v.reserve(fila.size());
    for (auto& celda : fila) v.push_back(DeJet(std::move(celda)));
    resultado.filas.push_back(std::move(v));
  }
  return true;
}

bool TMotorAccess::Ejecuta(const std::string& sSQL, std::string& error) { return motor_->Ejecuta(sSQL, error); }

void TMotorAccess::Anticipa(const std::vector<std::string>& sentencias) { motor_->Anticipa(sentencias); }

}  // namespace qavi
