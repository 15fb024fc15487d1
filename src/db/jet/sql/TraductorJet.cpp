#include "db/jet/sql/TraductorJet.h"

#include <new>

#include "db/jet/sql/AnalizadorJet.h"
#include "db/jet/sql/EmisorJet.h"
#include "db/jet/sql/LexicoJet.h"

namespace qavi::jet {

namespace {
constexpr const char* kSinMemoria = "Memoria insuficiente para traducir la sentencia";
}

TAnalisisJet AnalizaJet(std::string_view sentenciaJet) {
  TAnalisisJet r;
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
    r.sentencia = std::move(analisis.sentencia);
    r.tablas = std::move(analisis.tablas);
    r.ok = true;
  } catch (const std::bad_alloc&) {
    r = {};
    r.error = kSinMemoria;
  }
  return r;
}

TTraduccion TraduceSQL(std::string_view sentenciaJet) {
  TTraduccion r;
  TAnalisisJet a = AnalizaJet(sentenciaJet);
  if (!a.ok) {
    r.error = std::move(a.error);
    return r;
  }
  try {
    r.sql = EmiteSentencia(a.sentencia);
  } catch (const std::bad_alloc&) {
    r.error = kSinMemoria;
    return r;
  }
  r.tipo = a.tipo;
  r.tablas = std::move(a.tablas);
  r.ok = true;
  return r;
}

}  // namespace qavi::jet
