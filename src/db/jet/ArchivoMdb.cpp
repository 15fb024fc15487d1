#include "db/jet/ArchivoMdb.h"

#include <mdbtools.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <set>
#include <system_error>

#include "common/Utf8.h"
#include "db/jet/texto/TextoJet.h"

// libmdb opens the file, decrypts pages, reads table definitions and usage maps. Rows, memos and the
// catalog are decoded here: libmdb 1.0 swaps the deleted and overflow row flags, turns values into
// locale-formatted text (dates before 1899 break, memos are cut at the bind size) and trusts the file.
namespace qavi::jet {
namespace {

constexpr std::size_t kPagina = 4096;
constexpr int kMaxColumnas = 255;   // Jet's limit per table
constexpr int kMaxSaltos = 8;       // overflow pointers followed for one row
constexpr unsigned kFilaBorrada = 0x8000;
constexpr unsigned kFilaDesbordada = 0x4000;
constexpr unsigned kMascaraOffset = 0x1FFF;

const char* const kNoExiste = "El archivo no existe";
const char* const kNoEsJet4 = "El archivo no es una base de datos de Access (Jet 4)";
const char* const kDanado = "El archivo está dañado o incompleto";
const char* const kPosterior =
    "El archivo es de Access 2007 o posterior (.accdb); se necesita una base de datos de Access 2000-2003 (Jet 4)";
const char* const kJet3 = "El archivo es de Access 97 (Jet 3); se necesita una base de datos de Access 2000-2003 (Jet 4)";

inline unsigned Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
inline std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline std::uint64_t Le64(const std::uint8_t* p) { return Le32(p) | (std::uint64_t(Le32(p + 4)) << 32); }

// ---- text ----------------------------------------------------------------------------------

// Jet 4 text: UCS-2 little endian, or "compressed" (FF FE, then runs of one byte per character
// and runs of UCS-2, each 00 byte switching between them).
void DecodificaTexto(const std::uint8_t* p, std::size_t n, std::string& s) {
  s.clear();
  TUtf16aUtf8 conv(s);
  if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
    s.reserve(n);
    bool comprimido = true;
    std::size_t i = 2;
    while (i < n) {
      std::size_t fin = i;
      while (fin < n && p[fin] != 0) ++fin;
      if (comprimido) {
        for (; i < fin; ++i) conv.Unidad(p[i]);
      } else {
        for (; i + 1 < fin; i += 2) conv.Unidad(Le16(p + i));
      }
      comprimido = !comprimido;
      i = fin + 1;
    }
  } else {
    s.reserve(n / 2);
    for (std::size_t i = 0; i + 1 < n; i += 2) {
      unsigned u = Le16(p + i);
      if (u < 0x80) {
        if (u) s.push_back(static_cast<char>(u));
      } else {
        conv.Unidad(u);
      }
    }
  }
}

// Bytes of a fixed-length value of each type; 0 for the types whose size the column gives.
int TamanoTipo(int tipo) {
  switch (tipo) {
    case MDB_BYTE: return 1;
    case MDB_INT: return 2;
    case MDB_LONGINT:
    case MDB_FLOAT: return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME: return 8;
    case MDB_REPID: return 16;
    case MDB_NUMERIC: return 17;
    default: return 0;
  }
}

TTipoColumna TipoColumna(int tipo) {
  switch (tipo) {
    case MDB_BOOL: return TTipoColumna::Booleano;
    case MDB_BYTE: return TTipoColumna::Byte;
    case MDB_INT: return TTipoColumna::Entero;
    case MDB_LONGINT: return TTipoColumna::EnteroLargo;
    case MDB_MONEY: return TTipoColumna::Moneda;
    case MDB_FLOAT: return TTipoColumna::Simple;
    case MDB_DOUBLE: return TTipoColumna::Doble;
    case MDB_DATETIME: return TTipoColumna::FechaHora;
    case MDB_NUMERIC: return TTipoColumna::Decimal;
    case MDB_TEXT: return TTipoColumna::Texto;
    case MDB_MEMO: return TTipoColumna::Memo;
    case MDB_BINARY: return TTipoColumna::Binario;
    case MDB_OLE: return TTipoColumna::Ole;
    case MDB_REPID: return TTipoColumna::Guid;
    default: return TTipoColumna::Otro;
  }
}

// ---- file header ---------------------------------------------------------------------------

bool ValidaCabecera(const std::filesystem::path& ruta, std::uintmax_t& paginas, std::string& error) {
  std::error_code ec;
  auto estado = std::filesystem::status(ruta, ec);
  if (ec || !std::filesystem::exists(estado)) {
    error = (ec && ec != std::errc::no_such_file_or_directory) ? "No se puede leer el archivo" : kNoExiste;
    return false;
  }
  if (std::filesystem::is_directory(estado)) {
    error = "La ruta indicada es una carpeta, no un archivo";
    return false;
  }
  if (!std::filesystem::is_regular_file(estado)) {
    error = kNoEsJet4;
    return false;
  }
  const std::uintmax_t tamano = std::filesystem::file_size(ruta, ec);
  if (ec) {
    error = "No se puede leer el archivo";
    return false;
  }
  if (tamano == 0) {
    error = "El archivo está vacío";
    return false;
  }
  std::array<char, 0x20> cab{};
  std::ifstream f(ruta, std::ios::binary);
  if (!f) {
    error = "No se puede leer el archivo";
    return false;
  }
  f.read(cab.data(), cab.size());
  const auto leidos = static_cast<std::size_t>(f.gcount());
  static const char kFirma[4] = {0x00, 0x01, 0x00, 0x00};
  const bool firma = leidos > 0x14 && std::memcmp(cab.data(), kFirma, 4) == 0;
  if (firma && std::memcmp(cab.data() + 4, "Standard ACE DB", 16) == 0) {
    error = kPosterior;
    return false;
  }
  if (!firma || std::memcmp(cab.data() + 4, "Standard Jet DB", 16) != 0) {
    error = kNoEsJet4;
    return false;
  }
  const unsigned version = static_cast<unsigned char>(cab[0x14]);
  if (version == MDB_VER_JET3) {
    error = kJet3;
    return false;
  }
  if (version != MDB_VER_JET4) {
    error = kPosterior;
    return false;
  }
  if (tamano % kPagina != 0 || tamano < 2 * kPagina) {
    error = kDanado;
    return false;
  }
  paginas = tamano / kPagina;
  return true;
}

// ---- tables --------------------------------------------------------------------------------

struct Columna {
  std::string nombre;
  int tipo = 0;     // MDB_*
  bool fija = false;
  int numero = 0;   // bit in the null mask
  int offsetFijo = 0;
  int numVar = 0;   // entry in the row's variable-column table
  int tamano = 0;   // as the definition gives it (bytes)
  int tamFijo = 0;  // bytes in the fixed area; for a variable column, the size its type demands (0: any)
  int precision = 0;
  int escala = 0;
};

struct Objeto {
  std::string nombre;
  std::uint32_t pagina = 0;
};

// A table definition read by libmdb; the catalog entry must outlive it.
struct TablaMdb {
  MdbCatalogEntry entrada{};
  MdbTableDef* def = nullptr;
  std::vector<Columna> columnas;
  TablaMdb() = default;
  TablaMdb(const TablaMdb&) = delete;
  TablaMdb& operator=(const TablaMdb&) = delete;
  ~TablaMdb() {
    if (def) mdb_free_tabledef(def);
  }
};

// One stored row, Jet 4 layout: column count, fixed columns, variable columns, end of data,
// variable-column offsets (backwards), their count, null mask (a set bit is a value).
struct FilaJet {
  const std::uint8_t* datos = nullptr;
  unsigned tam = 0;
  unsigned columnas = 0;  // columns the row was written with
  const std::uint8_t* nulos = nullptr;
  unsigned finFijos = 0;
  const std::uint8_t* tablaVar = nullptr;  // offset of variable column 0; the next ones precede it
  unsigned numVar = 0;
  unsigned finVar = 0;

