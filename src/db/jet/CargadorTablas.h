#pragma once
// Copies tables of a Jet file into a SQLite database (tables named as in the file,
// text columns with the Jet collation, Yes/No -1/0, Date/Time as OLE numbers).
#include <string>
#include <vector>

struct sqlite3;

namespace qavi::jet {

class TArchivoMdb;

// Creates and fills table `tabla` in `db` with the given columns (all if empty).
// One transaction, prepared inserts. False and a readable Spanish reason on failure.
bool CargaTabla(const TArchivoMdb& archivo, sqlite3* db, const std::string& tabla,
                const std::vector<std::string>& columnas, std::string& error);

}  // namespace qavi::jet
