#include "jetwriter/EscritorMdb.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>

#include "jetwriter/Jet4.h"

namespace qavi::tools {
namespace {

using jet4::Pon16;
using jet4::Pon32;
using jet4::TPagina;

constexpr std::uint32_t kPaginaCatalogo = 2;         // MSysObjects is always defined on page 2
constexpr int kBytesMapa = 64;                       // bitmap of an inline (type 0) usage map
constexpr std::uint32_t kPaginasPorBloque = (jet4::kTamPagina - 4) * 8;  // pages tracked by one 0x05 page
constexpr int kBloquesMapa = 17;                     // enough 0x05 pages for a 2 GB file
constexpr std::uint32_t kMaxPaginas = 0x80000000u / jet4::kTamPagina;
constexpr std::size_t kMaxMemoEnLinea = 1024;        // stored bytes of a memo kept inside its row
constexpr std::size_t kTramoLval = jet4::kTamPagina - jet4::kCabeceraDatos - 2 - 4;
constexpr std::size_t kMaxMemo = 0x00FFFFFF;         // the length field leaves the top byte to flags
constexpr std::size_t kMaxCaracteresComprimibles = 1024;

struct TTramo {
  std::uint32_t ini;
  std::uint32_t fin;  // inclusive
};

struct TTabla {
  std::string nombre;
  std::vector<TColumnaJet> columnas;
  bool sistema = false;
  std::uint32_t paginaDef = 0;
  std::uint32_t filas = 0;
  std::vector<int> desplFijo;  // offset in the fixed area, -1 for variable columns
  std::vector<int> indiceVar;  // slot in the variable-offset table, -1 for fixed columns
  int tamFijo = 0;
  int numVar = 0;
  jet4::TPaginaDatos pagina;
  bool paginaAbierta = false;
  std::vector<TTramo> tramos;
};

bool EsFija(TTipoJet t) {
  return t != TTipoJet::Texto && t != TTipoJet::Memo && t != TTipoJet::Binario && t != TTipoJet::Ole;
}

int TamanoFijo(TTipoJet t) {
  switch (t) {
    case TTipoJet::Booleano: return 0;
    case TTipoJet::Byte: return 1;
    case TTipoJet::Entero: return 2;
    case TTipoJet::EnteroLargo: return 4;
    default: return 8;
  }
}

std::uint8_t CodigoTipo(TTipoJet t) {
  switch (t) {
    case TTipoJet::Booleano: return 0x01;
    case TTipoJet::Byte: return 0x02;
    case TTipoJet::Entero: return 0x03;
    case TTipoJet::EnteroLargo: return 0x04;
    case TTipoJet::Moneda: return 0x05;
    case TTipoJet::Doble: return 0x07;
    case TTipoJet::FechaHora: return 0x08;
    case TTipoJet::Binario: return 0x09;
    case TTipoJet::Texto: return 0x0A;
    case TTipoJet::Ole: return 0x0B;
    case TTipoJet::Memo: return 0x0C;
  }
  return 0;
}

int Caracteres(const TColumnaJet& c) { return c.tamano > 0 ? c.tamano : 255; }

std::string Mayusculas(const std::string& s) {
  std::string r = s;
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return r;
}

std::string Donde(const TTabla& t, std::size_t col) {
  return "la columna " + t.columnas[col].nombre + " de la tabla " + t.nombre;
}

// Pages are reserved by number first and written whenever their content is complete.
class TArchivoPaginas {
 public:
  bool Abre(const std::filesystem::path& ruta) {
    f_.open(ruta, std::ios::binary | std::ios::out | std::ios::trunc);
    return f_.is_open();
  }
  std::uint32_t Reserva() { return siguiente_++; }
  std::uint32_t Total() const { return siguiente_; }
  bool Escribe(std::uint32_t n, const TPagina& p) {
    const std::uint64_t pos = static_cast<std::uint64_t>(n) * jet4::kTamPagina;
    if (pos != pos_) f_.seekp(static_cast<std::streamoff>(pos));
    f_.write(reinterpret_cast<const char*>(p.data()), jet4::kTamPagina);
    pos_ = pos + jet4::kTamPagina;
    return static_cast<bool>(f_);
  }
  bool Cierra() {
    f_.close();
    return !f_.fail();
  }

