#pragma once
// Read-only access to a Jet 4 (.mdb) file through libmdb.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "db/jet/ValorMdb.h"

namespace qavi::jet {

enum class TTipoColumna {
  Booleano, Byte, Entero, EnteroLargo, Moneda, Simple, Doble, FechaHora, Decimal, Texto, Memo, Binario, Ole, Guid,
  Otro  // a type code Jet 4 does not define: its values read as undecodable
};

struct TColumnaMdb {
  std::string nombre;
  TTipoColumna tipo = TTipoColumna::Otro;
  int tamano = 0;  // characters for Text, bytes for the rest
  bool fija = false;  // Text or Binary of fixed length
  int precision = 0;  // Decimal
  int escala = 0;     // Decimal
};

class TArchivoMdb {
 public:
  // Opens the file read-only; on failure returns null and a readable Spanish reason in `error`.
  static std::unique_ptr<TArchivoMdb> Abre(const std::filesystem::path& ruta, std::string& error);
  ~TArchivoMdb();
  TArchivoMdb(const TArchivoMdb&) = delete;
  TArchivoMdb& operator=(const TArchivoMdb&) = delete;

  std::vector<std::string> Tablas() const;  // user tables
  // Name as stored in the file, found without regard to case; empty if absent.
  std::string NombreTabla(const std::string& tabla) const;
  // Columns of a table; false (and `error`) if it does not exist or cannot be read.
  bool Columnas(const std::string& tabla, std::vector<TColumnaMdb>& columnas, std::string& error) const;
  // Rows the table's definition announces, as a hint for reserving room: never more than the
  // file could hold, 0 if the table cannot be read.
  std::size_t FilasAnunciadas(const std::string& tabla) const;
  // Reads the rows of a table, only the named columns (all if empty, names without regard to case), in file order.
  // Each value as stored (see ValorMdb.h); null from the null bitmap. A value that cannot be decoded comes as
  // Ilegible with the reason, and the other columns of the row still read.
  // `fila` is called once per row with one value per requested column (the vector is reused between rows and
  // filled anew for each: `fila` may change it);
  // if it returns bool, false stops the reading and LeeFilas returns false leaving `error` to the caller.
  // Not thread-safe: one reading at a time per object.
  template <class F>
  bool LeeFilas(const std::string& tabla, const std::vector<std::string>& columnas, F&& fila, std::string& error) const {
    return LeeFilasImpl(
        tabla, columnas,
        [&](std::vector<TValorMdb>& v) {
          if constexpr (std::is_same_v<std::invoke_result_t<F&, std::vector<TValorMdb>&>, bool>) {
            return static_cast<bool>(fila(v));
          } else {
            fila(v);
            return true;
          }
        },
        error);
  }

 private:
  struct Impl;
  explicit TArchivoMdb(std::unique_ptr<Impl> impl);
  bool LeeFilasImpl(const std::string& tabla, const std::vector<std::string>& columnas,
                    const std::function<bool(std::vector<TValorMdb>&)>& fila, std::string& error) const;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qavi::jet