  bool Desarma(const std::uint8_t* f, unsigned largo, bool conVariables) {
    datos = f;
    tam = largo;
    if (tam < 2) return false;
    columnas = Le16(f);
    const unsigned mascara = (columnas + 7) / 8;
    if (2 + mascara > tam) return false;
    nulos = f + tam - mascara;
    finFijos = tam - mascara;
    if (!conVariables) return true;
    if (2 + mascara + 2 > tam) return false;
    numVar = Le16(f + tam - mascara - 2);
    const unsigned cola = mascara + 2 + 2 * (numVar + 1);
    if (numVar > columnas || 2 + cola > tam) return false;
    tablaVar = f + tam - mascara - 4;
    finVar = tam - cola;
    finFijos = finVar;
    return true;
  }

  // Yes/No lives here too. A column added after the row was written has no bit: null.
  bool NoNulo(const Columna& c) const {
    return static_cast<unsigned>(c.numero) < columnas && ((nulos[c.numero / 8] >> (c.numero % 8)) & 1);
  }

  // Bytes of a column; `d` stays null when the row predates the column. False if out of the row.
  bool Campo(const Columna& c, const std::uint8_t*& d, unsigned& n) const {
    d = nullptr;
    n = 0;
    if (c.fija) {
      n = static_cast<unsigned>(c.tamFijo);
      const unsigned a = 2 + c.offsetFijo;
      if (a + n > finFijos) return false;
      d = datos + a;
      return true;
    }
    if (static_cast<unsigned>(c.numVar) >= numVar) return true;
    const unsigned a = Le16(tablaVar - 2 * c.numVar);
    const unsigned b = Le16(tablaVar - 2 * (c.numVar + 1));
    if (a < 2 || a > b || b > finVar) return false;
    n = b - a;
    d = datos + a;
    return true;
  }
};

using Pagina = std::array<std::uint8_t, kPagina>;

}  // namespace

