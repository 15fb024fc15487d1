#pragma once
// Copies tables of a Jet file into a SQLite database (tables named as in the file,
// text columns with the Jet collation, Yes/No -1/0, Date/Time as OLE numbers).
#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <vector>

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

// The two halves of CargaTabla, so that several tables can be read at once (one TArchivoMdb per
// thread) and then installed one after another. LeeTabla gives the file's spelling in `nombre`.
std::shared_ptr<TTablaMemoria> LeeTabla(const TArchivoMdb& archivo, const std::string& tabla,
                                        const std::vector<std::string>& columnas, std::string& nombre,
                                        std::string& error);
bool InstalaTabla(const TConexionJet& conexion, const std::string& nombre, std::shared_ptr<TTablaMemoria> memoria,
                  std::string& error, std::size_t filasParaMemoria = std::numeric_limits<std::size_t>::max());

}  // namespace qavi::jet
