// Jet statements translated and run over a small database, with Jet's expected results.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "BaseJet.h"
#include "db/jet/sql/EmisorJet.h"

namespace qavi::jet::prueba {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct TCaso {
  const char* nombre;
  const char* jet;
  std::vector<std::string> filas;
};

class TraductorJet : public BaseJet {
 protected:
  int pasos_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Dialect features, one or a few statements each.
// ---------------------------------------------------------------------------------------------
const std::vector<TCaso> kDialecto = {
    // ROUND without digits: halves to the even whole number; null stays null.
    {"round_mitades", "SELECT Id, ROUND(R) AS X FROM tNums ORDER BY Id", {"1|10", "2|12", "3|-2", "4|2", "5|(nulo)"}},
    {"round_decimales", "SELECT ROUND(0.125, 2) AS A, ROUND(0.375, 2) AS B, ROUND(7) AS C", {"0.12|0.38|7"}},
    // STR: a blank in front of a number that is not negative.
    {"str", "SELECT STR(E) AS S FROM tNums WHERE Id <= 4 ORDER BY Id", {" 7", " 2", "-3", " 0"}},
    {"str_real", "SELECT STR(R) AS S FROM tNums WHERE Id = 4", {" 2.5"}},
    {"str_nulo", "SELECT STR(R) AS S FROM tNums WHERE Id = 5", {"(nulo)"}},
    // UCASE of accented letters.
    {"ucase", "SELECT UCASE(T) AS U FROM tNums WHERE Id IN (1, 3) ORDER BY Id", {"JOSÉ", "ÑANDÚ"}},
    // / is real division even between integers.
    {"division_real", "SELECT E / 2 AS X, 7/2 AS Y FROM tNums WHERE Id = 1", {"3.5|3.5"}},
    {"aritmetica", "SELECT -E * (2 + 3) - 1 AS X, 10 - 4 - 3 AS Y, - -E AS Z FROM tNums WHERE Id = 1", {"-36|3|7"}},
    // + joins texts, adds numbers, adds a numeric text to a number, and gives null with a null.
    {"mas_textos", "SELECT T + '!' AS X FROM tNums WHERE Id = 1", {"josé!"}},
    {"mas_numeros", "SELECT E + 1 AS X, E + R AS Y FROM tNums WHERE Id = 1", {"8|17.5"}},
    {"mas_texto_numerico", "SELECT T + 1 AS X FROM tNums WHERE Id = 5", {"26"}},
    {"mas_nulo", "SELECT R + 1 AS X, T + R AS Y FROM tNums WHERE Id = 5", {"(nulo)|(nulo)"}},
    {"mas_tabla_derivada", "SELECT A + B AS X, N + M AS Y FROM (SELECT T AS A, ' y ' AS B, E AS N, R AS M FROM tNums WHERE Id = 1)",
     {"josé y |17.5"}},
    {"ampersand", "SELECT T & R AS X, R & E AS Y FROM tNums WHERE Id = 5", {"25|(nulo)"}},
    // Conditions as values are -1 / 0; TRUE and FALSE too.
    {"verdad_menos_uno", "SELECT E > 2 AS A, E = 2 AS B, TRUE AS C, FALSE AS D FROM tNums WHERE Id = 1", {"-1|0|-1|0"}},
    {"isnull_valor", "SELECT ISNULL(R) AS X FROM tNums WHERE Id >= 4 ORDER BY Id", {"0", "-1"}},
    {"iif", "SELECT IIF(E > 2, 'alto', 'bajo') AS X, IIF(R > 0, 1, 2) AS Y FROM tNums ORDER BY Id",
     {"alto|1", "bajo|1", "bajo|2", "bajo|1", "bajo|2"}},
    {"and_or_not", "SELECT Id FROM tNums WHERE NOT (E > 0) OR T IS NULL ORDER BY Id", {"3", "4"}},
    {"is_not_null", "SELECT COUNT(1) AS N FROM tNums WHERE R IS NOT NULL", {"4"}},
    {"in_between", "SELECT Id FROM tNums WHERE Id IN (1, 3, 5) AND E BETWEEN -3 AND 2 ORDER BY Id", {"3"}},
    // Text comparisons ignore letter case, accented letters included, but not trailing blanks.
    {"igual_sin_caso", "SELECT COUNT(1) AS N FROM tNums WHERE T = 'JOSÉ'", {"2"}},
    {"igual_calculado_sin_caso", "SELECT COUNT(1) AS N FROM tNums WHERE UCASE(T) + '' = 'josé'", {"2"}},
    {"igual_literales", "SELECT 'josé' = 'JOSÉ' AS A, 'a' < 'B' AS B, 'ñ' > 'N' AS C", {"-1|-1|-1"}},
    {"blancos_finales_cuentan", "SELECT COUNT(1) AS N FROM tNums WHERE T = 'josé '", {"0"}},
    {"in_texto_sin_caso", "SELECT COUNT(1) AS N FROM tNums WHERE T IN ('JOSÉ', 'ñANDÚ')", {"3"}},
    // GROUP BY and DISTINCT ignore case, also on computed values and through derived tables.
    {"group_by_sin_caso", "SELECT COUNT(1) AS N FROM tNums WHERE Id <= 2 GROUP BY T", {"2"}},
    {"group_by_calculado", "SELECT COUNT(1) AS N FROM tNums WHERE Id <= 2 GROUP BY T + ''", {"2"}},
    {"distinct_sin_caso", "SELECT DISTINCT T FROM tNums WHERE Id <= 2", {"josé"}},
    {"distinct_derivada",
     "SELECT COUNT(1) AS N FROM (SELECT DISTINCT X FROM (SELECT T + '' AS X FROM tNums WHERE Id = 1 "
     "UNION ALL SELECT T + '' AS X FROM tNums WHERE Id = 2))",
     {"1"}},
    // Aggregates.
    {"count_sum", "SELECT COUNT(1) AS A, COUNT(*) AS B, COUNT(R) AS C, SUM(E) AS D FROM tNums", {"5|5|4|6"}},
    {"sum_vacio_nulo", "SELECT SUM(E) AS S FROM tNums WHERE Id > 10", {"(nulo)"}},
    // ORDER BY, text without regard to case; accented letters after their base letter.
    {"order_desc", "SELECT Id FROM tNums ORDER BY E DESC", {"1", "2", "4", "3", "5"}},
    {"order_texto", "SELECT [Nombre con blancos] FROM tVarios ORDER BY [Nombre con blancos] ASC",
     {"Alfa", "beta", "éxito", "Gama"}},
    // TOP n with ORDER BY, also inside a UNION ALL branch; the first branch's rows come first.
    {"top", "SELECT TOP 2 Id FROM tNums ORDER BY E DESC", {"1", "2"}},
    {"top_en_union",
     "SELECT TOP 1 Id FROM tNums WHERE E IS NOT NULL ORDER BY E UNION ALL SELECT 99 AS Id FROM tEmpresa",
     {"3", "99"}},
    {"union_numero_y_texto", "SELECT COUNT(1) AS X FROM tNums UNION ALL SELECT 'ZZZSINRESULT' AS X FROM tEmpresa",
     {"5", "ZZZSINRESULT"}},
    {"union_order_final", "SELECT Id FROM tNums WHERE Id < 3 UNION ALL SELECT Id FROM tVarios ORDER BY Id DESC",
     {"4", "3", "2", "2", "1", "1"}},
    // Derived tables with and without alias, comma joins, t.*, qualified and bracketed names.
    {"derivada_alias_sin_as", "SELECT q.Id FROM (SELECT Id FROM tNums WHERE Id = 1) q", {"1"}},
    {"derivada_alias_as", "SELECT q.Id FROM (SELECT Id FROM tNums WHERE Id = 2) AS q", {"2"}},
    {"derivada_sin_alias", "SELECT Id FROM (SELECT Id FROM tNums WHERE Id = 3)", {"3"}},
    {"coma_join", "SELECT tNums.Id, v.* FROM tNums, tVarios AS v WHERE tNums.Id = v.Id AND tNums.E > 0 ORDER BY tNums.Id",
     {"1|1|beta", "2|2|Alfa"}},
    {"corchetes", "SELECT [Nombre con blancos] AS [Un nombre] FROM [tVarios] WHERE [tVarios].[Id] = 1", {"beta"}},
    {"inner_join", "SELECT n.Id, [Nombre con blancos] FROM tNums AS n INNER JOIN tVarios AS v ON n.Id = v.Id WHERE n.Id > 2 ORDER BY n.Id",
     {"3|éxito", "4|Gama"}},
    {"left_join", "SELECT COUNT(v.Id) AS A, COUNT(1) AS B FROM tNums n LEFT JOIN tVarios v ON n.Id = v.Id", {"4|5"}},
    // LIKE: % and _, any letter case, accented letters too; [list].
    {"like_sin_caso", "SELECT 'Cliente PEP' LIKE '%pep%' AS A, 'Cliente PEP' LIKE 'pep%' AS B", {"-1|0"}},
    {"like_acentos", "SELECT Id FROM tNums WHERE T LIKE 'JOS_' OR T LIKE 'ñ%' ORDER BY Id", {"1", "2", "3"}},
    {"like_lista", "SELECT Id FROM tNums WHERE T LIKE '[a-k]%' AND T LIKE '%é' ORDER BY Id", {"1", "2"}},
    {"like_lista_negada", "SELECT Id FROM tNums WHERE T LIKE '[!j]%' ORDER BY Id", {"3", "5"}},
    // Date literals are OLE numbers; 12/31/2015 10:00 lies after #12/31/2015#.
    {"fecha", "SELECT COUNT(1) AS N FROM tMovtos WHERE Fecha >= #01/01/2015# AND Fecha <= #12/31/2015#", {"13"}},
    {"fecha_hora", "SELECT Folio FROM tMovtos WHERE Fecha = #12/31/2015 10:00:00#", {"5"}},
    {"fecha_valor", "SELECT #12/30/1899# AS A, #1/2/1900 12:00:00# AS B", {"0|3.5"}},
    // Quotes: doubled inside a literal; double-quoted literals.
    {"comillas_dobladas", "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = 'O''NEIL'", {"O'NEIL"}},
    {"comillas_dobles", "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = \"O'NEIL\"", {"O'NEIL"}},
    // A constant column over a table gives one row per row.
    {"constante_por_fila", "SELECT 'ZZZSINRESULT' AS XResul FROM tNums", {"ZZZSINRESULT", "ZZZSINRESULT", "ZZZSINRESULT",
                                                                          "ZZZSINRESULT", "ZZZSINRESULT"}},
    // Names and keywords in any letter case; a closing ';'.
    {"mayusculas_indistintas", "select id from TNUMS where ID = 1 And t Is Not Null;", {"1"}},
    {"having", "SELECT COUNT(1) AS N FROM tNums GROUP BY T HAVING COUNT(1) > 1", {"2"}},
    {"subconsulta", "SELECT Id FROM tNums WHERE E = (SELECT MAX(E) FROM tNums) OR Id IN (SELECT Id FROM tVarios WHERE Id = 4) ORDER BY Id",
     {"1", "4"}},
    {"exists", "SELECT COUNT(1) AS N FROM tNums WHERE EXISTS (SELECT 1 FROM tVarios WHERE tVarios.Id = tNums.Id)", {"4"}},
};

TEST_F(TraductorJet, DialectoDaLosResultadosDeJet) {
  for (const TCaso& c : kDialecto) {
    SCOPED_TRACE(c.nombre);
    const TResultado r = Ejecuta(c.jet);
    ASSERT_TRUE(r.ok) << c.jet << "\n" << r.error << "\n" << r.sql;
    EXPECT_EQ(r.filas, c.filas) << c.jet << "\n" << r.sql;
  }
}

TEST_F(TraductorJet, NombresDeColumnaComoLosDaJet) {
  const TResultado r = Ejecuta("SELECT clavecliente, COUNT(1), UCASE(Nombre) AS Grande, SUM(NumEmp) FROM tCliente GROUP BY ClaveCliente, Nombre");
  ASSERT_TRUE(r.ok) << r.error;
  // A plain column keeps the table's spelling; unnamed expressions are Expr1000, Expr1001...
  EXPECT_THAT(r.columnas, ElementsAre("ClaveCliente", "Expr1000", "Grande", "Expr1001"));
}

// ---------------------------------------------------------------------------------------------
// Statements exactly as the point-of-sale gateway and the questionnaire engine write them.
// ---------------------------------------------------------------------------------------------
TEST_F(TraductorJet, ValidaAcceso) {
  struct TAcceso {
    std::string usuario, password;
    bool soloAdmins;
    std::vector<std::string> filas;
  };
  const std::vector<TAcceso> casos = {
      {"ADMIN", "", true, {"ADMIN"}},
      {"admin", "", true, {"ADMIN"}},   // keys compare without regard to case
      {"SUPERV", "", true, {}},         // a null password is not an empty one
      {"CAJERO", "caja", false, {"CAJERO"}},
      {"CAJERO", "caja", true, {}},     // level 3 is not an administrator
      {"josé", "CLAVE", true, {"JOSÉ"}},
      {"", "", true, {}},
  };
  for (const auto& c : casos) {
    const std::string jet = "SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = '" + c.usuario + "' and " + "Password = '" +
                            c.password + "'" + (c.soloAdmins ? "and Nivel = 0" : "");
    SCOPED_TRACE(jet);
    const TResultado r = Ejecuta(jet);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.filas, c.filas);
  }
  const TResultado r = Ejecuta("SELECT ClaveEmp FROM tEmps WHERE ClaveEmp = 'ADMIN' and Password = ''and Nivel = 0");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_THAT(r.filas, ElementsAre("ADMIN"));
}

TEST_F(TraductorJet, ConsultasDelGateway) {
  TResultado r = Ejecuta("SELECT COUNT(1) as TotalConectados FROM tCompUsr ");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_THAT(r.columnas, ElementsAre("TotalConectados"));
  EXPECT_THAT(r.filas, ElementsAre("0"));

  r = Ejecuta("SELECT * FROM tEmpresa");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_THAT(r.columnas, ElementsAre("NumEmp", "Empresa", "RFC", "RegistroCC"));
  EXPECT_THAT(r.filas, ElementsAre("1|CASA DE PRUEBA|CAP150101AB1|(nulo)"));
}

TEST_F(TraductorJet, DeteccionDePEPs) {
  const TResultado r = Ejecuta(
      "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  tCliente.ApellidoMaterno, tCliente.ClaveCliente "
      "FROM tRelevan, tCliente WHERE tRelevan.TipoRelev = 'I' AND tRelevan.Fecha >= #01/01/2015# AND "
      "tRelevan.Fecha <= #12/31/2015# AND tRelevan.Observaciones LIKE '%PEP%' AND tRelevan.NumEmp = 1 AND "
      "tCliente.ClaveCliente = tRelevan.ClaveCliente");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_THAT(r.columnas, ElementsAre("Nombre", "ApellidoPaterno", "ApellidoMaterno", "ClaveCliente"));
  EXPECT_THAT(r.filas, ElementsAre("Cliente Pep|(nulo)|(nulo)|C6"));
}

// The engine's statement pieces, copied character for character (company 1, rate 16, C6 ticked as PEP).
std::string Bool(bool b) { return b ? "-1" : "0"; }
std::string TipoOp(int n) { return n == 0 ? "C" : n == 1 ? "V" : ""; }

std::string Ops() {
  return "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, Folio, Fecha, "
         "NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tMovtos WHERE NumEmp = "
         "1 and Cancelado = 0 UNION ALL SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad "
         "AS XCant, ClaveCliente AS CvCAux FROM tProces WHERE NumEmp = 1 and Cancelado = 0 ) "
         "WHERE (Tipo = 'C' or Tipo = 'V') GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ";
}
std::string Divisas(const std::string& simbolo, bool igual, bool pagare) {
  std::string s = "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE ";
  if (simbolo == "TODAS") s += "Simbolo  <> 'M.N.' AND Simbolo  <> 'MXN'  AND Simbolo  <> ''     AND ";
  else if (igual) s += "Simbolo = '" + simbolo + "' AND ";
  else s += "Simbolo <> '" + simbolo + "' AND Simbolo <> '' AND ";
  return s + "Pagare  = " + Bool(pagare);
}
std::string Dolares(int tipo) {
  return "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (" + Ops() + " ) AS tOps, (" +
         Divisas("USD", true, false) + " ) AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #01/01/2015# "
         "and tOps.Fecha <= #12/31/2015# and tOps.Tipo = '" + TipoOp(tipo) + "'";
}
std::string OtrasDivisas(int tipo) {
  return "SELECT tOps.*, (AuxCant*Cot)/16 AS Cantidad,  tXDivisas.Simbolo FROM (" + Ops() + ") AS tOps, (" +
         Divisas("USD", false, false) + ") AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= "
         "#01/01/2015# AND tOps.Fecha <= #12/31/2015# AND tOps.Tipo = '" + TipoOp(tipo) + "'";
}
std::string Documentos(int tipo) {
  return "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/16) AS Cantidad, Simbolo, Divisa FROM (" + Ops() +
         ") AS tOps, (" + Divisas("TODAS", true, true) + ") AS tXDiv WHERE tOps.NDiv = tXDiv.NDivx AND tOps.Fecha >= "
         "#01/01/2015# AND tOps.Fecha <= #12/31/2015# AND tOps.Tipo = '" + TipoOp(tipo) + "' ";
}
std::string OpsPeriodo() {
  return "SELECT tOps.* FROM (" + Ops() + ") AS tOps WHERE tOps.Fecha >= #01/01/2015# AND tOps.Fecha <= #12/31/2015#";
}
std::string Clientes() {
  const std::string interna =
      "SELECT  ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + IIF(ISNULL(ApellidoPaterno), '', ' '+ "
      "ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), '', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, "
      "0, -1) AS EsPF, PersonaMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, Extranjero AS EsExtrj, "
      "ClaveSector , IIF( ( ClaveCliente = 'C6' ), -1, 0 ) AS EsPEP FROM tCliente WHERE NumEmp = 1";
  return "SELECT  tXClientes.*, tSector.Sector AS Actividad, IIF((ClaveActividad = '9503005' or ClaveActividad = "
         "'6999992' ), -1, 0) AS EsCC, IIF( (ClaveActividad = '8123094' or ClaveActividad = '9911018'), -1, 0) AS EsEF, "
         "IIF(ClaveActividad = '8219025', -1, 0) AS EsCB, IIF(ClaveActividad = '8100000', -1, 0) AS EsB FROM (" +
         interna + ") AS tXClientes, tSector WHERE tXClientes.ClaveSector = tSector.ClaveSector";
}
std::string OpsClientes(const std::string& s) {
  return "SELECT * FROM (" + s + ") AS tXOps, (" + Clientes() + ") AS tXCte WHERE tXOps.CvCAux = tXCte.AuxCvC ";
}
std::string Usuarios(const std::string& s) {
  return "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" + s +
         ") AS tXCSinPG WHERE EsPubGen = 0 GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, "
         "EsB, EsPEP UNION ALL SELECT tXCPG.CvCAux AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP "
         "FROM (" + s + ") AS tXCPG WHERE EsPubGen <> 0 ";
}
std::string Filtro(const std::string& s, int segmento, int nacionalidad, bool sinPep) {
  static const char* kPiezas[] = {"",
                                  "WHERE EsPF <> 0 ",
                                  "WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 AND EsCB = 0 AND EsB = 0 ",
                                  "WHERE EsCC <> 0 ",
                                  "WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) ",
                                  "WHERE EsCB <> 0 ",
                                  "WHERE EsB <> 0 ",
                                  "WHERE EsPEP <> 0 "};
  if (segmento == 0) return s;
  std::string r = "SELECT * FROM (" + s + ") " + kPiezas[segmento];
  if (nacionalidad == 1) r += "AND EsExtrj = 0 ";
  if (nacionalidad == 2) r += "AND EsExtrj <> 0 ";
  if (sinPep) r += "AND EsPEP = 0 ";
  return r;
}
std::string Resultado(const std::string& s, const std::string& defecto) {
  return "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '" + defecto +
         "', XResul) AS Resultado FROM (" + s + " UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tEmpresa) ";
}
std::string Conteo(const std::string& s) { return Resultado("SELECT COUNT(1) AS XResul FROM (" + s + " )", "0"); }
std::string ConteoSiNo(const std::string& s) {
  return "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT COUNT(1) AS XResul FROM (" + s + " ))";
}
std::string Suma(const std::string& s, int segmento, int nacionalidad, bool sinPep) {
  return Resultado("SELECT ROUND(SUM(Cantidad)) AS XResul FROM (" + Filtro(s, segmento, nacionalidad, sinPep) + ") ", "0");
}
std::string Promedio(const std::string& s) {
  return Resultado("SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (" + s + ") ", "0");
}
std::string TopCliente(const std::string& s, int segmento) {
  return Resultado("SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS XResul FROM (" + s +
                       ") " + (segmento == 6 ? "WHERE EsB <> 0 and EsExtrj = 0 " : "") +
                       "GROUP BY Cliente ORDER BY COUNT(Cliente) DESC",
                   "NINGUNO");
}
std::string TopDivisa(const std::string& s) {
  return Resultado("SELECT TOP 1 UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' AS XResul FROM (" +
                       s + ") GROUP BY Divisa ORDER BY COUNT(Divisa) DESC",
                   "NINGUNO");
}
std::string TopActividad(const std::string& s) {
  return Resultado("SELECT TOP 1 UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' **) ' AS XResul "
                   "FROM (" + OpsClientes(s) + ") WHERE Actividad <> 'NO APLICA' GROUP BY Actividad "
                   "ORDER BY COUNT(Actividad) DESC",
                   "NINGUNO");
}

TEST_F(TraductorJet, RespuestasDelCuestionario) {
  const std::string compraUsd = OpsClientes(Dolares(0));
  struct TRespuesta {
    const char* nombre;
    std::string jet;
    std::string esperado;
  };
  const std::vector<TRespuesta> casos = {
      // Presence: cancelled, other company, 2016, 12/31/2015 10:00 and type X stay out; a client
      // without a sector still counts here.
      {"hay_compras_usd", ConteoSiNo(Dolares(0)), "SI"},
      {"ops_compra_usd", Conteo(Dolares(0)), "9"},
      // Joined with clients: C7 (no sector) drops out; 'c1' is C1.
      {"ops_con_clientes", Conteo(compraUsd), "8"},
      // Users: C1 (twice spelt), C2, C6, and each of the two general-public operations.
      {"usuarios", Conteo(Usuarios(compraUsd)), "5"},
      {"usuarios_pep", Conteo(Filtro(Usuarios(compraUsd), 7, 0, false)), "1"},
      {"usuarios_pf_nacionales", Conteo(Filtro(Usuarios(compraUsd), 1, 1, true)), "3"},
      {"ops_pf_nacionales", Conteo(Filtro(compraUsd, 1, 1, true)), "5"},
      // 307.5 rounds to the even 308; the average 38.4375 to 38.
      {"monto", Suma(compraUsd, 0, 0, true), "308"},
      {"monto_pep", Suma(compraUsd, 7, 0, false), "67"},
      {"promedio", Promedio(compraUsd), "38"},
      {"cliente_principal", TopCliente(compraUsd, 0), "JUAN PEREZ LOPEZ (** Total Ops.:  3 **) "},
      {"actividad_principal", TopActividad(OpsPeriodo()), "COMERCIO (** Total Ops.:  7 **) "},
      {"documento_principal", TopDivisa(Documentos(0)), "DOCUMENTOS EN EUROS (ESPAÑA) (** Total Ops.:  2 **) "},
      {"monto_documentos_bancos", Suma(OpsClientes(Documentos(0)), 6, 1, true), "25"},
      {"banco_principal", TopCliente(OpsClientes(Documentos(0)), 6), "BANCO UNO SA (** Total Ops.:  3 **) "},
      {"monto_otras_divisas", Suma(OpsClientes(OtrasDivisas(0)), 0, 0, true), "50"},
      {"usuarios_centros_cambiarios_venta", Conteo(Filtro(Usuarios(OpsClientes(Dolares(1))), 3, 0, true)), "1"},
      // No sales in other currencies: every answer falls back to its default.
      {"sin_ventas_otras", ConteoSiNo(OtrasDivisas(1)), "NO"},
      {"sin_ventas_otras_conteo", Conteo(Usuarios(OpsClientes(OtrasDivisas(1)))), "0"},
      {"sin_ventas_otras_monto", Suma(OpsClientes(OtrasDivisas(1)), 0, 0, true), "0"},
      {"sin_ventas_otras_promedio", Promedio(OpsClientes(OtrasDivisas(1))), "0"},
      {"sin_ventas_otras_cliente", TopCliente(OpsClientes(OtrasDivisas(1)), 0), "NINGUNO"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const TResultado r = Ejecuta(c.jet);
    ASSERT_TRUE(r.ok) << r.error << "\n" << r.sql;
    ASSERT_FALSE(r.filas.empty());
    EXPECT_EQ(r.columnas, std::vector<std::string>{"Resultado"});
    EXPECT_EQ(r.filas.front(), c.esperado) << r.sql;
  }
}

TEST_F(TraductorJet, TablasNombradas) {
  const TTraduccion t = TraduceSQL(Conteo(OpsClientes(Dolares(0))));
  ASSERT_TRUE(t.ok) << t.error;
  EXPECT_EQ(t.tablas, (std::set<std::string>{"tCliente", "tDivisas", "tEmpresa", "tMovtos", "tProces", "tSector"}));
  EXPECT_EQ(t.tipo, TTipoSentencia::Seleccion);
  EXPECT_EQ(TraduceSQL("SELECT [Id] FROM [tVarios] v, tNums INNER JOIN tNums AS n2 ON tNums.Id = n2.Id").tablas,
            (std::set<std::string>{"tVarios", "tNums"}));
  // One table however it is spelt, named as first written.
  EXPECT_EQ(TraduceSQL("SELECT COUNT(*) FROM tMovtos AS a, TMOVTOS AS b, [tmovtos] c").tablas,
            std::set<std::string>{"tMovtos"});
}

TEST_F(TraductorJet, Borrado) {
  Sql("CREATE TABLE tTemp (Clave TEXT COLLATE JETNOCASE)");
  Sql("INSERT INTO tTemp VALUES ('a'), ('B'), ('c')");
  for (const char* jet : {"DELETE * FROM tTemp WHERE Clave = 'b'", "DELETE FROM tTemp WHERE Clave = 'A'"}) {
    const TTraduccion t = TraduceSQL(jet);
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(t.tipo, TTipoSentencia::Borrado);
    EXPECT_EQ(t.tablas, std::set<std::string>{"tTemp"});
    Sql(t.sql);
  }
  EXPECT_THAT(Ejecuta("SELECT Clave FROM tTemp").filas, ElementsAre("c"));
  const TTraduccion todo = TraduceSQL("DELETE * FROM tTemp");
  ASSERT_TRUE(todo.ok) << todo.error;
  Sql(todo.sql);
  EXPECT_TRUE(Ejecuta("SELECT Clave FROM tTemp").filas.empty());
}

// ---------------------------------------------------------------------------------------------
// Errors: a readable Spanish message, never a crash.
// ---------------------------------------------------------------------------------------------
TEST(TraductorJetErrores, MensajesClaros) {
  using namespace std::string_literals;
  struct TError {
    std::string jet;
    const char* mensaje;
  };
  const std::vector<TError> casos = {
      {"SELECT ClaveEmp, Nivel FORM tEmps", "Error de sintaxis cerca de 'FORM' (posición 24)"},
      {"SELECT * FROM tEmps WHERE", "Error de sintaxis: la sentencia termina antes de tiempo (posición 26)"},
      {"SELECT FOO(1) FROM t", "Función desconocida 'FOO' (posición 8)"},
      {"SELECT IIF(1, 2) FROM t", "La función IIF espera 3 argumentos y recibió 2 (posición 8)"},
      {"SELECT 'abc FROM t", "Texto sin cerrar: falta la comilla final (posición 8)"},
      {"SELECT * FROM t WHERE F = #02/30/2015#", "Fecha no válida '#02/30/2015#' (posición 27)"},
      {"SELECT * FROM t WHERE F = #13/01/2015#", "Fecha no válida"},
      {"SELECT * FROM t WHERE F = #12/31/2015 25:00:00#", "Fecha no válida"},
      {"SELECT * FROM t WHERE F = #12/31/2015", "Fecha sin cerrar"},
      {"SELECT [Sin cerrar FROM t", "Nombre entre corchetes sin cerrar"},
      {"UPDATE t SET a = 1", "Solo se admiten sentencias SELECT y DELETE"},
      {"", "La sentencia está vacía"},
      {"   ", "La sentencia está vacía"},
      {"SELECT a ? b FROM t", "Carácter no válido '?' (posición 10)"},
      {"SELECT \xC3( FROM t", "UTF-8"},
      {"SELECT a FROM t WHERE a = 'x\0y'"s, "Carácter nulo no válido en la sentencia (posición 29)"},
      {"SELECT TOP x a FROM t", "TOP requiere un número entero"},
      {"SELECT DISTINCTROW a FROM t", "DISTINCTROW"},
      {"SELECT a b FROM t", "Error de sintaxis cerca de 'b'"},  // Jet needs AS for a column alias
      {"SELECT a FROM t t2 t3", "Error de sintaxis cerca de 't3'"},
      {"SELECT * FROM t; SELECT 1", "Error de sintaxis cerca de 'SELECT'"},
      {"SELECT 1e999", "Número fuera de rango"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.jet);
    const TTraduccion t = TraduceSQL(c.jet);
    EXPECT_FALSE(t.ok);
    EXPECT_THAT(t.error, HasSubstr(c.mensaje));
    EXPECT_TRUE(t.sql.empty());
  }
}

TEST(TraductorJetErrores, AnidamientoExcesivoSeRechaza) {
  for (const std::string& jet : {std::string("SELECT ") + std::string(5000, '(') + "1" + std::string(5000, ')'),
                                 "SELECT " + std::string(5000, '-') + "1",
                                 [] {
                                   std::string s = "SELECT 1";
                                   for (int i = 0; i < 5000; ++i) s += " + 1";
                                   return s;
                                 }(),
                                 [] {
                                   std::string s = "SELECT 1 AS a";
                                   for (int i = 0; i < 3000; ++i) s = "SELECT a FROM (" + s + ")";
                                   return s;
                                 }()}) {
    const TTraduccion t = TraduceSQL(jet);
    EXPECT_FALSE(t.ok);
    EXPECT_THAT(t.error, HasSubstr("demasiados niveles de anidamiento"));
  }
}

TEST_F(TraductorJet, CadenasLargasDeOrSeEjecutan) {
  // One OR term per ticked client: hundreds must still run in SQLite.
  std::string jet = "SELECT COUNT(1) AS N FROM tCliente WHERE ClaveCliente = 'C1' ";
  for (int i = 0; i < 1500; ++i) jet += "or ClaveCliente = 'X" + std::to_string(i) + "' ";
  const TResultado r = Ejecuta(jet);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_THAT(r.filas, ElementsAre("1"));
}

// Garbage and mangled statements: the translator answers ok or a message, and what it
// accepts SQLite can at least prepare or refuse cleanly.
TEST_F(TraductorJet, EntradaBasuraNoRompeNada) {
  std::vector<std::string> entradas = {
      "(((", ")))", "'", "\"", "#", "[", "]", "SELECT", "SELECT *", "SELECT * FROM", "DELETE", "DELETE *",
      "SELECT IIF(", "SELECT COUNT(*", "SELECT a FROM (SELECT", "SELECT TOP", "SELECT TOP 1", "SELECT 1 UNION",
      "SELECT a.* .* FROM t", "SELECT #1/1/2000# #", "SELECT ''''", "SELECT -", "SELECT NOT", "SELECT a IS",
      "SELECT a BETWEEN 1", "SELECT a IN ()", "SELECT a FROM t INNER JOIN", "SELECT a FROM (t)", "\xFF\xFE",
      "SELECT 1 -- comentario", "SELECT 1 /* x */", "SELECT 1; DROP TABLE tNums", "SELECT 1;;",
  };
  const std::vector<std::string> piezas = {
      "SELECT", "FROM", "WHERE", "GROUP", "BY", "ORDER", "UNION", "ALL", "TOP", "1", "DISTINCT", "(", ")", ",", "*",
      "+", "-", "/", "=", "<>", "<=", "AND", "OR", "NOT", "IS", "NULL", "LIKE", "'x'", "\"y\"", "#1/2/2015#", "[a b]",
      "tNums", "Id", "T", "IIF", "COUNT", "ROUND", "STR", "UCASE", "ISNULL", "AS", "t.", ".", "IN", "BETWEEN", "EXISTS",
      "INNER", "JOIN", "ON", "DELETE", "&", "2.5", ";", "é"};
  std::mt19937 azar(20160101);
  for (int i = 0; i < 3000; ++i) {
    std::string s;
    const int n = 1 + static_cast<int>(azar() % 25);
    for (int k = 0; k < n; ++k) s += piezas[azar() % piezas.size()] + (azar() % 4 ? " " : "");
    entradas.push_back(s);
  }
  const std::string base = Conteo(Usuarios(OpsClientes(Dolares(0))));
  for (int i = 0; i < 300; ++i) {  // mangled copies of a real statement
    std::string s = base;
    for (int k = 0; k < 3; ++k) {
      const std::size_t p = azar() % s.size();
      switch (azar() % 3) {
        case 0: s.erase(p, 1 + azar() % 8); break;
        case 1: s.insert(p, 1, "()',#[]*"[azar() % 8]); break;
        default: s[p] = static_cast<char>(azar() % 256); break;
      }
      if (s.empty()) s = "x";
    }
    entradas.push_back(s);
  }
  // A random cross join could run for ages: SQLite gives up after a fixed amount of work.
  sqlite3_progress_handler(db_, 1000, [](void* n) { return ++*static_cast<int*>(n) > 2000 ? 1 : 0; }, &pasos_);
  for (const std::string& e : entradas) {
    pasos_ = 0;
    const TTraduccion t = TraduceSQL(e);
    if (!t.ok) {
      EXPECT_FALSE(t.error.empty()) << e;
      continue;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, t.sql.c_str(), -1, &st, nullptr) == SQLITE_OK && t.tipo == TTipoSentencia::Seleccion) {
      for (int k = 0; k < 50 && sqlite3_step(st) == SQLITE_ROW; ++k) {
      }
    }
    sqlite3_finalize(st);
    EXPECT_EQ(t.sql.find("--"), std::string::npos) << e;  // the emitted text never starts a comment
  }
  // Nothing was dropped or deleted.
  EXPECT_THAT(Ejecuta("SELECT COUNT(1) AS N FROM tNums").filas, ElementsAre("5"));
}

}  // namespace
}  // namespace qavi::jet::prueba
