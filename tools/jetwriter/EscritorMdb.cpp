#include "jetwriter/EscritorMdb.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
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
constexpr std::size_t kMaxLargoEnLinea = 1024;       // stored bytes of a long value kept inside its row
constexpr std::size_t kTramoLval = jet4::kTamPagina - jet4::kCabeceraDatos - 2 - 4;
constexpr std::size_t kMaxLargo = 0x00FFFFFF;        // bytes of one memo or OLE value
constexpr std::size_t kMaxCaracteresComprimibles = 1024;
constexpr std::uint32_t kMagia = 0x0659;             // Jet repeats it in every definition and column
constexpr int kCabeceraDefinicion = 0x3F;
constexpr int kDescriptorColumna = 25;

const char* const kSistema[] = {"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships"};

// A page being filled row by row; its number is reserved when it starts.
struct TPaginaEnCurso {
  jet4::TPaginaDatos pagina;
  std::uint32_t numero = 0;
  bool abierta = false;
};

// Long-value pages of one memo or OLE column.
struct TLargos {
  TPaginaEnCurso enCurso;  // shared by the values that fit one row
  std::vector<std::uint32_t> paginas;
};

struct TTabla {
  std::string nombre;
  std::vector<TColumnaJet> columnas;  // deleted ones included, in column-number order
  bool sistema = false;
  std::uint32_t paginaDef = 0;
  std::uint32_t filas = 0;     // live rows
  std::size_t escritas = 0;    // every row appended, deleted ones included
  std::vector<int> desplFijo;  // offset in the fixed area, -1 for variable columns and Yes/No
  std::vector<int> indiceVar;  // slot in the variable-offset table, -1 for fixed columns
  std::vector<int> finFijos;   // [k]: bytes of the fixed area holding columns 0..k-1
  std::vector<int> numVars;    // [k]: variable columns among columns 0..k-1
  std::vector<TLargos> largos;  // per column; used by memo and OLE columns
  jet4::TPaginaDatos pagina;
  bool paginaAbierta = false;
  TPaginaEnCurso desborde;  // rows moved out of their slot
  std::vector<std::uint32_t> paginas;
};

bool EsLargo(TTipoJet t) { return t == TTipoJet::Memo || t == TTipoJet::Ole; }

bool EsFija(const TColumnaJet& c) {
  if (c.tipo == TTipoJet::Texto || c.tipo == TTipoJet::Binario) return c.fija;
  return !EsLargo(c.tipo);
}

int Caracteres(const TColumnaJet& c) { return c.tamano > 0 ? c.tamano : 255; }
int BytesBinario(const TColumnaJet& c) { return c.tamano > 0 ? c.tamano : 255; }

int TamanoFijo(const TColumnaJet& c) {
  switch (c.tipo) {
    case TTipoJet::Booleano: return 0;
    case TTipoJet::Byte: return 1;
    case TTipoJet::Entero: return 2;
    case TTipoJet::EnteroLargo:
    case TTipoJet::Simple: return 4;
    case TTipoJet::Guid: return 16;
    case TTipoJet::Decimal: return 17;
    case TTipoJet::Texto: return 2 * Caracteres(c);
    case TTipoJet::Binario: return BytesBinario(c);
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
    case TTipoJet::Simple: return 0x06;
    case TTipoJet::Doble: return 0x07;
    case TTipoJet::FechaHora: return 0x08;
    case TTipoJet::Binario: return 0x09;
    case TTipoJet::Texto: return 0x0A;
    case TTipoJet::Ole: return 0x0B;
    case TTipoJet::Memo: return 0x0C;
    case TTipoJet::Guid: return 0x0F;
    case TTipoJet::Decimal: return 0x10;
  }
  return 0;
}

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

// A decimal text ("-123.45", "+7", ".5") as a magnitude scaled by 10^escala, exactly, and the digits
// that magnitude has: false if it is not a number, has more decimals than `escala` or needs more
// than 128 bits.
bool Escalado(const std::string& texto, int escala, bool& negativo, std::uint64_t& alto, std::uint64_t& bajo,
              int& digitos) {
  std::size_t i = 0;
  negativo = false;
  if (i < texto.size() && (texto[i] == '-' || texto[i] == '+')) negativo = texto[i++] == '-';
  std::uint32_t w[4] = {};  // most significant first
  digitos = 0;
  const auto suma = [&](unsigned digito) {
    std::uint64_t acarreo = digito;
    for (int k = 3; k >= 0; --k) {
      const std::uint64_t v = std::uint64_t(w[k]) * 10 + acarreo;
      w[k] = static_cast<std::uint32_t>(v);
      acarreo = v >> 32;
    }
    if (digitos > 0 || digito != 0) ++digitos;
    return acarreo == 0;
  };
  int leidos = 0, decimales = -1;
  for (; i < texto.size(); ++i) {
    const char c = texto[i];
    if (c == '.' && decimales < 0) {
      decimales = 0;
    } else if (c >= '0' && c <= '9') {
      ++leidos;
      if (decimales >= 0 && ++decimales > escala) {
        if (c != '0') return false;  // a trailing zero beyond the scale changes nothing
        --decimales;
        continue;
      }
      if (!suma(static_cast<unsigned>(c - '0'))) return false;
    } else {
      return false;
    }
  }
  if (leidos == 0) return false;
  for (int k = std::max(decimales, 0); k < escala; ++k)
    if (!suma(0)) return false;
  alto = (std::uint64_t(w[0]) << 32) | w[1];
  bajo = (std::uint64_t(w[2]) << 32) | w[3];
  return true;
}

