#include "jetwriter/TablaJet.h"

#include <system_error>

namespace qavi::tools {

bool EscribeMdb(const std::filesystem::path& ruta, const std::vector<TTablaJet>& tablas, const TOpcionesMdb& opciones,
                std::string& error) {
  std::error_code ec;
  if (ruta.has_parent_path()) std::filesystem::create_directories(ruta.parent_path(), ec);
  if (ec) {
    error = "No se pudo crear la carpeta " + ruta.parent_path().string() + ".";
    return false;
  }
  auto escritor = TEscritorMdb::Crea(ruta, opciones, error);
  if (!escritor) return false;
  auto escribe = [&] {
    std::vector<int> ids;
    for (const TTablaJet& t : tablas) {
      const int id = escritor->Tabla(t.nombre, t.columnas, error);
      if (id < 0) return false;
      ids.push_back(id);
    }
    for (std::size_t i = 0; i < tablas.size(); ++i) {
      const TTablaJet& t = tablas[i];
      for (std::size_t f = 0; f < t.filas.size(); ++f) {
        const auto como = t.borradas.count(f)       ? TComoFila::Borrada
                          : t.desbordadas.count(f) ? TComoFila::Desbordada
                                                   : TComoFila::EnSuLugar;
        if (!escritor->Fila(ids[i], t.filas[f], error, como)) return false;
      }
    }
    return escritor->Cierra(error);
  };
  if (escribe()) return true;
  // No half-written file is left behind.
  escritor.reset();
  std::filesystem::remove(ruta, ec);
  return false;
}

}  // namespace qavi::tools
