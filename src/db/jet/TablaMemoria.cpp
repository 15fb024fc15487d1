#include "db/jet/TablaMemoria.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstring>
#include <map>
#include <optional>
#include <unordered_map>
#include <string_view>
#include <type_traits>

#include "db/jet/ManejadoresSqlite.h"
#include "db/jet/funciones/FuncionesJet.h"
#include "db/jet/texto/TextoJet.h"

namespace qavi::jet {

std::optional<std::uint32_t> TTablaMemoria::TColumna::Guarda(std::string_view t) {
  if (repetidos)
    if (auto it = diccionario.find(t); it != diccionario.end()) return it->second;
  if (textos.size() >= std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  if (t.size() > libre) {
    const std::size_t n = std::max(kBloque, t.size());
    bloques.push_back(std::make_unique<char[]>(n));
    cursor = bloques.back().get();
    libre = n;
  }
  const auto id = static_cast<std::uint32_t>(textos.size());
  if (t.empty()) {
    textos.emplace_back("", 0);  // a text, not a null: SQLite takes a null pointer for NULL
  } else {
    std::memcpy(cursor, t.data(), t.size());
    textos.emplace_back(cursor, t.size());
  }
  cursor += t.size();
  libre -= t.size();
  if (repetidos) {
    diccionario.emplace(textos.back(), id);
    // Texts that seldom repeat (names, observations) are kept as they come, without the lookup.
    if (textos.size() == 65536 && ids.size() < 2 * textos.size()) {
      repetidos = false;
      diccionario = {};
    }
  }
  return id;
}

void TTablaMemoria::TColumna::Ranura(std::size_t f) {
  switch (clase) {
    case TClase::Entero: anchos ? e64.resize(f + 1) : e32.resize(f + 1); break;
    case TClase::Real: reales.resize(f + 1); break;
    case TClase::Texto:
    case TClase::Blob: ids.resize(f + 1); break;
    default: break;
  }
}

void TTablaMemoria::TColumna::PonEntero(std::size_t f, std::int64_t v) {
  if (!anchos && (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())) {
    e64.assign(e32.begin(), e32.end());
    e32 = {};
    anchos = true;
  }
  if (anchos) {
    if (e64.size() <= f) e64.resize(f + 1);
    e64[f] = v;
  } else {
    if (e32.size() <= f) e32.resize(f + 1);
    e32[f] = static_cast<std::int32_t>(v);
  }
}

TTablaMemoria::TTablaMemoria(std::vector<std::string> declaraciones, std::string tabla, std::vector<std::string> columnas)
    : declaraciones_(std::move(declaraciones)), tabla_(std::move(tabla)), columnas_(std::move(columnas)) {
  for (std::size_t i = 0; i < declaraciones_.size(); ++i) datos_.push_back(std::make_unique<TColumna>());
}

TTablaMemoria::~TTablaMemoria() = default;

void TTablaMemoria::Reserva(std::size_t filas) { reserva_ = filas; }

const std::string& TTablaMemoria::Ilegible(std::size_t columna) const {
  static const std::string kNada;
  return columna < ilegibles_.size() ? ilegibles_[columna] : kNada;
}

bool TTablaMemoria::Agrega(const std::vector<TValorMdb>& fila) {
  using C = TValorMdb::Clase;
  std::string guid;
  const std::size_t f = filas_;
  for (std::size_t i = 0; i < NumColumnas(); ++i) {
    const TValorMdb& v = fila[i];
    TColumna& col = *datos_[i];
    TClase clase = TClase::Nulo;
    std::int64_t entero = 0;
    double real = 0;
    std::string_view bytes;
    switch (v.clase) {
      case C::Nulo: break;
      case C::SiNo:
      case C::Entero: clase = TClase::Entero; entero = v.entero; break;
      case C::Moneda:
      case C::Simple:
      case C::Doble:
      case C::FechaHora:
      case C::Decimal: clase = TClase::Real; ComoReal(v, real); break;
      case C::Texto: clase = TClase::Texto; bytes = v.bytes; break;
      case C::Guid: clase = TClase::Texto; guid = TextoGuid(v.bytes); bytes = guid; break;
      case C::Binario: clase = TClase::Blob; bytes = v.bytes; break;
      case C::Ilegible:
        clase = TClase::Ilegible;
        if (ilegibles_.empty()) ilegibles_.resize(NumColumnas());
        if (ilegibles_[i].empty()) {
          const std::string columna = i < columnas_.size() ? columnas_[i] : std::to_string(i + 1);
          ilegibles_[i] = "No se puede leer la columna " + columna + " de la tabla " + tabla_ + ": " + v.bytes;
        }
        break;
    }
    std::optional<std::uint32_t> id;
    if (clase == TClase::Texto || clase == TClase::Blob) {
      id = col.Guarda(bytes);
      if (!id) return false;
    }
    if (col.clase == TClase::Nulo && clase != TClase::Nulo && clase != TClase::Ilegible) {
      col.clase = clase;
      switch (clase) {
        case TClase::Entero: col.e32.reserve(reserva_); break;
        case TClase::Real: col.reales.reserve(reserva_); break;
        default: col.ids.reserve(reserva_); break;
      }
    }
    if (clase != TClase::Nulo && clase == col.clase) {
      switch (clase) {
        case TClase::Entero: col.PonEntero(f, entero); break;
        case TClase::Real:
          if (col.reales.size() < f) col.reales.resize(f);
          col.reales.push_back(real);
          break;
        default:
          if (col.ids.size() < f) col.ids.resize(f);
          col.ids.push_back(*id);
          break;
      }
      continue;
    }
    col.MarcaAparte(f);
    if (clase != TClase::Nulo) col.otras[f] = {clase, entero, real, id.value_or(0)};
    col.Ranura(f);
  }
  ++filas_;
  return true;
}

namespace {

using TClase = TTablaMemoria::TClase;

// Rows of one column sorted by value, built the first time a join or filter looks a value up:
// without it a join on a large memory table would read the whole table once per outer row.
// Only a column whose values are all texts or all numbers is indexed; SQLite checks every row it
// gets again, so a lookup may give more rows than match, never fewer.
struct TIndice {
  enum class Clase { SinHacer, Vacio, Texto, Numero, Mixto } clase = Clase::SinHacer;
  std::vector<std::uint32_t> filas;
};

struct TVtab : sqlite3_vtab {
  TModuloMemoria* modulo = nullptr;
  std::string id;
  std::shared_ptr<const TTablaMemoria> datos;
  std::vector<bool> borradas;  // deletions apply to this engine's copy only
  std::vector<TIndice> indices;
};

struct TCursor : sqlite3_vtab_cursor {
  std::size_t fila = 0;
  // A lookup walks rows [pos, fin) of an index; a scan walks every row.
  const std::vector<std::uint32_t>* indice = nullptr;
  std::size_t pos = 0, fin = 0;
};

double Numero(const TTablaMemoria& t, std::size_t fila, std::size_t col) {
  return t.Clase(fila, col) == TClase::Entero ? static_cast<double>(t.Entero(fila, col)) : t.Real(fila, col);
}

std::string_view Texto(const TTablaMemoria& t, std::size_t fila, std::size_t col) { return t.Bytes(fila, col); }

const TIndice& Indice(TVtab& v, std::size_t col) {
  TIndice& ix = v.indices[col];
  if (ix.clase != TIndice::Clase::SinHacer) return ix;
  const TTablaMemoria& t = *v.datos;
  bool textos = false, numeros = false;
  for (std::size_t f = 0; f < t.Filas(); ++f) {
    const TClase c = t.Clase(f, col);
    if (c == TClase::Nulo) continue;
    if (c == TClase::Real && std::isnan(t.Real(f, col))) textos = true;  // NaN has no place in an order
    // Blobs and cells that cannot be read have no place in an order either: SQLite sees every row.
    if (c == TClase::Blob || c == TClase::Ilegible) textos = numeros = true;
    (c == TClase::Texto ? textos : numeros) = true;
    ix.filas.push_back(static_cast<std::uint32_t>(f));
  }
  if (textos && numeros) {
    ix.clase = TIndice::Clase::Mixto;
    ix.filas.clear();
  } else if (textos) {
    ix.clase = TIndice::Clase::Texto;
    std::stable_sort(ix.filas.begin(), ix.filas.end(), [&](std::uint32_t a, std::uint32_t b) {
      return ComparaTextoJet(Texto(t, a, col), Texto(t, b, col)) < 0;
    });
  } else if (numeros) {
    ix.clase = TIndice::Clase::Numero;
    std::stable_sort(ix.filas.begin(), ix.filas.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return Numero(t, a, col) < Numero(t, b, col); });
  } else {
    ix.clase = TIndice::Clase::Vacio;
  }
  return ix;
}

}  // namespace

// The rows of the connection's memory tables by the id their CREATE statement names: SQLite may
// connect to a table again (after reading its schema anew), so the rows live as long as the table,
// not the link. One per connection, handed to the module as its client data.
class TModuloMemoria {
 public:
  explicit TModuloMemoria(sqlite3* db) : db_(db) {}
  sqlite3* Db() const { return db_; }
  std::string Guarda(std::shared_ptr<const TTablaMemoria> datos) {
    std::string id = "m" + std::to_string(++siguiente_);
    tablas_[id] = std::move(datos);
    return id;
  }
  std::shared_ptr<const TTablaMemoria> Busca(const std::string& id) const {
    const auto it = tablas_.find(id);
    return it == tablas_.end() ? nullptr : it->second;
  }
  void Olvida(const std::string& id) { tablas_.erase(id); }