 private:
  std::ofstream f_;
  std::uint32_t siguiente_ = 0;
  std::uint64_t pos_ = 0;
};

}  // namespace

struct TEscritorMdb::Impl {
  TOpcionesMdb opciones;
  TArchivoPaginas archivo;
  std::vector<TTabla> tablas;
  bool cerrado = false;
  bool fallo = false;

  jet4::TPaginaDatos lval;  // long-value page shared by memos that fit one row
  std::uint32_t paginaLval = 0;
  bool lvalAbierta = false;

  jet4::TPaginaDatos mapas;  // page holding the usage-map rows of the tables
  std::uint32_t paginaMapas = 0;
  bool mapasAbierta = false;

  // Scratch space reused by every row.
  std::vector<std::vector<std::uint8_t>> variables;
  std::vector<std::uint8_t> fila;
  std::vector<std::uint8_t> fijos;
  std::vector<std::uint8_t> mascara;
  std::vector<char> memoFuera;
  std::vector<std::uint16_t> desplVar;

  bool Escribe(std::uint32_t n, const TPagina& p, std::string& error) {
    if (archivo.Total() > kMaxPaginas) {
      fallo = true;
      error = "El archivo excede el tamaño máximo de 2 GB de una base de datos Jet 4.";
      return false;
    }
    if (!archivo.Escribe(n, p)) {
      fallo = true;
      error = "No se pudo escribir en el archivo de base de datos.";
      return false;
    }
    return true;
  }

  std::optional<std::size_t> Declara(const std::string& nombre, const std::vector<TColumnaJet>& columnas,
                                     bool sistema, std::string& error) {
    if (nombre.empty() || nombre.size() > 64) {
      error = "El nombre de tabla \"" + nombre + "\" no es válido.";
      return std::nullopt;
    }
    if (!sistema && Mayusculas(nombre) == "MSYSOBJECTS") {
      error = "El nombre de tabla MSysObjects está reservado para el catálogo.";
      return std::nullopt;
    }
    for (const TTabla& t : tablas) {
      if (Mayusculas(t.nombre) == Mayusculas(nombre)) {
        error = "La tabla " + nombre + " ya existe.";
        return std::nullopt;
      }
    }
    if (columnas.empty() || columnas.size() > 255) {
      error = "La tabla " + nombre + " debe tener entre 1 y 255 columnas.";
      return std::nullopt;
    }
    TTabla t;
    t.nombre = nombre;
    t.columnas = columnas;
    t.sistema = sistema;
    for (std::size_t i = 0; i < columnas.size(); ++i) {
      const TColumnaJet& c = columnas[i];
      if (c.nombre.empty() || c.nombre.size() > 64) {
        error = "La tabla " + nombre + " tiene una columna sin nombre válido.";
        return std::nullopt;
      }
      for (std::size_t k = 0; k < i; ++k) {
        if (Mayusculas(columnas[k].nombre) == Mayusculas(c.nombre)) {
          error = "La columna " + c.nombre + " está repetida en la tabla " + nombre + ".";
          return std::nullopt;
        }
      }
      if (c.tipo == TTipoJet::Texto && (c.tamano < 0 || c.tamano > 255)) {
        error = "El tamaño de " + Donde(t, i) + " debe estar entre 1 y 255.";
        return std::nullopt;
      }
      if (EsFija(c.tipo)) {
        t.desplFijo.push_back(t.tamFijo);
        t.indiceVar.push_back(-1);
        t.tamFijo += TamanoFijo(c.tipo);
      } else {
        t.desplFijo.push_back(-1);
        t.indiceVar.push_back(t.numVar++);
      }
    }
    t.paginaDef = sistema ? kPaginaCatalogo : archivo.Reserva();
    tablas.push_back(std::move(t));
    return tablas.size() - 1;
  }

