#pragma once
// Copies tables of a Jet file into a SQLite database (tables named as in the file, text columns with
// the Jet collation, values as TTablaMemoria::Agrega gives them: Yes/No -1/0, Date/Time as OLE numbers).
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "db/jet/ValorMdb.h"

namespace qavi::jet {

class TArchivoMdb;
class TConexionJet;
class TTablaMemoria;

// Creates and fills table `tabla` in the connection with the given columns (all if empty). A table of at least
// `filasParaMemoria` rows stays in memory as a virtual table (see TablaMemoria.h); a smaller one is
// inserted in one transaction. False and a readable Spanish reason on failure, leaving no table.
bool CargaTabla(const TArchivoMdb& archivo, const TConexionJet& conexion, const std::string& tabla,
                const std::vector<std::string>& columnas, std::string& error,
                std::size_t filasParaMemoria = std::numeric_limits<std::size_t>::max());

// The columns of a load: the table and the requested columns (all if empty) in the file's
// spelling, each once, with their SQL declarations.
struct TColumnasCarga {
  std::string tabla;
  std::vector<std::string> nombres;
  std::vector<std::string> declaraciones;
};
bool ColumnasParaCarga(const TArchivoMdb& archivo, const std::string& tabla, const std::vector<std::string>& columnas,
                       TColumnasCarga& carga, std::string& error);

// May change a row before it is kept; false leaves it out.
using TTransformaFila = std::function<bool(std::vector<TValorMdb>&)>;
// Appends the rows of `carga` to `memoria`, each through `transforma` if there is one.
bool AgregaFilas(const TArchivoMdb& archivo, const TColumnasCarga& carga, TTablaMemoria& memoria,
                 const TTransformaFila& transforma, std::string& error);

// The two halves of CargaTabla, so that several tables can be read at once (one TArchivoMdb per
// thread) and then installed one after another. LeeTabla gives the file's spelling in `nombre`.
std::shared_ptr<TTablaMemoria> LeeTabla(const TArchivoMdb& archivo, const std::string& tabla,
                                        const std::vector<std::string>& columnas, std::string& nombre,
                                        std::string& error);
bool InstalaTabla(const TConexionJet& conexion, const std::string& nombre, std::shared_ptr<TTablaMemoria> memoria,
                  std::string& error, std::size_t filasParaMemoria = std::numeric_limits<std::size_t>::max());

}  // namespace qavi::jet