// A number as the decimal text it reads back as (shortest, no exponent).
std::string TextoExacto(const TValorJet& v) {
  if (v.clase == TValorJet::Clase::Entero) return std::to_string(v.entero);
  if (v.clase == TValorJet::Clase::Texto) return v.texto;
  if (v.clase != TValorJet::Clase::Real || !std::isfinite(v.real)) return "x";
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v.real, std::chars_format::fixed);
  return std::string(buf, r.ptr);
}

// "{0C4F1D2A-3B5E-4F60-8A7B-9C0D1E2F3A4B}" (braces optional) as the 16 stored bytes.
bool BytesGuid(const std::string& texto, std::uint8_t* b) {
  std::string hex;
  for (char c : texto) {
    if (std::isxdigit(static_cast<unsigned char>(c))) hex.push_back(c);
    else if (c != '-' && c != '{' && c != '}') return false;
  }
  if (hex.size() != 32) return false;
  std::uint8_t crudo[16];
  for (int i = 0; i < 16; ++i) crudo[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  static constexpr int kOrden[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i) b[kOrden[i]] = crudo[i];
  return true;
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

  TPaginaEnCurso mapas;  // page holding the usage-map rows of the tables
  std::vector<std::uint32_t> paginasMapas;

  // Scratch space reused by every row.
  std::vector<std::vector<std::uint8_t>> variables;
  std::vector<std::uint8_t> fila;
  std::vector<std::uint8_t> fijos;
  std::vector<std::uint8_t> mascara;
  std::vector<char> largoFuera;
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

  // Room for a row of `largo` bytes on `p`: a full page is written out and another one started,
  // owned by the table definition at `duenio` (or by "LVAL") and added to `paginas`.
  bool HazLugar(TPaginaEnCurso& p, std::size_t largo, std::optional<std::uint32_t> duenio,
                std::vector<std::uint32_t>& paginas, std::string& error) {
    if (p.abierta && !p.pagina.Cabe(largo) && !Termina(p, error)) return false;
    if (!p.abierta) {
      p.numero = archivo.Reserva();
      paginas.push_back(p.numero);
      if (duenio) {
        p.pagina.Inicia(*duenio);
      } else {
        p.pagina.IniciaLval();
      }
      p.abierta = true;
    }
    return true;
  }

  bool Termina(TPaginaEnCurso& p, std::string& error) {
    if (p.abierta && !Escribe(p.numero, p.pagina.Bytes(), error)) return false;
    p.abierta = false;
    return true;
  }

  std::optional<std::size_t> Declara(const std::string& nombre, const std::vector<TColumnaJet>& columnas,
                                     bool sistema, std::string& error) {
    if (nombre.empty() || nombre.size() > 64) {
      error = "El nombre de tabla \"" + nombre + "\" no es válido.";
      return std::nullopt;
    }
    for (const char* s : kSistema) {
      if (!sistema && Mayusculas(nombre) == Mayusculas(s)) {
        error = "El nombre de tabla " + std::string(s) + " está reservado para las tablas de sistema.";
        return std::nullopt;
      }
    }
    for (const TTabla& t : tablas) {
      if (Mayusculas(t.nombre) == Mayusculas(nombre)) {
        error = "La tabla " + nombre + " ya existe.";
        return std::nullopt;
      }
    }
    const auto vivas = std::count_if(columnas.begin(), columnas.end(), [](const TColumnaJet& c) { return !c.borrada; });
    if (vivas == 0 || columnas.size() > 255) {
      error = "La tabla " + nombre + " debe tener entre 1 y 255 columnas.";
      return std::nullopt;
    }
    TTabla t;
    t.nombre = nombre;
    t.columnas = columnas;
    t.sistema = sistema;
    t.largos.resize(columnas.size());
    t.finFijos.push_back(0);
    t.numVars.push_back(0);
    for (std::size_t i = 0; i < columnas.size(); ++i) {
      const TColumnaJet& c = columnas[i];
      if (c.nombre.empty() || c.nombre.size() > 64) {
        error = "La tabla " + nombre + " tiene una columna sin nombre válido.";
        return std::nullopt;
      }
      for (std::size_t k = 0; k < i; ++k) {
        if (!c.borrada && !columnas[k].borrada && Mayusculas(columnas[k].nombre) == Mayusculas(c.nombre)) {
          error = "La columna " + c.nombre + " está repetida en la tabla " + nombre + ".";
          return std::nullopt;
        }
      }
      if (c.tipo == TTipoJet::Texto && (c.tamano < 0 || c.tamano > 255)) {
        error = "El tamaño de " + Donde(t, i) + " debe estar entre 1 y 255.";
        return std::nullopt;
      }
      if (c.tipo == TTipoJet::Binario && (c.tamano < 0 || c.tamano > 510)) {
        error = "El tamaño de " + Donde(t, i) + " debe estar entre 1 y 510 bytes.";
        return std::nullopt;
      }
      if (c.fija && c.tipo != TTipoJet::Texto && c.tipo != TTipoJet::Binario) {
        error = "Sólo un texto o un binario pueden tener longitud fija (" + Donde(t, i) + ").";
        return std::nullopt;
      }
      if (c.tipo == TTipoJet::Decimal && (c.precision < 1 || c.precision > 28 || c.escala < 0 || c.escala > c.precision)) {
        error = "La precisión de " + Donde(t, i) + " debe estar entre 1 y 28 y la escala entre 0 y la precisión.";
        return std::nullopt;
      }
      // A column added later has a higher number than every column that existed before it.
      if (i > 0 && c.desdeFila < columnas[i - 1].desdeFila) {
        error = "Las columnas agregadas después de escribir filas deben ir al final (" + Donde(t, i) + ").";
        return std::nullopt;
      }
      if (EsFija(c)) {
        t.desplFijo.push_back(c.tipo == TTipoJet::Booleano ? -1 : t.finFijos.back());
        t.indiceVar.push_back(-1);
        t.finFijos.push_back(t.finFijos.back() + TamanoFijo(c));
        t.numVars.push_back(t.numVars.back());
      } else {
        t.desplFijo.push_back(-1);
        t.indiceVar.push_back(t.numVars.back());
        t.finFijos.push_back(t.finFijos.back());
        t.numVars.push_back(t.numVars.back() + 1);
      }
    }
    if (t.finFijos.back() > jet4::kMaxFila) {
      error = "Las columnas de longitud fija de la tabla " + nombre + " no caben en una página.";
      return std::nullopt;
    }
    t.paginaDef = nombre == kSistema[0] ? kPaginaCatalogo : archivo.Reserva();
    tablas.push_back(std::move(t));
    return tablas.size() - 1;
  }

  // Converts one value into the fixed area or the column's variable bytes.
  bool Codifica(const TTabla& t, std::size_t i, const TValorJet& v, std::string& error) {
    using K = TValorJet::Clase;
    const TColumnaJet& c = t.columnas[i];
    const bool nulo = v.EsNulo();
    const std::size_t byte = i / 8;
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << (i % 8));
    auto tipoErroneo = [&] {
      error = "El valor de " + Donde(t, i) + " no es del tipo de la columna.";
      return false;
    };
    auto fueraDeRango = [&] {
      error = "El valor está fuera del rango de " + Donde(t, i) + ".";
      return false;
    };
    auto entero = [&](std::int64_t& r) {
      if (v.clase == K::Entero) {
        r = v.entero;
        return true;
      }
      if (v.clase == K::Real && std::isfinite(v.real) && v.real == std::trunc(v.real) && std::fabs(v.real) < 9.2e18) {
        r = static_cast<std::int64_t>(v.real);
        return true;
      }
      return false;
    };
    if (c.tipo == TTipoJet::Booleano) {
      bool valor = false;
      if (v.clase == K::Entero) {
        valor = v.entero != 0;
      } else if (v.clase == K::Real) {
        valor = v.real != 0.0;
      } else if (!nulo) {
        return tipoErroneo();
      }
      if (valor) mascara[byte] |= bit;
      return true;
    }
    if (!nulo) mascara[byte] |= bit;
    std::vector<std::uint8_t>& destino = variables[i];
    destino.clear();
    if (nulo) return true;
    // Fixed-size kinds are built here, then copied to the fixed area or (fixed Text, Binary) padded.
    std::uint8_t b[17] = {};
    switch (c.tipo) {
      case TTipoJet::Byte:
      case TTipoJet::Entero:
      case TTipoJet::EnteroLargo: {
        std::int64_t n = 0;
        if (!entero(n)) return tipoErroneo();
        const std::int64_t min = c.tipo == TTipoJet::Byte ? 0 : c.tipo == TTipoJet::Entero ? -32768 : INT32_MIN;
        const std::int64_t max = c.tipo == TTipoJet::Byte ? 255 : c.tipo == TTipoJet::Entero ? 32767 : INT32_MAX;
        if (n < min || n > max) {
          error = "El valor " + std::to_string(n) + " está fuera del rango de " + Donde(t, i) + ".";
          return false;
        }
        Pon32(b, static_cast<std::uint32_t>(n));
        break;
      }
      case TTipoJet::Moneda: {
        std::int64_t diezmilesimos = 0;
        if (v.clase == K::Real) {
          const double d = std::round(v.real * 10000.0);
          if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) return fueraDeRango();
          diezmilesimos = static_cast<std::int64_t>(d);
        } else {
          // Whole units and decimal texts exactly.
          bool negativo = false;
          std::uint64_t alto = 0, bajo = 0;
          int digitos = 0;
          if (v.clase == K::Bytes || !Escalado(TextoExacto(v), 4, negativo, alto, bajo, digitos)) return tipoErroneo();
          if (alto != 0 || bajo > (negativo ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1)) return fueraDeRango();
          diezmilesimos = negativo ? static_cast<std::int64_t>(0 - bajo) : static_cast<std::int64_t>(bajo);
        }
        jet4::Pon64(b, static_cast<std::uint64_t>(diezmilesimos));
        break;
      }
      case TTipoJet::Simple: {
        if (v.clase != K::Real && v.clase != K::Entero) return tipoErroneo();
        const double d = v.clase == K::Real ? v.real : static_cast<double>(v.entero);
        if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) return fueraDeRango();
        const float f = static_cast<float>(d);
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        Pon32(b, bits);
        break;
      }
      case TTipoJet::Doble:
      case TTipoJet::FechaHora: {
        double d = 0;
        if (v.clase == K::Real) {
          d = v.real;
        } else if (v.clase == K::Entero) {
          d = static_cast<double>(v.entero);
        } else {
          return tipoErroneo();
        }
        jet4::PonDoble(b, d);
        break;
      }
      case TTipoJet::Decimal: {
        bool negativo = false;
        std::uint64_t alto = 0, bajo = 0;
        int digitos = 0;
        if (v.clase == K::Bytes || !Escalado(TextoExacto(v), c.escala, negativo, alto, bajo, digitos)) {
          return tipoErroneo();
        }
        if (digitos > c.precision) return fueraDeRango();
        b[0] = negativo && (alto | bajo) ? 0x80 : 0x00;
        Pon32(b + 1, static_cast<std::uint32_t>(alto >> 32));
        Pon32(b + 5, static_cast<std::uint32_t>(alto));
        Pon32(b + 9, static_cast<std::uint32_t>(bajo >> 32));
        Pon32(b + 13, static_cast<std::uint32_t>(bajo));
        break;
      }
      case TTipoJet::Guid:
        if (v.clase != K::Texto || !BytesGuid(v.texto, b)) return tipoErroneo();
        break;
      case TTipoJet::Binario:
      case TTipoJet::Ole:
        if (v.clase != K::Bytes) return tipoErroneo();
        if (v.texto.size() > (c.tipo == TTipoJet::Binario ? static_cast<std::size_t>(BytesBinario(c)) : kMaxLargo)) {
          error = "El valor binario excede el tamaño de " + Donde(t, i) + ".";
          return false;
        }
        destino.assign(v.texto.begin(), v.texto.end());
        break;
      case TTipoJet::Texto:
      case TTipoJet::Memo: {
        if (v.clase != K::Texto) return tipoErroneo();
        std::u16string u = jet4::Utf8AUtf16(v.texto);
        if (c.tipo == TTipoJet::Texto) {
          if (u.size() > static_cast<std::size_t>(Caracteres(c))) {
            error = "El texto excede los " + std::to_string(Caracteres(c)) + " caracteres de " + Donde(t, i) + ".";
            return false;
          }
          // A fixed Text is blank-padded to its length and never compressed, as Jet stores it.
          if (c.fija) u.resize(static_cast<std::size_t>(Caracteres(c)), u' ');
          jet4::CodificaTexto(u, opciones.comprimeUnicode && !c.fija, destino);
          break;
        }
        // Jet only compresses memos of up to 1024 characters.
        jet4::CodificaTexto(u, opciones.comprimeUnicode && u.size() <= kMaxCaracteresComprimibles, destino);
        if (destino.size() > kMaxLargo) {
          error = "El texto de " + Donde(t, i) + " es demasiado largo.";
          return false;
        }
        break;
      }
      case TTipoJet::Booleano: break;
    }
    if (!EsFija(c)) return true;
    std::uint8_t* p = fijos.data() + t.desplFijo[i];
    const auto n = static_cast<std::size_t>(TamanoFijo(c));
    if (c.tipo == TTipoJet::Texto || c.tipo == TTipoJet::Binario) {
      std::copy(destino.begin(), destino.end(), p);  // a shorter binary leaves zeros after it
      destino.clear();
    } else {
      std::copy(b, b + n, p);
    }
    return true;
  }

  // Stores a long value out of its row, on its column's pages; gives the page/row pointer and
  // whether it took a single row.
  bool EscribeLval(TLargos& l, const std::vector<std::uint8_t>& datos, std::uint32_t& pgFila, bool& unaFila,
                   std::string& error) {
    if (datos.size() <= static_cast<std::size_t>(jet4::kMaxFila)) {
      unaFila = true;
      if (!HazLugar(l.enCurso, datos.size(), std::nullopt, l.paginas, error)) return false;
      const int n = l.enCurso.pagina.Agrega(datos.data(), datos.size());
      pgFila = (l.enCurso.numero << 8) | static_cast<std::uint32_t>(n);
      return true;
    }
    // A chain of pages, one row each: pointer to the next part, then the part.
    unaFila = false;
    const std::size_t partes = (datos.size() + kTramoLval - 1) / kTramoLval;
    const std::uint32_t primera = archivo.Reserva();
    for (std::size_t k = 1; k < partes; ++k) archivo.Reserva();
    std::vector<std::uint8_t> parte;
    jet4::TPaginaDatos pagina;
    for (std::size_t k = 0; k < partes; ++k) {
      const std::size_t ini = k * kTramoLval;
      const std::size_t largo = std::min(kTramoLval, datos.size() - ini);
      parte.assign(4, 0);
      if (k + 1 < partes) Pon32(parte.data(), (primera + static_cast<std::uint32_t>(k) + 1) << 8);
      parte.insert(parte.end(), datos.begin() + static_cast<std::ptrdiff_t>(ini),
                   datos.begin() + static_cast<std::ptrdiff_t>(ini + largo));
      pagina.IniciaLval();
      pagina.Agrega(parte.data(), parte.size());
      l.paginas.push_back(primera + static_cast<std::uint32_t>(k));
      if (!Escribe(primera + static_cast<std::uint32_t>(k), pagina.Bytes(), error)) return false;
    }
    pgFila = primera << 8;
    return true;
  }

  // Bytes of the row holding the first `presentes` columns.
  std::size_t TamanoFila(const TTabla& t, std::size_t presentes) const {
    const auto numVar = static_cast<std::size_t>(t.numVars[presentes]);
    std::size_t n = 2 + static_cast<std::size_t>(t.finFijos[presentes]) + (presentes + 7) / 8;
    if (t.numVars.back() > 0) n += 2 * (numVar + 1) + 2;
    for (std::size_t i = 0; i < presentes; ++i) {
      if (EsLargo(t.columnas[i].tipo)) {
        if (mascara[i / 8] & (1u << (i % 8))) n += 12 + (largoFuera[i] ? 0 : variables[i].size());
      } else if (t.indiceVar[i] >= 0) {
        n += variables[i].size();
      }
    }
    return n;
  }

  bool AgregaFila(TTabla& t, std::span<const TValorJet> valores, TComoFila como, std::string& error) {
    const std::size_t nc = t.columnas.size();
    if (valores.size() != nc) {
      error = "La fila para la tabla " + t.nombre + " tiene " + std::to_string(valores.size()) +
              " valores y la tabla tiene " + std::to_string(nc) + " columnas.";
      return false;
    }
    // Columns added after this row was written are not in it.
    std::size_t presentes = 0;
    while (presentes < nc && t.columnas[presentes].desdeFila <= t.escritas) ++presentes;
    for (std::size_t i = presentes; i < nc; ++i) {
      const TValorJet& v = valores[i];
      if (!v.EsNulo() && !(t.columnas[i].tipo == TTipoJet::Booleano && v == TValorJet(false))) {
        error = "La fila " + std::to_string(t.escritas + 1) + " es anterior a " + Donde(t, i) + " y no puede tener valor en ella.";
        return false;
      }
    }
    if (variables.size() < nc) variables.resize(nc);
    fijos.assign(static_cast<std::size_t>(t.finFijos.back()), 0);
    mascara.assign((presentes + 7) / 8, 0);
    largoFuera.assign(nc, 0);
    for (std::size_t i = 0; i < presentes; ++i) {
      if (!Codifica(t, i, valores[i], error)) return false;
      if (EsLargo(t.columnas[i].tipo) && variables[i].size() > kMaxLargoEnLinea) largoFuera[i] = 1;
    }
    // Long values leave the row, the longest first, until the row fits a page.
    while (TamanoFila(t, presentes) > static_cast<std::size_t>(jet4::kMaxFila)) {
      std::size_t mayor = nc;
      for (std::size_t i = 0; i < presentes; ++i) {
        if (EsLargo(t.columnas[i].tipo) && !largoFuera[i] &&
            (mayor == nc || variables[i].size() > variables[mayor].size())) {
          mayor = i;
        }
      }
      if (mayor == nc) {
        error = "La fila no cabe en una página de la tabla " + t.nombre + ".";
        return false;
      }
      largoFuera[mayor] = 1;
    }
    // Assemble: column count, fixed area, variable data, offsets (reversed), count, null mask.
    fila.clear();
    fila.resize(2);
    Pon16(fila.data(), static_cast<std::uint32_t>(presentes));
    fila.insert(fila.end(), fijos.begin(), fijos.begin() + t.finFijos[presentes]);
    const auto numVar = static_cast<std::size_t>(t.numVars[presentes]);
    desplVar.assign(numVar + 1, 0);
    for (std::size_t i = 0; i < presentes; ++i) {
      const int slot = t.indiceVar[i];
      if (slot < 0) continue;
      desplVar[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(fila.size());
      const bool presente = (mascara[i / 8] & (1u << (i % 8))) != 0;
      if (EsLargo(t.columnas[i].tipo) && presente) {
        const std::vector<std::uint8_t>& datos = variables[i];
        std::uint8_t cab[12] = {};
        if (!largoFuera[i]) {
          Pon32(cab, static_cast<std::uint32_t>(datos.size()) | 0x80000000u);
          fila.insert(fila.end(), cab, cab + 12);
          fila.insert(fila.end(), datos.begin(), datos.end());
        } else {
          std::uint32_t pgFila = 0;
          bool unaFila = false;
          if (!EscribeLval(t.largos[i], datos, pgFila, unaFila, error)) return false;
          Pon32(cab, static_cast<std::uint32_t>(datos.size()) | (unaFila ? 0x40000000u : 0u));
          Pon32(cab + 4, pgFila);
          fila.insert(fila.end(), cab, cab + 12);
        }
      } else {
        fila.insert(fila.end(), variables[i].begin(), variables[i].end());
      }
    }
    if (t.numVars.back() > 0) {
      desplVar[numVar] = static_cast<std::uint16_t>(fila.size());
      for (std::size_t k = numVar + 1; k-- > 0;) {
        fila.push_back(static_cast<std::uint8_t>(desplVar[k] & 0xFF));
        fila.push_back(static_cast<std::uint8_t>(desplVar[k] >> 8));
      }
      fila.push_back(static_cast<std::uint8_t>(numVar & 0xFF));
      fila.push_back(static_cast<std::uint8_t>(numVar >> 8));
    }
    fila.insert(fila.end(), mascara.begin(), mascara.end());

    ++t.escritas;
    if (como == TComoFila::Desbordada) {
      // The row lives on an overflow page, marked deleted so that a scan meets it once, through
      // the pointer left in its slot.
      if (!HazLugar(t.desborde, fila.size(), t.paginaDef, t.paginas, error)) return false;
      const int n = t.desborde.pagina.Agrega(fila.data(), fila.size(), jet4::kFilaBorrada);
      fila.assign(4, 0);
      Pon32(fila.data(), (t.desborde.numero << 8) | static_cast<std::uint32_t>(n));
    }
    if (t.paginaAbierta && !t.pagina.Cabe(fila.size())) {
      if (!CierraPagina(t, error)) return false;
    }
    if (!t.paginaAbierta) {
      t.pagina.Inicia(t.paginaDef);
      t.paginaAbierta = true;
    }
    // Access marks a deleted row with both flags; a reader that mistakes one for the other still skips it.
    const std::uint16_t banderas = como == TComoFila::Borrada     ? jet4::kFilaBorrada | jet4::kFilaDesbordada
                                   : como == TComoFila::Desbordada ? jet4::kFilaDesbordada
                                                                   : 0;
    t.pagina.Agrega(fila.data(), fila.size(), banderas);
    if (como != TComoFila::Borrada) ++t.filas;
    return true;
  }

  bool CierraPagina(TTabla& t, std::string& error) {
    const std::uint32_t n = archivo.Reserva();
    if (!Escribe(n, t.pagina.Bytes(), error)) return false;
    t.paginas.push_back(n);
    t.paginaAbierta = false;
    return true;
  }

  // Usage map of `paginas`: one 64-byte window when they are close together, otherwise (type 1)
  // a list of bitmap pages, one per block of pages that holds any of them.
  bool MapaDeUso(std::vector<std::uint32_t> paginas, std::vector<std::uint8_t>& mapa, std::string& error) {
    std::sort(paginas.begin(), paginas.end());
    if (paginas.empty() || paginas.back() - paginas.front() < kBytesMapa * 8) {
      mapa.assign(1 + 4 + kBytesMapa, 0);
      const std::uint32_t base = paginas.empty() ? 0 : paginas.front();
      Pon32(&mapa[1], base);
      for (std::uint32_t p : paginas) mapa[5 + (p - base) / 8] |= static_cast<std::uint8_t>(1u << ((p - base) % 8));
      return true;
    }
    mapa.assign(1 + 4 * kBloquesMapa, 0);
    mapa[0] = 0x01;
    std::size_t r = 0;
    for (std::uint32_t b = 0; b < kBloquesMapa && r < paginas.size(); ++b) {
      const std::uint32_t ini = b * kPaginasPorBloque;
      if (paginas[r] >= ini + kPaginasPorBloque) continue;
      TPagina p{};
      p[0] = 0x05;
      p[1] = 0x01;
      for (; r < paginas.size() && paginas[r] < ini + kPaginasPorBloque; ++r) {
        p[4 + (paginas[r] - ini) / 8] |= static_cast<std::uint8_t>(1u << ((paginas[r] - ini) % 8));
      }
      const std::uint32_t n = archivo.Reserva();
      if (!Escribe(n, p, error)) return false;
      Pon32(&mapa[1 + 4 * b], n);
    }
    return true;
  }

  std::uint32_t AgregaMapa(const std::vector<std::uint8_t>& registro, std::string& error) {
    if (!HazLugar(mapas, registro.size(), 0, paginasMapas, error)) return 0;
    const int n = mapas.pagina.Agrega(registro.data(), registro.size());
    return (mapas.numero << 8) | static_cast<std::uint32_t>(n);
  }

  // The pair of maps of a table or a long-value column: the pages it owns, and those with free
  // space (none: every page is written whole).
  bool Mapas(const std::vector<std::uint32_t>& paginas, std::uint32_t& usadas, std::uint32_t& libres,
             std::string& error) {
    std::vector<std::uint8_t> mapa;
    if (!MapaDeUso(paginas, mapa, error) || (usadas = AgregaMapa(mapa, error)) == 0) return false;
    return MapaDeUso({}, mapa, error) && (libres = AgregaMapa(mapa, error)) != 0;
  }

  bool Termina(TTabla& t, std::string& error) {
    if (t.paginaAbierta && !CierraPagina(t, error)) return false;
    if (!Termina(t.desborde, error)) return false;
    std::uint32_t pgUso = 0, pgLibres = 0;
    if (!Mapas(t.paginas, pgUso, pgLibres, error)) return false;

    const std::size_t nc = t.columnas.size();
    std::vector<std::uint8_t> d(kCabeceraDefinicion, 0);
    d[0] = 0x02;
    d[1] = 0x01;
    Pon32(&d[0x0C], kMagia);
    Pon32(&d[0x10], t.filas);
    d[0x18] = 0x01;
    d[0x28] = t.sistema ? 0x53 : 0x4E;
    std::uint32_t vivas = 0;
    for (const TColumnaJet& c : t.columnas) vivas += c.borrada ? 0 : 1;
    // Deleted columns still count in the row layout: in the maximum and in the variable columns.
    Pon16(&d[0x29], static_cast<std::uint32_t>(nc));
    Pon16(&d[0x2B], static_cast<std::uint32_t>(t.numVars.back()));
    Pon16(&d[0x2D], vivas);
    Pon32(&d[0x37], pgUso);
    Pon32(&d[0x3B], pgLibres);
    for (std::size_t i = 0; i < nc; ++i) {
      const TColumnaJet& c = t.columnas[i];
      if (c.borrada) continue;
      std::uint8_t e[kDescriptorColumna] = {};
      e[0] = CodigoTipo(c.tipo);
      Pon32(&e[1], kMagia);
      Pon16(&e[5], static_cast<std::uint32_t>(i));
      Pon16(&e[7], static_cast<std::uint32_t>(t.indiceVar[i] >= 0 ? t.indiceVar[i] : t.numVars[i]));
      Pon16(&e[9], static_cast<std::uint32_t>(i));
      if (c.tipo == TTipoJet::Decimal) {
        e[11] = static_cast<std::uint8_t>(c.precision);
        e[12] = static_cast<std::uint8_t>(c.escala);
      } else {
        Pon16(&e[11], 0x0409);  // General sort order, as Jet writes it on every column
      }
      const bool fija = EsFija(c);
      e[15] = fija ? 0x03 : 0x02;  // fixed length; may be updated
      if ((c.tipo == TTipoJet::Texto || c.tipo == TTipoJet::Memo) && !c.fija) {
        e[16] = opciones.comprimeUnicode ? 0x01 : 0x00;
      }
      if (t.desplFijo[i] >= 0) Pon16(&e[21], static_cast<std::uint32_t>(t.desplFijo[i]));
      const int largo = c.tipo == TTipoJet::Booleano ? 1
                        : EsLargo(c.tipo)           ? 0
                        : c.tipo == TTipoJet::Texto ? 2 * Caracteres(c)
                        : c.tipo == TTipoJet::Binario ? BytesBinario(c)
                                                      : TamanoFijo(c);
      Pon16(&e[23], static_cast<std::uint32_t>(largo));
      d.insert(d.end(), e, e + kDescriptorColumna);
    }
    for (const TColumnaJet& c : t.columnas) {
      if (c.borrada) continue;
      const std::u16string u = jet4::Utf8AUtf16(c.nombre);
      const std::size_t pos = d.size();
      d.resize(pos + 2 + 2 * u.size());
      Pon16(&d[pos], static_cast<std::uint32_t>(2 * u.size()));
      for (std::size_t k = 0; k < u.size(); ++k) Pon16(&d[pos + 2 + 2 * k], u[k]);
    }
    // The usage maps of each long-value column, then the terminator.
    for (std::size_t i = 0; i < nc; ++i) {
      if (t.columnas[i].borrada || !EsLargo(t.columnas[i].tipo)) continue;
      TLargos& l = t.largos[i];
      std::uint32_t usadas = 0, libres = 0;
      if (!Termina(l.enCurso, error) || !Mapas(l.paginas, usadas, libres, error)) return false;
      const std::size_t pos = d.size();
      d.resize(pos + 10);
      Pon16(&d[pos], static_cast<std::uint32_t>(i));
      Pon32(&d[pos + 2], usadas);
      Pon32(&d[pos + 6], libres);
    }
    d.push_back(0xFF);
    d.push_back(0xFF);
    Pon32(&d[0x08], static_cast<std::uint32_t>(d.size()));
    return EscribeDefinicion(t, d, error);
  }

  // A definition longer than a page continues on pages of its own, each after an 8-byte header.
  bool EscribeDefinicion(const TTabla& t, const std::vector<std::uint8_t>& d, std::string& error) {
    std::uint32_t numero = t.paginaDef;
    for (std::size_t ini = 0; ini < d.size();) {
      TPagina p{};
      std::size_t pos = 0;
      if (ini > 0) {
        p[0] = 0x02;
        p[1] = 0x01;
        pos = 8;
      }
      const std::size_t largo = std::min(d.size() - ini, static_cast<std::size_t>(jet4::kTamPagina) - pos);
      std::copy(d.begin() + static_cast<std::ptrdiff_t>(ini), d.begin() + static_cast<std::ptrdiff_t>(ini + largo),
                p.begin() + static_cast<std::ptrdiff_t>(pos));
      ini += largo;
      const std::uint32_t siguiente = ini < d.size() ? archivo.Reserva() : 0;
      Pon32(&p[4], siguiente);
      Pon16(&p[2], static_cast<std::uint32_t>(std::max<std::ptrdiff_t>(
                       static_cast<std::ptrdiff_t>(jet4::kTamPagina - pos - largo) - 8, 0)));
      if (!Escribe(numero, p, error)) return false;
      numero = siguiente;
    }
    return true;
  }

  // The system tables as the Jet engine creates them, with the catalogue rows and the default
  // permissions of a new database.
  bool EscribeSistema(std::string& error) {
    using T = TTipoJet;
    const std::size_t usuarias = tablas.size();
    const auto aces = Declara(kSistema[1], {{"ObjectId", T::EnteroLargo}, {"SID", T::Binario, 510},
                                            {"ACM", T::EnteroLargo}, {"FInheritable", T::Booleano}},
                              true, error);
    const auto consultas = Declara(kSistema[2],
                                   {{"ObjectId", T::EnteroLargo}, {"Attribute", T::Byte}, {"Order", T::Binario, 510},
                                    {"Name1", T::Texto, 255}, {"Name2", T::Texto, 255}, {"Expression", T::Memo},
                                    {"Flag", T::Entero}, {"LvExtra", T::EnteroLargo}},
                                   true, error);
    const auto relaciones = Declara(kSistema[3],
                                    {{"szRelationship", T::Texto, 255}, {"grbit", T::EnteroLargo},
                                     {"ccolumn", T::EnteroLargo}, {"icolumn", T::EnteroLargo},
                                     {"szObject", T::Texto, 255}, {"szColumn", T::Texto, 255},
                                     {"szReferencedObject", T::Texto, 255}, {"szReferencedColumn", T::Texto, 255}},
                                    true, error);
    const auto cat = Declara(kSistema[0],
                             {{"Id", T::EnteroLargo},       {"ParentId", T::EnteroLargo},
                              {"Name", T::Texto, 255},      {"Type", T::Entero},
                              {"DateCreate", T::FechaHora}, {"DateUpdate", T::FechaHora},
                              {"Owner", T::Binario, 510},   {"Flags", T::EnteroLargo},
                              {"Database", T::Memo},        {"Connect", T::Memo},
                              {"ForeignName", T::Texto, 255}, {"RmtInfoShort", T::Binario, 510},
                              {"RmtInfoLong", T::Ole},      {"Lv", T::Ole},
                              {"LvProp", T::Ole},           {"LvModule", T::Ole},
                              {"LvExtra", T::Ole}},
                             true, error);
    if (!aces || !consultas || !relaciones || !cat) return false;
    constexpr std::int64_t kRaiz = 0x0F000000;
    constexpr std::int64_t kTablas = kRaiz + 1, kBases = kRaiz + 2, kRelaciones = kRaiz + 3;
    constexpr std::int64_t kMSysDb = 0x10000000;
    constexpr std::int64_t kDeSistema = static_cast<std::int32_t>(0x80000000u);
    const std::int64_t idAces = tablas[*aces].paginaDef, idConsultas = tablas[*consultas].paginaDef,
                       idRelaciones = tablas[*relaciones].paginaDef;
    // Owners and grantees: the engine, the Admin user and the two default groups.
    const TValorJet motor = TValorJet::Bytes("\x65\x89"), admin = TValorJet::Bytes("\x64\x8B"),
                    admins = TValorJet::Bytes("\x65\x8E"), usuarios = TValorJet::Bytes("\x65\x8B");
    const struct {
      std::int64_t objeto;
      const TValorJet& sid;
      std::int64_t acm;
      bool hereda;
    } permisos[] = {
        {kPaginaCatalogo, admin, 0x60000, false}, {idAces, admin, 0x60000, false},
        {idConsultas, admin, 0x60000, false},     {idRelaciones, admin, 0xE0000, false},
        {kTablas, admins, 0xF00FE, true},         {kTablas, admin, 0x60001, false},
        {kRelaciones, admins, 0xF00FE, true},     {kRelaciones, admin, 0x60001, false},
        {kBases, admin, 0x60000, false},          {kMSysDb, admin, 0x6000E, false},
        {kMSysDb, usuarios, 0x0000E, false},      {idConsultas, usuarios, 0x14, false},
        {idRelaciones, usuarios, 0x14, false},    {kPaginaCatalogo, usuarios, 0x14, false},
        {kTablas, usuarios, 0xFFEFF, true},       {kRelaciones, usuarios, 0xFFFFF, true},
    };
    for (const auto& p : permisos) {
      const TValorJet fila[] = {p.objeto, p.sid, p.acm, p.hereda};
      if (!AgregaFila(tablas[*aces], fila, TComoFila::EnSuLugar, error)) return false;
    }
    const double f = opciones.fechaCreacion;
    auto renglon = [&](std::int64_t id, std::int64_t padre, const std::string& nombre, int tipo,
                       const TValorJet& dueno, std::int64_t banderas) {
      const TValorJet v[] = {id,   padre, nombre, tipo, f,    f,    dueno, banderas, Nulo,
                             Nulo, Nulo,  Nulo,   Nulo, Nulo, Nulo, Nulo,  Nulo};
      return AgregaFila(tablas[*cat], v, TComoFila::EnSuLugar, error);
    };
    if (!renglon(kTablas, kRaiz, "Tables", 3, motor, kDeSistema) ||
        !renglon(kBases, kRaiz, "Databases", 3, motor, kDeSistema) ||
        !renglon(kRelaciones, kRaiz, "Relationships", 3, motor, kDeSistema) ||
        !renglon(kMSysDb, kBases, "MSysDb", 2, admin, kDeSistema) ||
        !renglon(kPaginaCatalogo, kTablas, kSistema[0], 1, motor, kDeSistema) ||
        !renglon(idAces, kTablas, kSistema[1], 1, motor, kDeSistema) ||
        !renglon(idConsultas, kTablas, kSistema[2], 1, motor, kDeSistema) ||
        !renglon(idRelaciones, kTablas, kSistema[3], 1, motor, kDeSistema)) {
      return false;
    }
    for (std::size_t i = 0; i < usuarias; ++i) {
      if (!renglon(tablas[i].paginaDef, kTablas, tablas[i].nombre, 1, admin, 0)) return false;
    }
    for (std::size_t i = usuarias; i < tablas.size(); ++i) {
      if (!Termina(tablas[i], error)) return false;
    }
    return true;
  }

  bool Cierra(std::string& error) {
    for (TTabla& t : tablas) {
      if (!Termina(t, error)) return false;
    }
    if (!EscribeSistema(error) || !Termina(mapas, error)) return false;
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

bool TEscritorMdb::Fila(int tabla, std::span<const TValorJet> valores, std::string& error, TComoFila como) {
  if (impl_->cerrado || impl_->fallo) {
    error = "El archivo de base de datos ya está cerrado.";
    return false;
  }
  if (tabla < 0 || static_cast<std::size_t>(tabla) >= impl_->tablas.size()) {
    error = "La tabla indicada no existe.";
    return false;
  }
  // A rejected value leaves the file as it was; only a failed write ends it.
  return impl_->AgregaFila(impl_->tablas[static_cast<std::size_t>(tabla)], valores, como, error);
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
