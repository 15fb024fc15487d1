#include "db/jet/ConsolidacionJet.h"

#include <cmath>
#include <limits>

#include "common/FormatoNumero.h"
#include "db/jet/ArchivoMdb.h"
#include "db/jet/CargadorTablas.h"
#include "db/jet/TablaMemoria.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {
namespace {

// Before any printable character, so a marked key never equals an unmarked one.
constexpr char kMarca = '\x1F';

bool EsEmpresa(const TVariante& v, std::int64_t empresa) {
  switch (v.tipo) {
    case TVariante::Tipo::Entero: return v.entero == empresa;
    case TVariante::Tipo::Real: return v.real == static_cast<double>(empresa);
    case TVariante::Tipo::Texto: return v.ComoTexto() == FormatoNumero(empresa);
    case TVariante::Tipo::Nulo: return false;
  }
  return false;
}

void FijaEmpresa(TVariante& v, std::int64_t empresa) {
  switch (v.tipo) {
    case TVariante::Tipo::Entero: v.entero = empresa; break;
    case TVariante::Tipo::Real: v.real = static_cast<double>(empresa); break;
    case TVariante::Tipo::Texto: v.texto = FormatoNumero(empresa); break;
    case TVariante::Tipo::Nulo: break;
  }
}

// The positions of a rule's columns among the loaded ones (-1: not loaded).
int Posicion(const TColumnasCarga& carga, std::string_view columna) {
  for (std::size_t i = 0; i < carga.nombres.size(); ++i)
    if (MismoNombreJet(carga.nombres[i], columna)) return static_cast<int>(i);
  return -1;
}

}  // namespace

const TReglaConsolidacion* TPlanConsolidacion::Regla(std::string_view tabla) const {
  for (const auto& r : reglas)
    if (MismoNombreJet(r.tabla, tabla)) return &r;
  return nullptr;
}

std::string ClaveLocalTexto(std::string_view clave, int fuente) {
  return kMarca + std::to_string(fuente) + kMarca + std::string(clave);
}

void LocalizaClave(TVariante& v, int fuente, int total) {
  const std::int64_t desplazamiento = fuente - 1;
  switch (v.tipo) {
    case TVariante::Tipo::Nulo: return;
    case TVariante::Tipo::Entero:
      if (std::int64_t r; !__builtin_mul_overflow(v.entero, std::int64_t{total}, &r) &&
                          !__builtin_add_overflow(r, desplazamiento, &r)) {
        v.entero = r;
        return;
      }
      break;
    case TVariante::Tipo::Real:
      // Exact while the result stays within a double's whole numbers.
      if (v.real == std::floor(v.real) && std::fabs(v.real) * total < 9007199254740992.0) {
        v.real = v.real * total + static_cast<double>(desplazamiento);
        return;
      }
      break;
    case TVariante::Tipo::Texto: break;
  }
  v = TVariante::DeTexto(ClaveLocalTexto(v.ComoTexto(), fuente));
}

std::shared_ptr<TTablaMemoria> LeeTablaConsolidada(const std::vector<const TArchivoMdb*>& archivos,
                                                   const std::vector<TFuenteJet>& fuentes,
                                                   const TPlanConsolidacion& plan, const std::string& tabla,
                                                   std::string& nombre, std::string& error) {
  const TReglaConsolidacion* regla = plan.Regla(tabla);
  const std::size_t cuantas = regla ? archivos.size() : 1;
  const auto conRuta = [&](std::size_t i) {
    error += " (" + fuentes[i].ruta.string() + ")";
    return nullptr;
  };
  TColumnasCarga primera;
  if (!ColumnasParaCarga(*archivos[0], tabla, {}, primera, error)) return conRuta(0);
  nombre = primera.tabla;
  const int empresa = regla && !regla->columnaEmpresa.empty() ? Posicion(primera, regla->columnaEmpresa) : -1;
  std::vector<int> claves;
  if (regla)
    for (const auto& c : regla->claves)
      if (const int p = Posicion(primera, c); p >= 0) claves.push_back(p);

  auto memoria = std::make_shared<TTablaMemoria>(primera.declaraciones);
  std::size_t anunciadas = 0;
  for (std::size_t i = 0; i < cuantas; ++i) anunciadas += archivos[i]->FilasAnunciadas(primera.tabla);
  memoria->Reserva(anunciadas);
  for (std::size_t i = 0; i < cuantas; ++i) {
    TColumnasCarga carga;
    // Every file is read with the first file's columns, found by name.
    if (!ColumnasParaCarga(*archivos[i], tabla, i == 0 ? std::vector<std::string>{} : primera.nombres, carga, error))
      return conRuta(i);
    const int fuente = static_cast<int>(i) + 1;
    const int total = static_cast<int>(archivos.size());
    const std::int64_t suya = fuentes[i].empresa, comun = fuentes[0].empresa;
    const TTransformaFila transforma = [&](std::vector<TVariante>& fila) {
      if (empresa >= 0) {
        if (!EsEmpresa(fila[empresa], suya)) return false;
        FijaEmpresa(fila[empresa], comun);
      }
      for (const int c : claves) LocalizaClave(fila[c], fuente, total);
      return true;
    };
    if (!AgregaFilas(*archivos[i], carga, *memoria, regla ? transforma : TTransformaFila{}, error)) return conRuta(i);
  }
  return memoria;
}

}  // namespace qavi::jet