struct TArchivoMdb::Impl {
  MdbHandle* mdb = nullptr;
  std::uintmax_t paginas = 0;
  std::vector<Objeto> tablas;
  Pagina lval_{};                     // long-value page of the value being read
  std::vector<std::uint8_t> cadena_;  // a long value gathered from several pages

  ~Impl() {
    if (mdb) mdb_close(mdb);
  }

  bool LeePagina(std::uint32_t numero, Pagina& destino) {
    if (numero == 0 || numero >= paginas) return false;
    if (mdb_read_alt_pg(mdb, numero) != static_cast<ssize_t>(kPagina)) return false;
    std::memcpy(destino.data(), mdb->alt_pg_buf, kPagina);
    return true;
  }

  // Bounds of row `r` of a data page; false if the page's row table is not sound.
  static bool Fila(const Pagina& p, unsigned r, unsigned& banderas, unsigned& ini, unsigned& fin) {
    const unsigned filas = Le16(p.data() + 12);
    if (r >= filas || 14 + 2 * filas > kPagina) return false;
    const unsigned ranura = Le16(p.data() + 14 + 2 * r);
    banderas = ranura & ~kMascaraOffset;
    ini = ranura & kMascaraOffset;
    fin = r == 0 ? kPagina : (Le16(p.data() + 14 + 2 * (r - 1)) & kMascaraOffset);
    return ini >= 14 + 2 * filas && ini <= fin && fin <= kPagina;
  }

  // One long-value row (memo / OLE data).
  bool LeeLval(std::uint32_t puntero, Pagina& buf, const std::uint8_t*& datos, unsigned& largo) {
    if (!LeePagina(puntero >> 8, buf)) return false;
    if (buf[0] != 0x01 || std::memcmp(buf.data() + 4, "LVAL", 4) != 0) return false;
    unsigned banderas, ini, fin;
    if (!Fila(buf, puntero & 0xFF, banderas, ini, fin)) return false;
    datos = buf.data() + ini;
    largo = fin - ini;
    return true;
  }

