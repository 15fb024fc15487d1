#include "db/jet/sql/TraductorJet.h"

#include <new>

#include "db/jet/sql/AnalizadorJet.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/LexicoJet.h"

namespace qavi::jet {

TTraduccion TraduceSQL(std::string_view sentenciaJet, IMaterializador* materializador) {
  TTraduccion r;
  try {
    TResultadoLexico lexico = Tokeniza(sentenciaJet);
    if (!lexico.ok) {
      r.error = std::move(lexico.error);
      return r;
    }
    TResultadoAnalisis analisis = AnalizaSentencia(lexico.tokens);
    if (!analisis.ok) {
      r.error = std::move(analisis.error);
      return r;
    }
    r.tipo = analisis.sentencia.esBorrado ? TTipoSentencia::Borrado : TTipoSentencia::Seleccion;
    r.sql = EmiteSentencia(analisis.sentencia, materializador);
    r.tablas = std::move(analisis.tablas);
    r.ok = true;
  } catch (const std::bad_alloc&) {
    r = {};
    r.error = "Memoria insuficiente para traducir la sentencia";
  }
  return r;
}

}  // namespace qavi::jet
