#pragma once
// A large table held in memory column by column and served to SQLite as a virtual table:
// building it costs a fraction of inserting the same rows into a SQLite table, scanning it costs
// about the same, and it takes a fraction of the room (numbers in 4 or 8 bytes, each distinct
// text of a column once). Rows can be deleted (the engine's copy only); nothing else changes them.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/jet/ValorMdb.h"

struct sqlite3;

namespace qavi::jet {

class TTablaMemoria {
 public:
  // `declaraciones`: one SQL column definition per column, e.g. "\"Tipo\" TEXT COLLATE JETNOCASE";
  // `tabla` and `columnas` name them in the messages about values that cannot be read.
  TTablaMemoria(std::vector<std::string> declaraciones, std::string tabla = {}, std::vector<std::string> columnas = {});
  ~TTablaMemoria();
  TTablaMemoria(const TTablaMemoria&) = delete;
  TTablaMemoria& operator=(const TTablaMemoria&) = delete;

  // Room for about this many rows (a hint; the table grows past it).
  void Reserva(std::size_t filas);
  // One value per column, as SQLite gets it: Yes/No -1/0, Currency as a real of its value, Single as the
  // real of the decimal it shows, Date/Time as its day number, Decimal as the nearest real, GUID as its
  // text, Binary and OLE as blobs. An undecodable value makes its cell an error that a statement reading
  // it fails with. False when a column's texts outgrow what a cell can address.
  bool Agrega(const std::vector<TValorMdb>& fila);
  std::size_t Filas() const { return filas_; }
  std::size_t NumColumnas() const { return declaraciones_.size(); }
  const std::vector<std::string>& Declaraciones() const { return declaraciones_; }

  enum class TClase : std::uint8_t { Nulo, Entero, Real, Texto, Blob, Ilegible };
  TClase Clase(std::size_t fila, std::size_t columna) const {
    const TColumna& c = *datos_[columna];
    if (!c.Aparte(fila)) return c.clase;
    const auto it = c.otras.find(fila);
    return it == c.otras.end() ? TClase::Nulo : it->second.clase;
  }
  // The value of a cell of that class.
  std::int64_t Entero(std::size_t fila, std::size_t columna) const {
    const TColumna& c = *datos_[columna];
    if (c.Aparte(fila)) return c.otras.at(fila).entero;
    return c.anchos ? c.e64[fila] : c.e32[fila];
  }
  double Real(std::size_t fila, std::size_t columna) const {
    const TColumna& c = *datos_[columna];
    return c.Aparte(fila) ? c.otras.at(fila).real : c.reales[fila];
  }
  std::string_view Bytes(std::size_t fila, std::size_t columna) const {  // Texto and Blob
    const TColumna& c = *datos_[columna];
    return c.textos[c.Aparte(fila) ? c.otras.at(fila).id : c.ids[fila]];
  }
  // Why the column's undecodable cells cannot be read, naming table and column; empty if none.
  const std::string& Ilegible(std::size_t columna) const;
  bool TieneIlegibles() const { return !ilegibles_.empty(); }

 private:
  // A column keeps its cells by the one class its values have (a Jet column has one type): whole
  // numbers in 32 bits until one needs 64, reals, or texts as numbers of the column's distinct texts.
  // Nulls, undecodable cells and the rare value of another class (a key made text beside numbers)
  // are marked in a bitmap and kept aside. Every row has a slot in the typed vector, so a cell is at
  // its row's index.
  struct TColumna {
    TClase clase = TClase::Nulo;  // of the ordinary cells; Nulo until the first value
    std::vector<std::int32_t> e32;
    std::vector<std::int64_t> e64;  // instead of e32 once a value needs it
    bool anchos = false;
    std::vector<double> reales;
    std::vector<std::uint32_t> ids;  // Texto / Blob: the number of the cell's text
    // The distinct texts, in blocks that never move (the dictionary's views point into them).
    std::vector<std::unique_ptr<char[]>> bloques;
    char* cursor = nullptr;  // where the last block is free
    std::size_t libre = 0;   // bytes left there
    std::vector<std::string_view> textos;
    std::unordered_map<std::string_view, std::uint32_t> diccionario;
    bool repetidos = true;  // texts are looked up before they are kept; off when most are new
    // Cells that are not ordinary.
    std::vector<std::uint64_t> aparte;  // bit per row
    struct TOtra {
      TClase clase = TClase::Nulo;
      std::int64_t entero = 0;
      double real = 0;
      std::uint32_t id = 0;
    };
    std::unordered_map<std::size_t, TOtra> otras;  // rows of another class than `clase`, not null

    static constexpr std::size_t kBloque = 1 << 20;

    bool Aparte(std::size_t f) const { return (f >> 6) < aparte.size() && ((aparte[f >> 6] >> (f & 63)) & 1); }
    void MarcaAparte(std::size_t f) {
      if (aparte.size() <= (f >> 6)) aparte.resize((f >> 6) + 1, 0);
      aparte[f >> 6] |= std::uint64_t{1} << (f & 63);
    }

    // A text kept once (when it repeats) and its number; nothing when the column holds too many.
    std::optional<std::uint32_t> Guarda(std::string_view t);
    // Room for the slot of row `f` in the typed vector of `clase`.
    void Ranura(std::size_t f);
    void PonEntero(std::size_t f, std::int64_t v);
  };

  std::vector<std::string> declaraciones_;
  std::string tabla_;
  std::vector<std::string> columnas_;
  std::vector<std::string> ilegibles_;  // one per column once any cell cannot be read
  // Column by column, each kept by what its cells hold (see TablaMemoria.cpp).
  std::vector<std::unique_ptr<TColumna>> datos_;
  std::size_t filas_ = 0;
  std::size_t reserva_ = 0;  // rows announced, reserved in a column once its class is known
};

// The memory tables of one connection.
class TModuloMemoria;
// Registers the module on a connection (once per connection); null if SQLite refuses. The
// connection owns what it returns and frees it when it closes.
TModuloMemoria* RegistraModuloMemoria(sqlite3* db);
// Creates table `nombre` (already quoted for SQL) over `tabla` on the module's connection; the
// table keeps it alive.
bool CreaTablaMemoria(TModuloMemoria& modulo, const std::string& nombre, std::shared_ptr<const TTablaMemoria> tabla,
                      std::string& error);

}  // namespace qavi::jet
