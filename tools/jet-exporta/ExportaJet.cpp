#include "jet-exporta/ExportaJet.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

#include "common/Json.h"
#include "db/jet/ArchivoMdb.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::tools {
namespace {

using jet::TValorMdb;

// Shortest text that reads back as the same number; "NaN", "Infinity", "-Infinity".
template <class T>
std::string TextoNumero(T x) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

template <class T>
std::string NumeroJson(T x) {
  return std::isfinite(x) ? TextoNumero(x) : "\"" + TextoNumero(x) + "\"";
}

// Civil date of a day counted from 1970-01-01 (proleptic Gregorian).
void Civil(std::int64_t z, std::int64_t& anio, unsigned& mes, unsigned& dia) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  dia = doy - (153 * mp + 2) / 5 + 1;
  mes = mp < 10 ? mp + 3 : mp - 9;
  anio = static_cast<std::int64_t>(yoe) + era * 400 + (mes <= 2);
}

}  // namespace

std::string TextoFecha(double dia) {
  // Far outside any calendar Jet shows, the number itself says more than a made-up date.
  if (!std::isfinite(dia) || std::fabs(dia) > 1e9) return TextoNumero(dia);
  auto dias = static_cast<std::int64_t>(std::trunc(dia));
  auto segundos = static_cast<std::int64_t>(std::llround(std::fabs(dia - std::trunc(dia)) * 86400.0));
  if (segundos >= 86400) {
    ++dias;
    segundos = 0;
  }
  std::int64_t anio;
  unsigned mes, d;
  Civil(dias - 25569, anio, mes, d);  // 1899-12-30 is 25,569 days before 1970-01-01
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(anio), mes, d,
                static_cast<long long>(segundos / 3600), static_cast<long long>(segundos / 60 % 60),
                static_cast<long long>(segundos % 60));
  return buf;
}

std::string ValorJson(const TValorMdb& v) {
  using C = TValorMdb::Clase;
  switch (v.clase) {
    case C::Nulo:
    case C::Ilegible: return "null";
    case C::SiNo: return v.entero ? "true" : "false";
    case C::Entero: return std::to_string(v.entero);
    case C::Moneda: return "\"" + jet::TextoMoneda(v.entero) + "\"";
    case C::Simple: return NumeroJson(v.simple);
    case C::Doble: return NumeroJson(v.real);
    case C::FechaHora: return "\"" + TextoFecha(v.real) + "\"";
    case C::Decimal: return "\"" + jet::TextoDecimal(v.decimal) + "\"";
    case C::Texto: return CadenaJson(v.bytes);
    case C::Guid: return "\"" + jet::TextoGuid(v.bytes) + "\"";
    case C::Binario: {
      static constexpr char kHex[] = "0123456789abcdef";
      std::string s = "\"0x";
      s.reserve(v.bytes.size() * 2 + 4);
      for (unsigned char c : v.bytes) {
        s.push_back(kHex[c >> 4]);
        s.push_back(kHex[c & 15]);
      }
      return s + "\"";
    }
  }
  return "null";
}

int ExportaJet(const std::filesystem::path& mdb, const std::vector<std::string>& tablas, std::ostream& salida,
               std::ostream& errores) {
  std::string error;
  auto archivo = jet::TArchivoMdb::Abre(mdb, error);
  if (!archivo) {
    errores << "No se puede leer " << mdb.string() << ": " << error << ".\n";
    return 1;
  }
  int codigo = 0;
  std::vector<std::string> nombres;
  std::set<std::string> vistas;
  for (const auto& t : tablas.empty() ? archivo->Tablas() : tablas) {
    const std::string nombre = archivo->NombreTabla(t);
    if (nombre.empty()) {
      errores << "La tabla " << t << " no existe en la base de datos.\n";
      codigo = 1;
    } else if (vistas.insert(jet::ClaveNombreJet(nombre)).second) {
      nombres.push_back(nombre);
    }
  }
  for (const auto& nombre : nombres) {
    std::vector<jet::TColumnaMdb> columnas;
    if (!archivo->Columnas(nombre, columnas, error)) {
      errores << error << ".\n";
      codigo = 1;
      continue;
    }
    // The table is written only once it has been read whole: a failure leaves nothing of it.
    std::string texto = "{\"tabla\": " + CadenaJson(nombre) + ", \"columnas\": [";
    for (std::size_t i = 0; i < columnas.size(); ++i) texto += (i ? ", " : "") + CadenaJson(columnas[i].nombre);
    texto += "]}\n";
    std::string ilegible;
    const bool ok = archivo->LeeFilas(
        nombre, {},
        [&](const std::vector<TValorMdb>& fila) {
          texto += '[';
          for (std::size_t i = 0; i < fila.size(); ++i) {
            if (fila[i].clase == TValorMdb::Clase::Ilegible) {
              ilegible = "No se puede leer la columna " + columnas[i].nombre + " de la tabla " + nombre + ": " +
                         fila[i].bytes + ".";
              return false;
            }
            if (i) texto += ", ";
            texto += ValorJson(fila[i]);
          }
          texto += "]\n";
          return true;
        },
        error);
    if (!ok) {
      errores << (ilegible.empty() ? error + "." : ilegible) << "\n";
      codigo = 1;
      continue;
    }
    salida << texto;
  }
  return codigo;
}

}  // namespace qavi::tools
