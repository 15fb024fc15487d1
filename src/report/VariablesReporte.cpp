#include "report/VariablesReporte.h"

#include <algorithm>
#include <cctype>

#include "common/Texto.h"

namespace qavi {

namespace {
const char* const kCategoria = "Cuestionario";
constexpr int kUltimaDeclarada = 326;
constexpr int kAntesDeNombreCC = 50;

TEntradaVariable Variable(std::string nombre) { return {std::move(nombre), false, std::nullopt}; }
}  // namespace

TVariablesReporte::TVariablesReporte() {
  entradas_.reserve(kUltimaDeclarada + 2);
  entradas_.push_back({std::string(" ") + kCategoria, true, std::nullopt});
  for (int n = 1; n <= kAntesDeNombreCC; ++n) entradas_.push_back(Variable("preg_" + std::to_string(n)));
  entradas_.push_back(Variable("NombreCC"));
  for (int n = kAntesDeNombreCC + 1; n <= kUltimaDeclarada; ++n)
    entradas_.push_back(Variable("preg_" + std::to_string(n)));
}

TVariablesReporte TVariablesReporte::Vacia() { return TVariablesReporte(Vacio{}); }

void TVariablesReporte::AgregaCategoria(const std::string& sCategoria) {
  const std::string nombre = " " + sCategoria;
  for (const auto& e : entradas_)
    if (e.bCategoria && IgualSinCasoAscii(e.sNombre, nombre)) return;
  entradas_.push_back({nombre, true, std::nullopt});
}

std::vector<TEntradaVariable>::const_iterator TVariablesReporte::BuscaVariable(
    const std::string& sVariable) const {
  return std::find_if(entradas_.begin(), entradas_.end(), [&](const TEntradaVariable& e) {
    return !e.bCategoria && IgualSinCasoAscii(e.sNombre, sVariable);
  });
}

bool TVariablesReporte::AsignaVariable(const std::string& sCategoria, const std::string& sVariable,
                                       const std::string& sValor) {
  const std::string nombre = " " + sCategoria;
  auto cat = std::find_if(entradas_.begin(), entradas_.end(), [&](const TEntradaVariable& e) {
    return e.bCategoria && IgualSinCasoAscii(e.sNombre, nombre);
  });
  if (cat == entradas_.end()) return false;

  auto existente = BuscaVariable(sVariable);
  if (existente != entradas_.end()) {
    entradas_[existente - entradas_.begin()].valor = sValor;
    return true;
  }
  auto fin = std::find_if(cat + 1, entradas_.end(), [](const TEntradaVariable& e) { return e.bCategoria; });
  entradas_.insert(fin, {sVariable, false, sValor});
  return true;
}

std::optional<std::string> TVariablesReporte::DameValor(const std::string& sVariable) const {
  auto it = BuscaVariable(sVariable);
  if (it == entradas_.end()) return std::nullopt;
  return it->valor;
}

bool TVariablesReporte::Existe(const std::string& sVariable) const {
  return BuscaVariable(sVariable) != entradas_.end();
}

}  // namespace qavi
