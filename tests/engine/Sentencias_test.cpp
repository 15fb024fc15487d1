// The statements the engine writes, compared whole where their exact text matters.
#include <gtest/gtest.h>

#include <set>

#include "db/ConsultasSQL.h"
#include "engine/MapaRespuestas2016.h"
#include "engine/RepCuestQAVI2016.h"
#include "pos/VelmarBD.h"

namespace qavi {
namespace {

// Opens the builders to the tests.
class TMotorExpuesto : public TRepCuestKORU2016 {
 public:
  TMotorExpuesto(double dTCambio, int nNumEmp, TTablaPEPs* peps = nullptr)
      : TRepCuestKORU2016(nullptr, nullptr, nullptr, dTCambio, nNumEmp) {
    F_vtPEPS = peps;
  }
  using TRepCuestKORU2016::ArmaColumnaPEP;
  using TRepCuestKORU2016::ArmaConsultaDivisas;
  using TRepCuestKORU2016::ArmaConsultaOps;
  using TRepCuestKORU2016::ArmaConsultaOtrasDivisas;
  using TRepCuestKORU2016::ArmaConteo;
  using TRepCuestKORU2016::ArmaConteoSiNo;
  using TRepCuestKORU2016::ArmaFiltroSegmento;
  using TRepCuestKORU2016::ArmaOpsOtrasDivisas;
  using TRepCuestKORU2016::ArmaTopCliente;
  using TRepCuestKORU2016::DameTipoOp;
};

TEST(Sentencias, OperacionesDeLaEmpresa) {
  TMotorExpuesto m(16, 7);
  EXPECT_EQ(m.ArmaConsultaOps(false),
            "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, Folio, Fecha, "
            "NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tMovtos WHERE "
            "NumEmp = 7 and Cancelado = 0 UNION ALL SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS "
            "Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tProces WHERE NumEmp = 7 and Cancelado = 0 ) WHERE "
            "(Tipo = 'C' or Tipo = 'V') GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ");
}

TEST(Sentencias, Divisas) {
  EXPECT_EQ(TMotorExpuesto::ArmaConsultaDivisas("USD", true, false),
            "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo = 'USD' AND Pagare  = 0");
  EXPECT_EQ(TMotorExpuesto::ArmaConsultaDivisas("USD", false, false),
            "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo <> 'USD' AND Simbolo <> '' "
            "AND Pagare  = 0");
  EXPECT_EQ(TMotorExpuesto::ArmaConsultaDivisas("TODAS", false, true),
            "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo  <> 'M.N.' AND Simbolo  <> "
            "'MXN'  AND Simbolo  <> ''     AND Pagare  = -1");
}

TEST(Sentencias, ColumnaPEP) {
  TTablaPEPs t;
  TMotorExpuesto m(16, 1, &t);
  EXPECT_EQ(m.ArmaColumnaPEP(), ", 0 AS EsPEP ");
  t.Agrega({1, "A", "UNO", true});
  t.Agrega({2, "X", "NO MARCADO", false});
  t.Agrega({3, "B", "DOS", true});
  EXPECT_EQ(m.ArmaColumnaPEP(), ", IIF( ( ClaveCliente = 'A' or ClaveCliente = 'B' ), -1, 0 ) AS EsPEP ");
  t.Limpia();
  t.Agrega({1, "O'NEIL", "O'NEIL", true});
  EXPECT_EQ(m.ArmaColumnaPEP(), ", IIF( ( ClaveCliente = 'O''NEIL' ), -1, 0 ) AS EsPEP ");
}

TEST(Sentencias, TipoDeCambioSiempreConPunto) {
  for (auto [tc, texto] : {std::pair{16.0, "16"}, {17.25, "17.25"}, {15.8736, "15.8736"}, {0.1, "0.1"}}) {
    TMotorExpuesto m(tc, 1);
    const auto s = m.ArmaOpsOtrasDivisas(0, "01/01/2015", "12/31/2015");
    EXPECT_EQ(s.rfind(std::string("SELECT tOps.*, (AuxCant*Cot)/") + texto + " AS Cantidad,  tXDivisas.Simbolo FROM (",
                      0),
              0u)
        << s.substr(0, 80);
  }
}

TEST(Sentencias, TipoDeOperacion) {
  EXPECT_EQ(TMotorExpuesto::DameTipoOp(0), "C");
  EXPECT_EQ(TMotorExpuesto::DameTipoOp(1), "V");
  EXPECT_EQ(TMotorExpuesto::DameTipoOp(2), "");
  EXPECT_EQ(TMotorExpuesto::DameTipoOp(-1), "");
}

TEST(Sentencias, AgregadoresYSegmentos) {
  EXPECT_EQ(TMotorExpuesto::ArmaConteo("D"),
            "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '0', XResul) AS Resultado FROM (SELECT "
            "COUNT(1) AS XResul FROM (D ) UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tEmpresa) ");
  EXPECT_EQ(TMotorExpuesto::ArmaConteoSiNo("D"),
            "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT COUNT(1) AS XResul FROM (D ))");
  EXPECT_EQ(TMotorExpuesto::ArmaFiltroSegmento("D", 0, 2, true), "D");
  EXPECT_EQ(TMotorExpuesto::ArmaFiltroSegmento("D", 2, 1, true),
            "SELECT * FROM (D) WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 AND EsCB = 0 AND EsB = 0 AND EsExtrj = 0 "
            "AND EsPEP = 0 ");
  EXPECT_EQ(TMotorExpuesto::ArmaFiltroSegmento("D", 4, 2, false),
            "SELECT * FROM (D) WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) AND EsExtrj <> 0 ");
  EXPECT_EQ(TMotorExpuesto::ArmaFiltroSegmento("D", 7, 0, false), "SELECT * FROM (D) WHERE EsPEP <> 0 ");
  EXPECT_EQ(TMotorExpuesto::ArmaTopCliente("D", 6),
            "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS XResul FROM (D) WHERE "
            "EsB <> 0 and EsExtrj = 0 GROUP BY Cliente ORDER BY COUNT(Cliente) DESC");
}

TEST(Sentencias, AccesoYLimpieza) {
  EXPECT_EQ(TVelmarBD::ArmaValidaAcceso("ADMIN", "", true),
            "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = 'ADMIN' and Password = ''and Nivel = 0");
  EXPECT_EQ(TVelmarBD::ArmaValidaAcceso("CAJERO1", "caja123", false),
            "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = 'CAJERO1' and Password = 'caja123'");
  EXPECT_EQ(TVelmarBD::ArmaValidaAcceso("X' OR '1'='1", "a'b", true),
            "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = 'X'' OR ''1''=''1' and Password = 'a''b'and Nivel = 0");
  EXPECT_EQ(TConsultasSQL::ArmaLimpiaTabla("tTemp", "Id > 5"), "DELETE * FROM tTemp WHERE Id > 5");
  EXPECT_EQ(TConsultasSQL::ArmaLimpiaTabla("tTemp", ""), "DELETE * FROM tTemp");
}

TEST(MapaRespuestas, CadaPreguntaUnaVez) {
  std::multiset<int> vistas;
  for (const auto& r : MapaRespuestas2016())
    for (int p : r.preguntas)
      if (p) vistas.insert(p);
  for (int p = 33; p <= 191; ++p) EXPECT_EQ(vistas.count(p), 1u) << "pregunta " << p;
  EXPECT_EQ(vistas.size(), 159u);
}

TEST(MapaRespuestas, RespuestasFijas) {
  TMotorExpuesto m(16, 1);
  for (int p : {1, 3, 17, 32}) EXPECT_EQ(m.DameRespuesta(p), "(** El CC debe responder **)") << p;
  for (int p : {0, -1, 192, 326}) EXPECT_EQ(m.DameRespuesta(p), "** E R R O R **") << p;
  // Question 93: users of USD sales, national natural persons, PEPs excluded.
  const auto s93 = m.DameRespuesta(93);
  EXPECT_NE(s93.find("WHERE EsPF <> 0 AND EsExtrj = 0 AND EsPEP = 0 "), std::string::npos);
  EXPECT_NE(s93.find("tOps.Tipo = 'V'"), std::string::npos);
  EXPECT_NE(s93.find("Simbolo = 'USD' AND Pagare  = 0"), std::string::npos);
  // Sales sections: 91-148 and 180-191; everything else purchases.
  for (int p : {33, 90, 149, 179}) EXPECT_NE(m.DameRespuesta(p).find("Tipo = 'C'"), std::string::npos) << p;
  for (int p : {91, 148, 180, 191}) EXPECT_NE(m.DameRespuesta(p).find("Tipo = 'V'"), std::string::npos) << p;
}

}  // namespace
}  // namespace qavi