  // Converts one value into the fixed area or the column's variable bytes.
  bool Codifica(const TTabla& t, std::size_t i, const TValorJet& v, std::string& error) {
    const TColumnaJet& c = t.columnas[i];
    const bool nulo = v.EsNulo();
    const std::size_t byte = i / 8;
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << (i % 8));
    auto tipoErroneo = [&] {
      error = "El valor de " + Donde(t, i) + " no es del tipo de la columna.";
      return false;
    };
    auto entero = [&](std::int64_t& r) {
      if (v.clase == TValorJet::Clase::Entero) {
        r = v.entero;
        return true;
      }
      if (v.clase == TValorJet::Clase::Real && std::isfinite(v.real) && v.real == std::trunc(v.real) &&
          std::fabs(v.real) < 9.2e18) {
        r = static_cast<std::int64_t>(v.real);
        return true;
      }
      return false;
    };
    if (c.tipo == TTipoJet::Booleano) {
      bool valor = false;
      if (v.clase == TValorJet::Clase::Entero) {
        valor = v.entero != 0;
      } else if (v.clase == TValorJet::Clase::Real) {
        valor = v.real != 0.0;
      } else if (!nulo) {
        return tipoErroneo();
      }
      if (valor) mascara[byte] |= bit;
      return true;
    }
    if (!nulo) mascara[byte] |= bit;
    if (EsFija(c.tipo)) {
      if (nulo) return true;
      std::uint8_t* p = fijos.data() + t.desplFijo[i];
      std::int64_t n = 0;
      switch (c.tipo) {
        case TTipoJet::Byte:
        case TTipoJet::Entero:
        case TTipoJet::EnteroLargo: {
          if (!entero(n)) return tipoErroneo();
          const std::int64_t min = c.tipo == TTipoJet::Byte ? 0 : c.tipo == TTipoJet::Entero ? -32768 : INT32_MIN;
          const std::int64_t max = c.tipo == TTipoJet::Byte ? 255 : c.tipo == TTipoJet::Entero ? 32767 : INT32_MAX;
          if (n < min || n > max) {
            error = "El valor " + std::to_string(n) + " está fuera del rango de " + Donde(t, i) + ".";
            return false;
          }
          const auto u = static_cast<std::uint32_t>(n);
          if (c.tipo == TTipoJet::Byte) {
            p[0] = static_cast<std::uint8_t>(u);
          } else if (c.tipo == TTipoJet::Entero) {
            Pon16(p, u);
          } else {
            Pon32(p, u);
          }
          return true;
        }
        case TTipoJet::Moneda: {
          double d = 0;
          if (v.clase == TValorJet::Clase::Entero) {
            d = static_cast<double>(v.entero) * 10000.0;
          } else if (v.clase == TValorJet::Clase::Real) {
            d = std::round(v.real * 10000.0);
          } else {
            return tipoErroneo();
          }
          if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) {
            error = "El importe está fuera del rango de " + Donde(t, i) + ".";
            return false;
          }
          jet4::Pon64(p, static_cast<std::uint64_t>(static_cast<std::int64_t>(d)));
          return true;
        }
        default: {  // Double and Date/Time
          double d = 0;
          if (v.clase == TValorJet::Clase::Real) {
            d = v.real;
          } else if (v.clase == TValorJet::Clase::Entero) {
            d = static_cast<double>(v.entero);
          } else {
            return tipoErroneo();
          }
          jet4::PonDoble(p, d);
          return true;
        }
      }
    }
    std::vector<std::uint8_t>& destino = variables[i];
    destino.clear();
    if (nulo) return true;
    if (c.tipo == TTipoJet::Binario || c.tipo == TTipoJet::Ole) {
      error = "Sólo se admiten valores nulos en " + Donde(t, i) + ".";
      return false;
    }
    if (v.clase != TValorJet::Clase::Texto) return tipoErroneo();
    const std::u16string u = jet4::Utf8AUtf16(v.texto);
    if (c.tipo == TTipoJet::Texto) {
      if (u.size() > static_cast<std::size_t>(Caracteres(c))) {
        error = "El texto excede los " + std::to_string(Caracteres(c)) + " caracteres de " + Donde(t, i) + ".";
        return false;
      }
      jet4::CodificaTexto(u, opciones.comprimeUnicode, destino);
      return true;
    }
    // Jet only compresses memos of up to 1024 characters.
    jet4::CodificaTexto(u, opciones.comprimeUnicode && u.size() <= kMaxCaracteresComprimibles, destino);
    if (destino.size() > kMaxMemo) {
      error = "El texto de " + Donde(t, i) + " es demasiado largo.";
      return false;
    }
    return true;
  }

  // Stores a memo out of its row; returns the page/row pointer and whether it took a single row.
  bool EscribeLval(const std::vector<std::uint8_t>& datos, std::uint32_t& pgFila, bool& unaFila, std::string& error) {
    if (datos.size() <= static_cast<std::size_t>(jet4::kMaxFila)) {
      unaFila = true;
      if (lvalAbierta && !lval.Cabe(datos.size())) {
        if (!Escribe(paginaLval, lval.Bytes(), error)) return false;
        lvalAbierta = false;
      }
      if (!lvalAbierta) {
        paginaLval = archivo.Reserva();
        lval.IniciaLval();
        lvalAbierta = true;
      }
      const int n = lval.Agrega(datos.data(), datos.size());
      pgFila = (paginaLval << 8) | static_cast<std::uint32_t>(n);
      return true;
    }
    // A chain of pages, one row each: pointer to the next part, then the part.
    unaFila = false;
    const std::size_t partes = (datos.size() + kTramoLval - 1) / kTramoLval;
    const std::uint32_t primera = archivo.Reserva();
    for (std::size_t k = 1; k < partes; ++k) archivo.Reserva();
    std::vector<std::uint8_t> fila;
    jet4::TPaginaDatos pagina;
    for (std::size_t k = 0; k < partes; ++k) {
      const std::size_t ini = k * kTramoLval;
      const std::size_t largo = std::min(kTramoLval, datos.size() - ini);
      fila.assign(4, 0);
      if (k + 1 < partes) Pon32(fila.data(), (primera + static_cast<std::uint32_t>(k) + 1) << 8);
      fila.insert(fila.end(), datos.begin() + static_cast<std::ptrdiff_t>(ini),
                  datos.begin() + static_cast<std::ptrdiff_t>(ini + largo));
      pagina.IniciaLval();
      pagina.Agrega(fila.data(), fila.size());
      if (!Escribe(primera + static_cast<std::uint32_t>(k), pagina.Bytes(), error)) return false;
    }
    pgFila = primera << 8;
    return true;
  }

  std::size_t TamanoFila(const TTabla& t) const {
    std::size_t n = 2 + static_cast<std::size_t>(t.tamFijo) + (t.columnas.size() + 7) / 8;
    if (t.numVar > 0) n += 2 * static_cast<std::size_t>(t.numVar + 1) + 2;
    for (std::size_t i = 0; i < t.columnas.size(); ++i) {
      if (t.columnas[i].tipo == TTipoJet::Memo) {
        if (mascara[i / 8] & (1u << (i % 8))) {
          n += 12 + (memoFuera[i] ? 0 : variables[i].size());
        }
      } else if (t.indiceVar[i] >= 0) {
        n += variables[i].size();
      }
    }
    return n;
  }

  bool AgregaFila(TTabla& t, std::span<const TValorJet> valores, std::string& error) {
    const std::size_t nc = t.columnas.size();
    if (valores.size() != nc) {
      error = "La fila para la tabla " + t.nombre + " tiene " + std::to_string(valores.size()) +
              " valores y la tabla tiene " + std::to_string(nc) + " columnas.";
      return false;
    }
    if (variables.size() < nc) variables.resize(nc);
    fijos.assign(static_cast<std::size_t>(t.tamFijo), 0);
    mascara.assign((nc + 7) / 8, 0);
    memoFuera.assign(nc, 0);
    for (std::size_t i = 0; i < nc; ++i) {
      if (!Codifica(t, i, valores[i], error)) return false;
      if (t.columnas[i].tipo == TTipoJet::Memo && variables[i].size() > kMaxMemoEnLinea) memoFuera[i] = 1;
    }
    // Long memos leave the row, the longest first, until the row fits a page.
    while (TamanoFila(t) > static_cast<std::size_t>(jet4::kMaxFila)) {
      std::size_t mayor = nc;
      for (std::size_t i = 0; i < nc; ++i) {
        if (t.columnas[i].tipo == TTipoJet::Memo && !memoFuera[i] &&
            (mayor == nc || variables[i].size() > variables[mayor].size())) {
          mayor = i;
        }
      }
      if (mayor == nc) {
        error = "La fila no cabe en una página de la tabla " + t.nombre + ".";
        return false;
      }
      memoFuera[mayor] = 1;
    }
    // Assemble: column count, fixed area, variable data, offsets (reversed), count, null mask.
    fila.clear();
    fila.resize(2);
    Pon16(fila.data(), static_cast<std::uint32_t>(nc));
    fila.insert(fila.end(), fijos.begin(), fijos.end());
    desplVar.assign(static_cast<std::size_t>(t.numVar) + 1, 0);
    for (std::size_t i = 0; i < nc; ++i) {
      const int slot = t.indiceVar[i];
      if (slot < 0) continue;
      desplVar[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(fila.size());
      const bool presente = (mascara[i / 8] & (1u << (i % 8))) != 0;
      if (t.columnas[i].tipo == TTipoJet::Memo && presente) {
        const std::vector<std::uint8_t>& datos = variables[i];
        std::uint8_t cab[12] = {};
        if (!memoFuera[i]) {
          Pon32(cab, static_cast<std::uint32_t>(datos.size()) | 0x80000000u);
          fila.insert(fila.end(), cab, cab + 12);
          fila.insert(fila.end(), datos.begin(), datos.end());
        } else {
          std::uint32_t pgFila = 0;
          bool unaFila = false;
          if (!EscribeLval(datos, pgFila, unaFila, error)) return false;
          Pon32(cab, static_cast<std::uint32_t>(datos.size()) | (unaFila ? 0x40000000u : 0u));
          Pon32(cab + 4, pgFila);
          fila.insert(fila.end(), cab, cab + 12);
        }
      } else {
        fila.insert(fila.end(), variables[i].begin(), variables[i].end());
      }
    }
    if (t.numVar > 0) {
      desplVar[static_cast<std::size_t>(t.numVar)] = static_cast<std::uint16_t>(fila.size());
      for (int k = t.numVar; k >= 0; --k) {
        const std::uint16_t d = desplVar[static_cast<std::size_t>(k)];
        fila.push_back(static_cast<std::uint8_t>(d & 0xFF));
        fila.push_back(static_cast<std::uint8_t>(d >> 8));
      }
      fila.push_back(static_cast<std::uint8_t>(t.numVar & 0xFF));
      fila.push_back(static_cast<std::uint8_t>(t.numVar >> 8));
    }
    fila.insert(fila.end(), mascara.begin(), mascara.end());

    if (t.paginaAbierta && !t.pagina.Cabe(fila.size())) {
      if (!CierraPagina(t, error)) return false;
    }
    if (!t.paginaAbierta) {
      t.pagina.Inicia(t.paginaDef);
      t.paginaAbierta = true;
    }
    t.pagina.Agrega(fila.data(), fila.size());
    ++t.filas;
    return true;
  }

  bool CierraPagina(TTabla& t, std::string& error) {
    const std::uint32_t n = archivo.Reserva();
    if (!Escribe(n, t.pagina.Bytes(), error)) return false;
    if (!t.tramos.empty() && t.tramos.back().fin + 1 == n) {
      t.tramos.back().fin = n;
    } else {
      t.tramos.push_back({n, n});
    }
    t.paginaAbierta = false;
    return true;
  }

  // Usage map with the pages of `tramos`: one 64-byte window when they are close together,
  // otherwise (type 1) a list of bitmap pages, one per block of pages that holds any of them.
  bool MapaDeUso(const std::vector<TTramo>& tramos, std::vector<std::uint8_t>& mapa, std::string& error) {
    if (tramos.empty() || tramos.back().fin - tramos.front().ini < kBytesMapa * 8) {
      mapa.assign(1 + 4 + kBytesMapa, 0);
      const std::uint32_t base = tramos.empty() ? 0 : tramos.front().ini;
      Pon32(&mapa[1], base);
      for (const TTramo& r : tramos) {
        for (std::uint32_t p = r.ini; p <= r.fin; ++p) mapa[5 + (p - base) / 8] |= static_cast<std::uint8_t>(1u << ((p - base) % 8));
      }
      return true;
    }
    mapa.assign(1 + 4 * kBloquesMapa, 0);
    mapa[0] = 0x01;
    std::size_t r = 0;
    for (std::uint32_t b = 0; b < kBloquesMapa && r < tramos.size(); ++b) {
      const std::uint32_t ini = b * kPaginasPorBloque;
      const std::uint32_t fin = ini + kPaginasPorBloque;  // exclusive
      if (tramos[r].ini >= fin) continue;
      TPagina p{};
      p[0] = 0x05;
      p[1] = 0x01;
      for (; r < tramos.size() && tramos[r].ini < fin; ++r) {
        const std::uint32_t hasta = std::min(tramos[r].fin, fin - 1);
        for (std::uint32_t q = std::max(tramos[r].ini, ini); q <= hasta; ++q) {
          p[4 + (q - ini) / 8] |= static_cast<std::uint8_t>(1u << ((q - ini) % 8));
        }
        if (tramos[r].fin >= fin) break;  // the run continues in the next block
      }
      const std::uint32_t n = archivo.Reserva();
      if (!Escribe(n, p, error)) return false;
      Pon32(&mapa[1 + 4 * b], n);
    }
    return true;
  }

  std::uint32_t AgregaMapa(const std::vector<std::uint8_t>& registro, std::string& error) {
    if (mapasAbierta && !mapas.Cabe(registro.size())) {
      if (!Escribe(paginaMapas, mapas.Bytes(), error)) return 0;
      mapasAbierta = false;
    }
    if (!mapasAbierta) {
      paginaMapas = archivo.Reserva();
      mapas.Inicia(0);
      mapasAbierta = true;
    }
    const int n = mapas.Agrega(registro.data(), registro.size());
    return (paginaMapas << 8) | static_cast<std::uint32_t>(n);
  }

  bool Termina(TTabla& t, std::string& error) {
    if (t.paginaAbierta && !CierraPagina(t, error)) return false;
    std::vector<std::uint8_t> uso;
    if (!MapaDeUso(t.tramos, uso, error)) return false;
    const std::uint32_t pgUso = AgregaMapa(uso, error);
    if (pgUso == 0) return false;
    std::vector<std::uint8_t> libres;
    if (!MapaDeUso({}, libres, error)) return false;
    const std::uint32_t pgLibres = AgregaMapa(libres, error);
    if (pgLibres == 0) return false;

    std::vector<std::uint8_t> d(0x3F, 0);
    d[0] = 0x02;
    d[1] = 0x01;
    Pon32(&d[0x10], t.filas);
    d[0x18] = 0x01;
    d[0x28] = t.sistema ? 0x53 : 0x4E;
    const auto nc = static_cast<std::uint32_t>(t.columnas.size());
    Pon16(&d[0x29], nc);
    Pon16(&d[0x2B], static_cast<std::uint32_t>(t.numVar));
    Pon16(&d[0x2D], nc);
    Pon32(&d[0x37], pgUso);
    Pon32(&d[0x3B], pgLibres);
    for (std::uint32_t i = 0; i < nc; ++i) {
      const TColumnaJet& c = t.columnas[i];
      std::uint8_t e[25] = {};
      e[0] = CodigoTipo(c.tipo);
      Pon16(&e[5], i);
      Pon16(&e[9], i);
      const bool texto = c.tipo == TTipoJet::Texto || c.tipo == TTipoJet::Memo;
      if (texto) {
        Pon16(&e[11], 0x0409);  // General sort order
        e[16] = opciones.comprimeUnicode ? 0x01 : 0x00;
      }
      if (EsFija(c.tipo)) {
        e[15] = 0x03;  // fixed length, may be null
        Pon16(&e[21], static_cast<std::uint32_t>(t.desplFijo[i]));
        Pon16(&e[23], c.tipo == TTipoJet::Booleano ? 1u : static_cast<std::uint32_t>(TamanoFijo(c.tipo)));
      } else {
        e[15] = 0x02;
        Pon16(&e[7], static_cast<std::uint32_t>(t.indiceVar[i]));
        const std::uint32_t largo = c.tipo == TTipoJet::Texto ? 2u * static_cast<std::uint32_t>(Caracteres(c))
                                    : c.tipo == TTipoJet::Binario ? 255u
                                                                  : 0u;
        Pon16(&e[23], largo);
      }
      d.insert(d.end(), e, e + 25);
    }
    for (const TColumnaJet& c : t.columnas) {
      const std::u16string u = jet4::Utf8AUtf16(c.nombre);
      const std::size_t pos = d.size();
      d.resize(pos + 2 + 2 * u.size());
      Pon16(&d[pos], static_cast<std::uint32_t>(2 * u.size()));
      for (std::size_t k = 0; k < u.size(); ++k) Pon16(&d[pos + 2 + 2 * k], u[k]);
    }
    if (d.size() > static_cast<std::size_t>(jet4::kTamPagina)) {
      error = "La definición de la tabla " + t.nombre + " no cabe en una página.";
      return false;
    }
    Pon32(&d[0x08], static_cast<std::uint32_t>(d.size()));
    Pon16(&d[0x02], static_cast<std::uint32_t>(jet4::kTamPagina - d.size() - 8));
    TPagina p{};
    std::copy(d.begin(), d.end(), p.begin());
    return Escribe(t.paginaDef, p, error);
  }

  bool EscribeCatalogo(std::string& error) {
    using T = TTipoJet;
    const std::vector<TColumnaJet> columnas = {
        {"Id", T::EnteroLargo},       {"ParentId", T::EnteroLargo}, {"Name", T::Texto, 128},
        {"Type", T::Entero},          {"DateCreate", T::FechaHora}, {"DateUpdate", T::FechaHora},
        {"Owner", T::Binario},        {"Flags", T::EnteroLargo},    {"Database", T::Memo},
        {"Connect", T::Memo},         {"ForeignName", T::Texto, 128}, {"RmtInfoShort", T::Binario},
        {"RmtInfoLong", T::Ole},      {"Lv", T::Ole},               {"LvProp", T::Ole},
        {"LvModule", T::Ole},         {"LvExtra", T::Ole},
    };
    const std::size_t usuarios = tablas.size();
    const auto cat = Declara("MSysObjects", columnas, true, error);
    if (!cat) return false;
    constexpr std::int64_t kRaiz = 0x0F000000;
    constexpr std::int64_t kContenedorTablas = 0x0F000001;
    constexpr std::int64_t kSistema = static_cast<std::int32_t>(0x80000000u);
    constexpr std::int64_t kTablaSistema = static_cast<std::int32_t>(0x80000002u);
    const double f = opciones.fechaCreacion;
    auto renglon = [&](std::int64_t id, std::int64_t padre, const std::string& nombre, int tipo,
                       std::int64_t banderas) {
      const std::vector<TValorJet> v = {id,   padre,   nombre, tipo, f,    f,    Nulo, banderas, Nulo,
                                        Nulo, Nulo,    Nulo,   Nulo, Nulo, Nulo, Nulo, Nulo};
      return AgregaFila(tablas[*cat], v, error);
    };
    if (!renglon(kContenedorTablas, kRaiz, "Tables", 3, kSistema) ||
        !renglon(kRaiz + 2, kRaiz, "Databases", 3, kSistema) ||
        !renglon(kRaiz + 3, kRaiz, "Relationships", 3, kSistema) ||
        !renglon(kPaginaCatalogo, kContenedorTablas, "MSysObjects", 1, kTablaSistema)) {
      return false;
    }
    for (std::size_t i = 0; i < usuarios; ++i) {
      if (!renglon(tablas[i].paginaDef, kContenedorTablas, tablas[i].nombre, 1, 0)) return false;
    }
    return Termina(tablas[*cat], error);
  }

  bool Cierra(std::string& error) {
    for (TTabla& t : tablas) {
      if (!Termina(t, error)) return false;
    }
    if (!EscribeCatalogo(error)) return false;
    if (lvalAbierta) {
      if (!Escribe(paginaLval, lval.Bytes(), error)) return false;
      lvalAbierta = false;
    }
    if (mapasAbierta) {
      if (!Escribe(paginaMapas, mapas.Bytes(), error)) return false;
      mapasAbierta = false;
    }
    // Page 1: the map of free pages of the whole file; every page written is in use.
    const std::uint32_t total = archivo.Total();
    std::vector<std::uint8_t> global(1 + 4 + kBytesMapa, 0);
    const std::uint32_t base = total < kBytesMapa * 8 ? 0 : total;
    Pon32(&global[1], base);
    for (std::uint32_t p = total; p < base + kBytesMapa * 8; ++p) {
      global[5 + (p - base) / 8] |= static_cast<std::uint8_t>(1u << ((p - base) % 8));
    }
    jet4::TPaginaDatos p1;
    p1.Inicia(0);
    p1.Agrega(global.data(), global.size());
    if (!Escribe(1, p1.Bytes(), error)) return false;
    if (!archivo.Cierra()) {
      error = "No se pudo terminar de escribir el archivo de base de datos.";
      return false;
    }
    return true;
  }
};