  // Memo or OLE field: length (30 bits; the top two say where the data is), page/row pointer,
  // 4 unused bytes, then the data when it lives in the row. On success `datos` points into the
  // row, into `buf` or into `cadena` and the result is null; otherwise it is the reason.
  const char* LeeLargo(const std::uint8_t* campo, unsigned tam, Pagina& buf, std::vector<std::uint8_t>& cadena,
                       const std::uint8_t*& datos, std::size_t& largo) {
    datos = campo;
    largo = 0;
    if (tam < 12) return tam == 0 ? nullptr : "el valor largo está incompleto en la fila";
    const std::uint32_t declarado = Le32(campo) & 0x3FFFFFFF;
    const unsigned tipo = campo[3] & 0xC0;
    unsigned n = 0;
    if (tipo == 0x80) {  // in the row (a shorter stored value is taken as it is, as Jet does)
      datos = campo + 12;
      largo = std::min<std::size_t>(tam - 12, declarado);
      return nullptr;
    }
    if (tipo == 0x40) {  // one long-value row
      if (!LeeLval(Le32(campo + 4), buf, datos, n)) return "el valor largo no se encuentra en el archivo";
      largo = std::min<std::size_t>(n, declarado);
      return nullptr;
    }
    if (tipo != 0) return "el valor largo tiene una forma desconocida";
    // A chain of long-value rows, each beginning with the pointer to the next.
    cadena.clear();
    cadena.reserve(std::min<std::size_t>(declarado, paginas * kPagina));
    std::set<std::uint32_t> vistos;
    for (std::uint32_t p = Le32(campo + 4); cadena.size() < declarado;) {
      const std::uint8_t* parte = nullptr;
      if (p == 0 || !vistos.insert(p).second || !LeeLval(p, buf, parte, n) || n < 4)
        return "la cadena de páginas del valor largo está rota";
      const std::size_t toma = std::min<std::size_t>(n - 4, declarado - cadena.size());
      cadena.insert(cadena.end(), parte + 4, parte + 4 + toma);
      p = Le32(parte);
    }
    datos = cadena.data();
    largo = cadena.size();
    return nullptr;
  }

  bool AbreTabla(const std::string& nombre, std::uint32_t pagina, TablaMdb& t) {
    if (pagina == 0 || pagina >= paginas) return false;
    t.entrada.mdb = mdb;
    std::snprintf(t.entrada.object_name, sizeof t.entrada.object_name, "%s", nombre.c_str());
    t.entrada.object_type = MDB_TABLE;
    t.entrada.table_pg = pagina;
    t.def = mdb_read_table(&t.entrada);
    if (!t.def) return false;
    MdbTableDef& d = *t.def;
    // Until the file is compacted, the variable-column count also counts deleted columns: it may
    // exceed the column count.
    if (d.num_cols > kMaxColumnas || d.num_real_idxs > 1000 || d.num_idxs > 1000) return false;
    // mdb_read_columns continues from the definition page in the page buffer.
    if (mdb_read_pg(mdb, pagina) != static_cast<ssize_t>(kPagina) || !mdb_read_columns(t.def)) return false;
    if (!d.columns || d.columns->len != d.num_cols) return false;
    std::set<int> numeros;
    for (unsigned i = 0; i < d.num_cols; ++i) {
      auto* c = static_cast<MdbColumn*>(g_ptr_array_index(d.columns, i));
      Columna col;
      col.nombre = c->name;
      col.tipo = c->col_type;
      col.fija = c->is_fixed != 0;
      col.numero = c->col_num;
      col.offsetFijo = c->fixed_offset;
      col.numVar = static_cast<int>(c->var_col_num);
      col.tamano = c->col_size;
      // libmdb 1.0 swaps them for Jet 4: descriptor byte 11 is the precision, byte 12 the scale.
      col.precision = c->col_scale;
      col.escala = c->col_prec;
      // A fixed Text or Binary is as long as the column says; a number as long as its type.
      col.tamFijo = TamanoTipo(col.tipo);
      if (col.fija && col.tamFijo == 0 && col.tipo != MDB_BOOL) col.tamFijo = col.tamano;
      if (col.nombre.empty() || !numeros.insert(col.numero).second) return false;
      if (col.fija && (col.offsetFijo < 0 || col.offsetFijo + col.tamFijo + 2 > static_cast<int>(kPagina))) return false;
      t.columnas.push_back(std::move(col));
    }
    return true;
  }

  // Pages of the table from its usage map, each handed to `pagina` (false stops).
  template <class F>
  bool RecorrePaginas(TablaMdb& t, F&& pagina) {
    MdbTableDef& d = *t.def;
    if (!d.usage_map || d.map_sz < 1) return false;
    Pagina p;
    for (guint32 actual = 0;;) {
      const gint32 siguiente = mdb_map_find_next(mdb, d.usage_map, static_cast<unsigned>(d.map_sz), actual);
      if (siguiente == 0) return true;
      if (siguiente < 0 || static_cast<guint32>(siguiente) <= actual) return false;
      actual = static_cast<guint32>(siguiente);
      if (actual >= paginas) return false;
      if (!LeePagina(actual, p)) return false;
      // The map may name a page the table gave up; only its own data pages count.
      if (p[0] != 0x01 || Le32(p.data() + 4) != t.entrada.table_pg) continue;
      if (!pagina(p)) return false;
    }
  }

