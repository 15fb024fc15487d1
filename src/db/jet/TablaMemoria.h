#pragma once
// A large table held in memory column by column and served to SQLite as a virtual table:
// building it costs a fraction of inserting the same rows into a SQLite table, and scanning
// it costs about the same. Rows can be deleted (the engine's copy only); nothing else changes them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/jet/ValorMdb.h"

struct sqlite3;

namespace qavi::jet {

class TTablaMemoria {
 public:
  // `declaraciones`: one SQL column definition per column, e.g. "\"Tipo\" TEXT COLLATE JETNOCASE";
  // `tabla` and `columnas` name them in the messages about values that cannot be read.
  TTablaMemoria(std::vector<std::string> declaraciones, std::string tabla = {}, std::vector<std::string> columnas = {});

  // Room for about this many rows (a hint; the table grows past it).
  void Reserva(std::size_t filas);
  // One value per column, as SQLite gets it: Yes/No -1/0, Currency as a real of its value, Single as the
  // real of the decimal it shows, Date/Time as its day number, Decimal as the nearest real, GUID as its
  // text, Binary and OLE as blobs. An undecodable value makes its cell an error that a statement reading
  // it fails with. False when the texts outgrow what a cell can address.
  bool Agrega(const std::vector<TValorMdb>& fila);
  std::size_t Filas() const { return filas_; }
  std::size_t NumColumnas() const { return declaraciones_.size(); }
  const std::vector<std::string>& Declaraciones() const { return declaraciones_; }

  enum class TClase : std::uint8_t { Nulo, Entero, Real, Texto, Blob, Ilegible };
  struct TCelda {
    union {
      std::int64_t entero;
      double real;
      struct {
        std::uint32_t inicio;
        std::uint32_t largo;
      } texto;
    };
  };
  // Row by row: a scan reads a row's cells side by side.
  TClase Clase(std::size_t fila, std::size_t columna) const { return clases_[fila * NumColumnas() + columna]; }
  const TCelda& Celda(std::size_t fila, std::size_t columna) const { return celdas_[fila * NumColumnas() + columna]; }
  const char* Texto(const TCelda& c) const { return textos_.data() + c.texto.inicio; }
  // Why the column's undecodable cells cannot be read, naming table and column; empty if none.
  const std::string& Ilegible(std::size_t columna) const;
  bool TieneIlegibles() const { return !ilegibles_.empty(); }

 private:
  std::vector<std::string> declaraciones_;
  std::string tabla_;
  std::vector<std::string> columnas_;
  std::vector<std::string> ilegibles_;  // one per column once any cell cannot be read
  std::vector<TClase> clases_;
  std::vector<TCelda> celdas_;
  std::string textos_;  // every text, one after another
  std::size_t filas_ = 0;
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