 private:
  sqlite3* db_;
  std::map<std::string, std::shared_ptr<const TTablaMemoria>> tablas_;
  std::uint64_t siguiente_ = 0;
};

namespace {

int Conecta(sqlite3* db, void* cliente, int argc, const char* const* argv, sqlite3_vtab** vtab, char** error) {
  auto* modulo = static_cast<TModuloMemoria*>(cliente);
  std::shared_ptr<const TTablaMemoria> datos = argc == 4 ? modulo->Busca(argv[3]) : nullptr;
  if (!datos) {
    *error = sqlite3_mprintf("tabla en memoria sin datos");
    return SQLITE_ERROR;
  }
  std::string esquema = "CREATE TABLE x(";
  const auto& d = datos->Declaraciones();
  for (std::size_t i = 0; i < d.size(); ++i) esquema += (i ? ", " : "") + d[i];
  esquema += ")";
  const int rc = sqlite3_declare_vtab(db, esquema.c_str());
  if (rc != SQLITE_OK) return rc;
  auto* t = new TVtab();
  t->modulo = modulo;
  t->id = argv[3];
  t->indices.resize(datos->NumColumnas());
  t->datos = std::move(datos);
  *vtab = t;
  return SQLITE_OK;
}

int Desconecta(sqlite3_vtab* vtab) {
  delete static_cast<TVtab*>(vtab);
  return SQLITE_OK;
}

int Destruye(sqlite3_vtab* vtab) {
  auto* t = static_cast<TVtab*>(vtab);
  t->modulo->Olvida(t->id);
  return Desconecta(vtab);
}

// The connection closes: its tables go with it.
void OlvidaConexion(void* modulo) { delete static_cast<TModuloMemoria*>(modulo); }

// Equality under these collations implies equality under Jet's, so Jet's index finds a superset.
bool ColacionCompatible(const char* colacion) {
  if (!colacion) return true;
  for (const char* c : {"BINARY", "NOCASE", kColacionJet})
    if (sqlite3_stricmp(colacion, c) == 0) return true;
  return false;
}

int MejorIndice(sqlite3_vtab* vtab, sqlite3_index_info* info) {
  const auto* t = static_cast<TVtab*>(vtab);
  const auto filas = static_cast<double>(t->datos->Filas());
  const auto columnas = static_cast<int>(t->datos->NumColumnas());
  // A scan reads every row in file order.
  info->idxNum = 0;
  info->estimatedCost = filas + 1;
  info->estimatedRows = static_cast<sqlite3_int64>(filas) + 1;
  for (int i = 0; i < info->nConstraint; ++i) {
    const auto& r = info->aConstraint[i];
    if (!r.usable || r.op != SQLITE_INDEX_CONSTRAINT_EQ || r.iColumn < 0 || r.iColumn >= columnas ||
        !ColacionCompatible(sqlite3_vtab_collation(info, i)))
      continue;
    // Only for joins: a filter by a constant or a list of them (x = 'a' OR x = 'b' becomes IN)
    // reads the rows in file order, as a SQLite table would.
    sqlite3_value* constante = nullptr;
    if (sqlite3_vtab_rhs_value(info, i, &constante) == SQLITE_OK || sqlite3_vtab_in(info, i, -1)) continue;
    info->aConstraintUsage[i].argvIndex = 1;
    info->aConstraintUsage[i].omit = 0;  // SQLite checks each row again
    info->idxNum = r.iColumn + 1;
    info->estimatedCost = std::log2(filas + 2) + 1;
    info->estimatedRows = 1;
    break;
  }
  return SQLITE_OK;
}

int AbreCursor(sqlite3_vtab*, sqlite3_vtab_cursor** cursor) {
  *cursor = new TCursor();
  return SQLITE_OK;
}

int CierraCursor(sqlite3_vtab_cursor* cursor) {
  delete static_cast<TCursor*>(cursor);
  return SQLITE_OK;
}

// Sets `fila` to the cursor's current row, past deleted ones; past the end when done.
void Situa(TCursor* c) {
  const auto* t = static_cast<const TVtab*>(c->pVtab);
  const std::size_t n = t->datos->Filas();
  for (;;) {
    if (c->indice) c->fila = c->pos < c->fin ? (*c->indice)[c->pos] : n;
    if (c->fila >= n || t->borradas.empty() || !t->borradas[c->fila]) return;
    if (c->indice) ++c->pos;
    else ++c->fila;
  }
}

int Filtra(sqlite3_vtab_cursor* cursor, int idxNum, const char*, int argc, sqlite3_value** argv) {
  auto* c = static_cast<TCursor*>(cursor);
  auto* t = static_cast<TVtab*>(c->pVtab);
  c->fila = 0;
  c->indice = nullptr;
  if (idxNum > 0 && argc == 1) {
    const auto col = static_cast<std::size_t>(idxNum - 1);
    const TIndice& ix = Indice(*t, col);
    const TTablaMemoria& d = *t->datos;
    const int tipo = sqlite3_value_type(argv[0]);
    std::pair<std::vector<std::uint32_t>::const_iterator, std::vector<std::uint32_t>::const_iterator> rango;
    bool busca = true;
    if (tipo == SQLITE_NULL || ix.clase == TIndice::Clase::Vacio) {
      rango = {ix.filas.end(), ix.filas.end()};  // '=' is never true with a null
    } else if (ix.clase == TIndice::Clase::Texto && tipo == SQLITE_TEXT) {
      const std::string_view v(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                               static_cast<std::size_t>(sqlite3_value_bytes(argv[0])));
      rango = std::equal_range(
          ix.filas.begin(), ix.filas.end(), v, [&](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, std::string_view>)
              return ComparaTextoJet(a, Texto(d, b, col)) < 0;
            else
              return ComparaTextoJet(Texto(d, a, col), b) < 0;
          });
    } else if (ix.clase == TIndice::Clase::Numero && (tipo == SQLITE_INTEGER || tipo == SQLITE_FLOAT)) {
      const double v = sqlite3_value_double(argv[0]);
      rango = std::equal_range(ix.filas.begin(), ix.filas.end(), v, [&](const auto& a, const auto& b) {
        if constexpr (std::is_same_v<std::decay_t<decltype(a)>, double>)
          return a < Numero(d, b, col);
        else
          return Numero(d, a, col) < b;
      });
    } else {
      busca = false;  // kinds that convert between text and number: every row, SQLite decides
    }
    if (busca) {
      c->indice = &ix.filas;
      c->pos = static_cast<std::size_t>(rango.first - ix.filas.begin());
      c->fin = static_cast<std::size_t>(rango.second - ix.filas.begin());
    }
  }
  Situa(c);
  return SQLITE_OK;
}

int Siguiente(sqlite3_vtab_cursor* cursor) {
  auto* c = static_cast<TCursor*>(cursor);
  if (c->indice) ++c->pos;
  else ++c->fila;
  Situa(c);
  return SQLITE_OK;
}

int Fin(sqlite3_vtab_cursor* cursor) {
  auto* c = static_cast<TCursor*>(cursor);
  return c->fila >= static_cast<const TVtab*>(c->pVtab)->datos->Filas();
}

int Columna(sqlite3_vtab_cursor* cursor, sqlite3_context* ctx, int i) {
  auto* c = static_cast<TCursor*>(cursor);
  const TTablaMemoria& t = *static_cast<const TVtab*>(c->pVtab)->datos;
  const auto columna = static_cast<std::size_t>(i);
  const std::size_t f = c->fila;
  switch (t.Clase(f, columna)) {
    case TTablaMemoria::TClase::Nulo: sqlite3_result_null(ctx); break;
    case TTablaMemoria::TClase::Entero: sqlite3_result_int64(ctx, t.Entero(f, columna)); break;
    case TTablaMemoria::TClase::Real: sqlite3_result_double(ctx, t.Real(f, columna)); break;
    case TTablaMemoria::TClase::Texto: {
      // The texts never move while the table exists.
      const std::string_view b = t.Bytes(f, columna);
      sqlite3_result_text(ctx, b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
      break;
    }
    case TTablaMemoria::TClase::Blob: {
      const std::string_view b = t.Bytes(f, columna);
      sqlite3_result_blob(ctx, b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
      break;
    }
    case TTablaMemoria::TClase::Ilegible: {
      const std::string& razon = t.Ilegible(columna);
      sqlite3_result_error(ctx, razon.data(), static_cast<int>(razon.size()));  // the statement fails
      break;
    }
  }
  return SQLITE_OK;
}

int IdFila(sqlite3_vtab_cursor* cursor, sqlite3_int64* id) {
  *id = static_cast<sqlite3_int64>(static_cast<TCursor*>(cursor)->fila) + 1;
  return SQLITE_OK;
}

// Only DELETE: the engine's SQL has no INSERT or UPDATE.
int Actualiza(sqlite3_vtab* vtab, int argc, sqlite3_value** argv, sqlite3_int64*) {
  auto* t = static_cast<TVtab*>(vtab);
  if (argc != 1) {
    sqlite3_free(t->zErrMsg);
    t->zErrMsg = sqlite3_mprintf("la tabla es de solo lectura");
    return SQLITE_READONLY;
  }
  const sqlite3_int64 id = sqlite3_value_int64(argv[0]);
  const std::size_t n = t->datos->Filas();
  if (id < 1 || static_cast<std::size_t>(id) > n) return SQLITE_OK;
  if (t->borradas.empty()) t->borradas.assign(n, false);
  t->borradas[static_cast<std::size_t>(id - 1)] = true;
  return SQLITE_OK;
}

const sqlite3_module kModulo = {
    /* iVersion */ 1,
    /* xCreate */ Conecta,
    /* xConnect */ Conecta,
    /* xBestIndex */ MejorIndice,
    /* xDisconnect */ Desconecta,
    /* xDestroy */ Destruye,
    /* xOpen */ AbreCursor,
    /* xClose */ CierraCursor,
    /* xFilter */ Filtra,
    /* xNext */ Siguiente,
    /* xEof */ Fin,
    /* xColumn */ Columna,
    /* xRowid */ IdFila,
    /* xUpdate */ Actualiza,
    /* xBegin */ nullptr,
    /* xSync */ nullptr,
    /* xCommit */ nullptr,
    /* xRollback */ nullptr,
    /* xFindFunction */ nullptr,
    /* xRename */ nullptr,
    /* xSavepoint */ nullptr,
    /* xRelease */ nullptr,
    /* xRollbackTo */ nullptr,
    /* xShadowName */ nullptr,
};

constexpr const char* kNombreModulo = "qavi_memoria";

}  // namespace

TModuloMemoria* RegistraModuloMemoria(sqlite3* db) {
  auto* modulo = new TModuloMemoria(db);
  // SQLite frees the client data when the connection closes, or at once if it refuses the module.
  if (sqlite3_create_module_v2(db, kNombreModulo, &kModulo, modulo, OlvidaConexion) != SQLITE_OK) return nullptr;
  return modulo;
}

bool CreaTablaMemoria(TModuloMemoria& modulo, const std::string& nombre, std::shared_ptr<const TTablaMemoria> tabla,
                      std::string& error) {
  const std::string id = modulo.Guarda(std::move(tabla));
  const std::string sql = "CREATE VIRTUAL TABLE " + nombre + " USING " + kNombreModulo + "(" + id + ")";
  if (EjecutaSqlite(modulo.Db(), sql.c_str())) return true;
  error = sqlite3_errmsg(modulo.Db());
  modulo.Olvida(id);
  return false;
}

}  // namespace qavi::jet