  // Every live row of the table as (page, start, end); deleted rows skipped, moved rows followed.
  template <class F>
  bool RecorreFilas(TablaMdb& t, F&& fila, bool& detenido) {
    Pagina otra;
    return RecorrePaginas(t, [&](const Pagina& p) {
      const unsigned filas = Le16(p.data() + 12);
      if (14 + 2 * filas > kPagina) return false;
      for (unsigned r = 0; r < filas; ++r) {
        unsigned banderas = 0, ini = 0, fin = 0;
        // A slot out of bounds holds no row (Access leaves some behind); a deleted row is not read.
        if (!Fila(p, r, banderas, ini, fin) || (banderas & kFilaBorrada)) continue;
        const Pagina* donde = &p;
        for (int salto = 0; banderas & kFilaDesbordada; ++salto) {
          if (salto == kMaxSaltos || fin - ini < 4) return false;
          const std::uint32_t puntero = Le32(donde->data() + ini);
          if (!LeePagina(puntero >> 8, otra) || otra[0] != 0x01 || Le32(otra.data() + 4) != t.entrada.table_pg)
            return false;
          if (!Fila(otra, puntero & 0xFF, banderas, ini, fin)) return false;
          donde = &otra;
        }
        if (ini == fin) continue;
        if (!fila(*donde, ini, fin)) {
          detenido = true;
          return false;
        }
      }
      return true;
    });
  }

  // One value of a row into `v`, which is reused row after row: only the fields of its class count.
  void Valor(const FilaJet& fila, const Columna& c, TValorMdb& v) {
    using C = TValorMdb::Clase;
    if (c.tipo == MDB_BOOL) {
      v.clase = C::SiNo;
      v.entero = fila.NoNulo(c) ? -1 : 0;
      return;
    }
    v.clase = C::Nulo;
    if (!fila.NoNulo(c)) return;
    const std::uint8_t* d = nullptr;
    unsigned n = 0;
    if (!fila.Campo(c, d, n)) return Ilegible(v, "sus datos salen de los límites de la fila");
    if (!d) return;  // column added after the row was written
    if (c.tamFijo && !c.fija && n != static_cast<unsigned>(c.tamFijo))
      return Ilegible(v, "el valor ocupa " + std::to_string(n) + " bytes y su tipo necesita " +
                             std::to_string(c.tamFijo));
    switch (c.tipo) {
      case MDB_BYTE: v.clase = C::Entero; v.entero = d[0]; return;
      case MDB_INT: v.clase = C::Entero; v.entero = static_cast<std::int16_t>(Le16(d)); return;
      case MDB_LONGINT: v.clase = C::Entero; v.entero = static_cast<std::int32_t>(Le32(d)); return;
      case MDB_MONEY: v.clase = C::Moneda; v.entero = static_cast<std::int64_t>(Le64(d)); return;
      case MDB_FLOAT: {
        const std::uint32_t bits = Le32(d);
        std::memcpy(&v.simple, &bits, 4);
        v.clase = C::Simple;
        return;
      }
      case MDB_DOUBLE:
      case MDB_DATETIME: {  // Date/Time is its day number as stored; libmdb's text breaks before 1899
        const std::uint64_t bits = Le64(d);
        std::memcpy(&v.real, &bits, 8);
        v.clase = c.tipo == MDB_DOUBLE ? C::Doble : C::FechaHora;
        return;
      }
      case MDB_NUMERIC:  // sign byte, then the magnitude as four little-endian words, the highest first
        v.clase = C::Decimal;
        v.decimal.negativo = d[0] != 0;
        v.decimal.alto = (std::uint64_t(Le32(d + 1)) << 32) | Le32(d + 5);
        v.decimal.bajo = (std::uint64_t(Le32(d + 9)) << 32) | Le32(d + 13);
        v.decimal.precision = c.precision;
        v.decimal.escala = c.escala;
        return;
      case MDB_REPID:
        v.clase = C::Guid;
        v.bytes.assign(reinterpret_cast<const char*>(d), 16);
        return;
      case MDB_TEXT:
        v.clase = C::Texto;
        DecodificaTexto(d, n, v.bytes);
        return;
      case MDB_BINARY:
        v.clase = C::Binario;
        v.bytes.assign(reinterpret_cast<const char*>(d), n);
        return;
      case MDB_MEMO:
      case MDB_OLE: {
        const std::uint8_t* datos = nullptr;
        std::size_t largo = 0;
        if (const char* razon = LeeLargo(d, n, lval_, cadena_, datos, largo)) return Ilegible(v, razon);
        if (c.tipo == MDB_MEMO) {
          v.clase = C::Texto;
          DecodificaTexto(datos, largo, v.bytes);
        } else {
          v.clase = C::Binario;
          v.bytes.assign(reinterpret_cast<const char*>(datos), largo);
        }
        return;
      }
      default: {
        char codigo[8];
        std::snprintf(codigo, sizeof codigo, "0x%02X", static_cast<unsigned>(c.tipo) & 0xFF);
        return Ilegible(v, std::string("su tipo de datos (") + codigo + ") no es de Jet 4");
      }
    }
  }

