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

// The mark a text key of file `fuente` carries in front.
std::string Marca(int fuente) { return kMarca + std::to_string(fuente) + kMarca; }

// A value as the engine sees it: whole number, real or text (GUID as its text); false for the rest.
bool EsEntero(const TValorMdb& v) { return v.clase == TValorMdb::Clase::SiNo || v.clase == TValorMdb::Clase::Entero; }
bool EsTexto(const TValorMdb& v, std::string& texto) {
  if (v.clase == TValorMdb::Clase::Texto) texto = v.bytes;
  else if (v.clase == TValorMdb::Clase::Guid) texto = TextoGuid(v.bytes);
  else return false;
  return true;
}

bool EsEmpresa(const TValorMdb& v, std::int64_t empresa) {
  double real;
  std::string texto;
  if (EsEntero(v)) return v.entero == empresa;
  if (ComoReal(v, real)) return real == static_cast<double>(empresa);
  if (EsTexto(v, texto)) return texto == FormatoNumero(empresa);
  return false;
}

void FijaEmpresa(TValorMdb& v, std::int64_t empresa) {
  double real;
  std::string texto;
  if (EsEntero(v)) v.entero = empresa;
  else if (ComoReal(v, real)) v = TValorMdb::Doble(static_cast<double>(empresa));
  else if (EsTexto(v, texto)) v = TValorMdb::Texto(FormatoNumero(empresa));
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

std::string ClaveLocalTexto(std::string_view clave, int fuente) { return Marca(fuente) + std::string(clave); }

void LocalizaClave(TValorMdb& v, int fuente, int total) {
  if (v.clase == TValorMdb::Clase::Texto) {  // the usual key, marked where it stands
    v.bytes.insert(0, Marca(fuente));
    return;
  }
  const std::int64_t desplazamiento = fuente - 1;
  double real;
  std::string texto;
  if (EsEntero(v)) {
    if (std::int64_t r; !__builtin_mul_overflow(v.entero, std::int64_t{total}, &r) &&
                        !__builtin_add_overflow(r, desplazamiento, &r)) {
      v.clase = TValorMdb::Clase::Entero;
      v.entero = r;
      return;
    }
    texto = FormatoNumero(v.entero);
  } else if (ComoReal(v, real)) {
    // Exact while the result stays within a double's whole numbers.
    if (real == std::floor(real) && std::fabs(real) * total < 9007199254740992.0) {
      v = TValorMdb::Doble(real * total + static_cast<double>(desplazamiento));
      return;
    }
    texto = FormatoNumero(real);
  } else if (!EsTexto(v, texto)) {
    return;  // null, bytes and values that cannot be read stay as they are
  }
  v = TValorMdb::Texto(ClaveLocalTexto(texto, fuente));
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

  auto memoria = std::make_shared<TTablaMemoria>(primera.declaraciones, primera.tabla, primera.nombres);
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
    const TTransformaFila transforma = [&](std::vector<TValorMdb>& fila) {
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