TEscritorMdb::TEscritorMdb(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TEscritorMdb::~TEscritorMdb() {
  if (!impl_->cerrado && !impl_->fallo) {
    std::string error;
    impl_->Cierra(error);
  }
}

std::unique_ptr<TEscritorMdb> TEscritorMdb::Crea(const std::filesystem::path& ruta, const TOpcionesMdb& opciones,
                                                 std::string& error) {
  const std::u16string password = jet4::Utf8AUtf16(opciones.password);
  if (password.size() > 20) {
    error = "La contraseña de la base de datos no puede exceder 20 caracteres.";
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  impl->opciones = opciones;
  if (!impl->archivo.Abre(ruta)) {
    error = "No se pudo crear el archivo " + ruta.string() + ".";
    return nullptr;
  }
  // Pages 0 (header), 1 (free-page map) and 2 (catalog definition) come first in every file.
  for (int i = 0; i < 3; ++i) impl->archivo.Reserva();
  if (!impl->Escribe(0, jet4::PaginaCabecera(password, opciones.fechaCreacion), error)) return nullptr;
  return std::unique_ptr<TEscritorMdb>(new TEscritorMdb(std::move(impl)));
}

int TEscritorMdb::Tabla(const std::string& nombre, const std::vector<TColumnaJet>& columnas, std::string& error) {
  if (impl_->cerrado || impl_->fallo) {
    error = "El archivo de base de datos ya está cerrado.";
    return -1;
  }
  const auto i = impl_->Declara(nombre, columnas, false, error);
  return i ? static_cast<int>(*i) : -1;
}

bool TEscritorMdb::Fila(int tabla, std::span<const TValorJet> valores, std::string& error) {
  if (impl_->cerrado || impl_->fallo) {
    error = "El archivo de base de datos ya está cerrado.";
    return false;
  }
  if (tabla < 0 || static_cast<std::size_t>(tabla) >= impl_->tablas.size()) {
    error = "La tabla indicada no existe.";
    return false;
  }
  // A rejected value leaves the file as it was; only a failed write ends it.
  return impl_->AgregaFila(impl_->tablas[static_cast<std::size_t>(tabla)], valores, error);
}

bool TEscritorMdb::Cierra(std::string& error) {
  if (impl_->cerrado) return true;
  impl_->cerrado = true;
  if (!impl_->Cierra(error)) {
    impl_->fallo = true;
    return false;
  }
  return true;
}

}  // namespace qavi::tools