  static void Ilegible(TValorMdb& v, std::string razon) {
    v.clase = TValorMdb::Clase::Ilegible;
    v.bytes = std::move(razon);
  }

  // Decodes the chosen columns of the row [ini, fin) of page `p` into `salida`.
  bool Decodifica(const TablaMdb& t, const Pagina& p, unsigned ini, unsigned fin, const std::vector<int>& elegidas,
                  std::vector<TValorMdb>& salida) {
    FilaJet fila;
    if (!fila.Desarma(p.data() + ini, fin - ini, t.def->num_var_cols > 0)) return false;
    for (std::size_t i = 0; i < elegidas.size(); ++i) Valor(fila, t.columnas[elegidas[i]], salida[i]);
    return true;
  }

  // MSysObjects (always at page 2): user tables are type 1 without the system flags.
  bool LeeCatalogo() {
    TablaMdb cat;
    if (!AbreTabla("MSysObjects", 2, cat)) return false;
    int id = -1, nombre = -1, tipo = -1, banderas = -1;
    for (std::size_t i = 0; i < cat.columnas.size(); ++i) {
      const auto k = ClaveNombreJet(cat.columnas[i].nombre);
      if (k == "id") id = static_cast<int>(i);
      if (k == "name") nombre = static_cast<int>(i);
      if (k == "type") tipo = static_cast<int>(i);
      if (k == "flags") banderas = static_cast<int>(i);
    }
    if (id < 0 || nombre < 0 || tipo < 0 || banderas < 0) return false;
    const std::vector<int> elegidas = {id, nombre, tipo, banderas};
    std::vector<TValorMdb> v(4);
    std::set<std::string> claves;
    bool detenido = false;
    return RecorreFilas(
        cat,
        [&](const Pagina& p, unsigned ini, unsigned fin) {
          if (!Decodifica(cat, p, ini, fin, elegidas, v)) return false;
          const auto entero = [](const TValorMdb& x) { return x.clase == TValorMdb::Clase::Entero ? x.entero : 0; };
          const auto flags = static_cast<std::uint32_t>(entero(v[3]));
          if ((entero(v[2]) & 0x7F) == MDB_TABLE && !(flags & 0x80000002u) && v[1].clase == TValorMdb::Clase::Texto &&
              !v[1].bytes.empty() && claves.insert(ClaveNombreJet(v[1].bytes)).second)
            tablas.push_back({v[1].bytes, static_cast<std::uint32_t>(entero(v[0])) & 0x00FFFFFF});
          return true;
        },
        detenido);
  }

  const Objeto* Busca(const std::string& tabla) const {
    const auto k = ClaveNombreJet(tabla);
    for (const auto& o : tablas)
      if (ClaveNombreJet(o.nombre) == k) return &o;
    return nullptr;
  }

  bool Abre(const Objeto& o, TablaMdb& t, std::string& error) {
    if (AbreTabla(o.nombre, o.pagina, t)) return true;
    error = "No se puede leer la tabla " + o.nombre + ": " + kDanado;
    return false;
  }
};

