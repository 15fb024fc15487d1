#include "db/jet/CatalogoTipos.h"

#include "db/jet/ArchivoMdb.h"
#include "db/jet/funciones/AritmeticaExacta.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {

TTipoValor TipoValorDeColumna(const TColumnaMdb& columna) {
  using C = TClaseValor;
  switch (columna.tipo) {
    case TTipoColumna::Booleano:
    case TTipoColumna::Byte:
    case TTipoColumna::Entero:
    case TTipoColumna::EnteroLargo: return {C::Entero};
    case TTipoColumna::Simple: return {C::Simple};
    case TTipoColumna::Doble: return {C::Doble};
    case TTipoColumna::Moneda: return {C::Moneda, 4};
    case TTipoColumna::Decimal:
      if (columna.escala >= 0 && columna.escala <= kEscalaMaxima) return {C::Decimal, columna.escala};
      return {};
    default: return {};
  }
}

void TCatalogoTipos::Agrega(const TArchivoMdb& archivo, const std::string& tabla) {
  std::vector<TColumnaMdb> columnas;
  std::string error;
  if (!archivo.Columnas(tabla, columnas, error)) return;
  std::vector<TColumnaTipada> tipadas;
  for (const auto& c : columnas) tipadas.push_back({c.nombre, TipoValorDeColumna(c)});
  tablas_[ClaveNombreJet(tabla)] = std::move(tipadas);
}

const std::vector<TColumnaTipada>* TCatalogoTipos::Columnas(const std::string& tabla) const {
  const auto it = tablas_.find(ClaveNombreJet(tabla));
  return it == tablas_.end() ? nullptr : &it->second;
}

}  // namespace qavi::jet
