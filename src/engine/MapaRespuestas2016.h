#pragma once
// The 2016 answer map for questions 33 to 191: one row per kind of answer, one column per
// section (market and operation type), each cell the question it answers.
#include <array>
#include <optional>

namespace qavi {

enum class TClaseRespuesta { SiNo, DocumentoPrincipal, ClientePrincipal, Conteo, Monto, Promedio };
// The dataset a question works on: presence (dated operations, no clients), U (users),
// O (operations with clients), or the documents of the year.
enum class TConjunto { Presencia, Usuarios, Operaciones, Documentos };
enum class TMercado { Dolares, OtrasDivisas, Documentos };

struct TSegmento {
  int nSegmento = 0;
  int nNacionalidad = 0;
  bool bSinPEP = false;
};

struct TSeccion {
  TMercado mercado;
  int nTipoOp;  // 0 purchase, 1 sale
};

inline constexpr std::array<TSeccion, 6> kSecciones = {{
    {TMercado::Dolares, 0},
    {TMercado::OtrasDivisas, 0},
    {TMercado::Dolares, 1},
    {TMercado::OtrasDivisas, 1},
    {TMercado::Documentos, 0},
    {TMercado::Documentos, 1},
}};

struct TRenglonMapa {
  TClaseRespuesta clase;
  TConjunto conjunto;
  std::optional<TSegmento> segmento;  // none: the dataset itself
  std::array<int, 6> preguntas;       // 0: the section has no such question
};

struct TRespuestaMapa {
  const TRenglonMapa* renglon;
  TSeccion seccion;
};

// The row and section of a question from 33 to 191; nothing for any other number.
std::optional<TRespuestaMapa> BuscaEnMapa(int nPregunta);
const std::array<TRenglonMapa, 38>& MapaRespuestas2016();

}  // namespace qavi
