#include "engine/MapaRespuestas2016.h"

namespace qavi {
namespace {

using C = TClaseRespuesta;
using D = TConjunto;
constexpr std::optional<TSegmento> S(int seg, int nac, bool sinPep) { return TSegmento{seg, nac, sinPep}; }
constexpr std::optional<TSegmento> kSinSegmento = std::nullopt;

//                                                   USD-C  Otr-C  USD-V  Otr-V  Doc-C  Doc-V
constexpr std::array<TRenglonMapa, 38> kMapa = {{
    {C::SiNo, D::Presencia, kSinSegmento,            {33,    62,    91,    120,   149,   180}},
    {C::DocumentoPrincipal, D::Documentos, kSinSegmento, {0,  0,     0,     0,     150,   181}},
    {C::ClientePrincipal, D::Operaciones, S(0, 0, false), {0, 0,     0,     0,     151,   0}},
    {C::ClientePrincipal, D::Operaciones, S(6, 0, false), {0, 0,     0,     0,     0,     182}},
    {C::Conteo, D::Usuarios, kSinSegmento,           {34,    63,    92,    121,   152,   0}},
    {C::Conteo, D::Usuarios, S(7, 0, false),         {35,    71,    100,   129,   160,   0}},
    {C::Conteo, D::Usuarios, S(1, 1, true),          {36,    64,    93,    122,   153,   0}},
    {C::Conteo, D::Usuarios, S(2, 1, true),          {37,    65,    94,    123,   154,   0}},
    {C::Conteo, D::Usuarios, S(1, 2, true),          {38,    66,    95,    124,   155,   0}},
    {C::Conteo, D::Usuarios, S(2, 2, true),          {39,    67,    96,    125,   156,   0}},
    {C::Conteo, D::Usuarios, S(3, 0, true),          {40,    68,    97,    126,   157,   0}},
    {C::Conteo, D::Usuarios, S(4, 1, true),          {41,    69,    98,    127,   158,   0}},
    {C::Conteo, D::Usuarios, S(4, 2, true),          {42,    70,    99,    128,   159,   0}},
    {C::Conteo, D::Operaciones, kSinSegmento,        {43,    72,    101,   130,   161,   183}},
    {C::Conteo, D::Operaciones, S(1, 1, true),       {44,    73,    102,   131,   162,   0}},
    {C::Conteo, D::Operaciones, S(2, 1, true),       {45,    74,    103,   132,   163,   0}},
    {C::Conteo, D::Operaciones, S(1, 2, true),       {46,    75,    104,   133,   164,   0}},
    {C::Conteo, D::Operaciones, S(2, 2, true),       {47,    76,    105,   134,   165,   0}},
    {C::Conteo, D::Operaciones, S(3, 0, true),       {48,    77,    106,   135,   166,   0}},
    {C::Conteo, D::Operaciones, S(4, 1, true),       {49,    78,    107,   136,   167,   0}},
    {C::Conteo, D::Operaciones, S(4, 2, true),       {50,    79,    108,   137,   168,   0}},
    {C::Conteo, D::Operaciones, S(7, 0, false),      {51,    80,    109,   138,   169,   0}},
    {C::Conteo, D::Operaciones, S(6, 1, true),       {0,     0,     0,     0,     0,     184}},
    {C::Conteo, D::Operaciones, S(5, 0, true),       {0,     0,     0,     0,     0,     185}},
    {C::Conteo, D::Operaciones, S(6, 2, true),       {0,     0,     0,     0,     0,     186}},
    {C::Monto, D::Operaciones, S(0, 0, true),        {52,    81,    110,   139,   170,   187}},
    {C::Monto, D::Operaciones, S(1, 1, true),        {53,    82,    111,   140,   171,   0}},
    {C::Monto, D::Operaciones, S(2, 1, true),        {54,    83,    112,   141,   172,   0}},
    {C::Monto, D::Operaciones, S(1, 2, true),        {55,    84,    113,   142,   173,   0}},
    {C::Monto, D::Operaciones, S(2, 2, true),        {56,    85,    114,   143,   174,   0}},
    {C::Monto, D::Operaciones, S(3, 0, true),        {57,    86,    115,   144,   175,   0}},
    {C::Monto, D::Operaciones, S(4, 1, true),        {58,    87,    116,   145,   176,   0}},
    {C::Monto, D::Operaciones, S(4, 2, true),        {59,    88,    117,   146,   177,   0}},
    {C::Monto, D::Operaciones, S(7, 0, false),       {60,    89,    118,   147,   178,   0}},
    {C::Monto, D::Operaciones, S(6, 1, true),        {0,     0,     0,     0,     0,     188}},
    {C::Monto, D::Operaciones, S(5, 0, true),        {0,     0,     0,     0,     0,     189}},
    {C::Monto, D::Operaciones, S(6, 2, true),        {0,     0,     0,     0,     0,     190}},
    {C::Promedio, D::Operaciones, kSinSegmento,      {61,    90,    119,   148,   179,   191}},
}};

}  // namespace

const std::array<TRenglonMapa, 38>& MapaRespuestas2016() { return kMapa; }

std::optional<TRespuestaMapa> BuscaEnMapa(int nPregunta) {
  if (nPregunta <= 0) return std::nullopt;
  for (const auto& r : kMapa)
    for (std::size_t c = 0; c < r.preguntas.size(); ++c)
      if (r.preguntas[c] == nPregunta) return TRespuestaMapa{&r, kSecciones[c]};
  return std::nullopt;
}

}  // namespace qavi