TArchivoMdb::TArchivoMdb(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TArchivoMdb::~TArchivoMdb() = default;

std::unique_ptr<TArchivoMdb> TArchivoMdb::Abre(const std::filesystem::path& ruta, std::string& error) {
  auto impl = std::make_unique<Impl>();
  if (!ValidaCabecera(ruta, impl->paginas, error)) return nullptr;
  // Read-only: without MDB_WRITABLE libmdb opens the file with mode "r" and never writes.
  impl->mdb = mdb_open(ruta.string().c_str(), MDB_NOFLAGS);
  if (!impl->mdb) {
    error = kDanado;
    return nullptr;
  }
  if (impl->mdb->f->jet_version != MDB_VER_JET4 || impl->mdb->fmt->pg_size != static_cast<ssize_t>(kPagina)) {
    error = kNoEsJet4;
    return nullptr;
  }
  if (!impl->LeeCatalogo()) {
    error = kDanado;
    return nullptr;
  }
  return std::unique_ptr<TArchivoMdb>(new TArchivoMdb(std::move(impl)));
}

std::vector<std::string> TArchivoMdb::Tablas() const {
  std::vector<std::string> r;
  for (const auto& o : impl_->tablas) r.push_back(o.nombre);
  return r;
}

std::string TArchivoMdb::NombreTabla(const std::string& tabla) const {
  const Objeto* o = impl_->Busca(tabla);
  return o ? o->nombre : std::string();
}

bool TArchivoMdb::Columnas(const std::string& tabla, std::vector<TColumnaMdb>& columnas, std::string& error) const {
  columnas.clear();
  const Objeto* o = impl_->Busca(tabla);
  if (!o) {
    error = "La tabla " + tabla + " no existe en la base de datos";
    return false;
  }
  TablaMdb t;
  if (!impl_->Abre(*o, t, error)) return false;
  for (const auto& c : t.columnas) {
    TColumnaMdb col;
    col.nombre = c.nombre;
    col.tipo = TipoColumna(c.tipo);
    // Jet 4 stores a text column's size in bytes of UCS-2.
    col.tamano = c.tipo == MDB_TEXT ? c.tamano / 2 : c.tamano;
    col.fija = c.fija && (c.tipo == MDB_TEXT || c.tipo == MDB_BINARY);
    if (c.tipo == MDB_NUMERIC) {
      col.precision = c.precision;
      col.escala = c.escala;
    }
    columnas.push_back(std::move(col));
  }
  return true;
}

std::size_t TArchivoMdb::FilasAnunciadas(const std::string& tabla) const {
  const Objeto* o = impl_->Busca(tabla);
  TablaMdb t;
  std::string error;
  if (!o || !impl_->Abre(*o, t, error)) return 0;
  // A damaged header must not make anyone reserve gigabytes: a row takes at least a few bytes.
  const std::size_t tope = static_cast<std::size_t>(impl_->paginas) * (kPagina / 8);
  return std::min<std::size_t>(t.def->num_rows, tope);
}

bool TArchivoMdb::LeeFilasImpl(const std::string& tabla, const std::vector<std::string>& columnas,
                               const std::function<bool(std::vector<TValorMdb>&)>& fila,
                               std::string& error) const {
  Impl& im = *impl_;
  const Objeto* o = im.Busca(tabla);
  if (!o) {
    error = "La tabla " + tabla + " no existe en la base de datos";
    return false;
  }
  TablaMdb t;
  if (!im.Abre(*o, t, error)) return false;
  std::vector<int> elegidas;
  if (columnas.empty()) {
    for (std::size_t i = 0; i < t.columnas.size(); ++i) elegidas.push_back(static_cast<int>(i));
  } else {
    for (const auto& nombre : columnas) {
      const auto k = ClaveNombreJet(nombre);
      int hallada = -1;
      for (std::size_t i = 0; i < t.columnas.size() && hallada < 0; ++i)
        if (ClaveNombreJet(t.columnas[i].nombre) == k) hallada = static_cast<int>(i);
      if (hallada < 0) {
        error = "La tabla " + o->nombre + " no tiene la columna " + nombre;
        return false;
      }
      elegidas.push_back(hallada);
    }
  }
  std::vector<TValorMdb> valores(elegidas.size());
  bool detenido = false, danada = false;
  const bool ok = im.RecorreFilas(
      t,
      [&](const Pagina& p, unsigned ini, unsigned fin) {
        if (!im.Decodifica(t, p, ini, fin, elegidas, valores)) {
          danada = true;
          return false;
        }
        return fila(valores);
      },
      detenido);
  if (ok) return true;
  if (detenido && !danada) return false;  // the caller stopped and tells why
  error = "La tabla " + o->nombre + " está dañada y no se puede leer completa";
  return false;
}

}  // namespace qavi::jet
