#pragma once
// What the exact-types pass (PasoTiposExactos.h) knows of the loaded tables: each column's Jet
// type as the file defines it; for several files read as one, as the first file defines it.
#include <map>
#include <string>
#include <vector>

#include "db/jet/sql/PasoTiposExactos.h"

namespace qavi::jet {

class TArchivoMdb;
struct TColumnaMdb;

// Currency; Decimal with its scale while a real can carry it; whole numbers (Yes/No too), Single,
// Double; anything else unknown.
TTipoValor TipoValorDeColumna(const TColumnaMdb& columna);

class TCatalogoTipos : public ICatalogoTipos {
 public:
  // The columns of `tabla` (the file's spelling) as `archivo` defines them; a table the file
  // cannot tell stays unknown.
  void Agrega(const TArchivoMdb& archivo, const std::string& tabla);
  const std::vector<TColumnaTipada>* Columnas(const std::string& tabla) const override;

 private:
  std::map<std::string, std::vector<TColumnaTipada>> tablas_;  // by Jet name key
};

}  // namespace qavi::jet
