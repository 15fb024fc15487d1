#pragma once
// A Velmar installation folder for tests, stated in a few lines:
//
//   TVelmarFixture f;  // tEmpresa 1, ADMIN/DEMO (Nivel 0), USD, sector 1; other tables empty
//   f.Cliente({.clave = "C1", .nombre = "JUAN", .paterno = "PEREZ", .sector = 1});
//   f.Movto({.tipo = "C", .folio = 1, .fecha = Fecha(2015, 3, 1), .cotizacion = 15.5, .cantidad = 100});
//   f.Escribe(dir);    // dir/DataBase/Velmar.mdb (password quibon) and dir/Velmar.INI
//
// Every field has a default and takes any TValorJet, Nulo included. Any table can be omitted or
// lose columns, and the INI text can be replaced or left out, to state broken installations.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "jetwriter/EscritorMdb.h"
#include "jetwriter/TablaJet.h"
#include "jetwriter/ValorJet.h"

namespace qavi::tools {

struct TEmpresaV {
  TValorJet numEmp = 1;
  TValorJet empresa = "CASA DE CAMBIO DEMO, S.A. DE C.V.";
  TValorJet rfc = "CCD150101AB1";
  TValorJet registroCC = "CC-000001";
};

struct TEmpV {  // tEmps
  TValorJet clave = "ADMIN";
  TValorJet password = "DEMO";
  TValorJet nivel = 0;
  TValorJet nombre = "ADMINISTRADOR";
};

struct TCompUsrV {
  TValorJet usuario = "ADMIN";
  TValorJet equipo = "CAJA1";
};

struct TDivisaV {
  TValorJet numero = 1;
  TValorJet simbolo = "USD";
  TValorJet divisa = "DOLAR AMERICANO";
  TValorJet pagare = false;
};

struct TSectorV {
  TValorJet clave = 1;
  TValorJet sector = "COMERCIO AL POR MENOR";
  TValorJet actividad = "4611001";
};

struct TClienteV {
  TValorJet clave = "C1";
  TValorJet nombre = "JUAN";
  TValorJet paterno = "PEREZ";
  TValorJet materno = "LOPEZ";
  TValorJet moral = false;
  TValorJet extranjero = false;
  TValorJet sector = 1;
  TValorJet numEmp = 1;
};

struct TOperacionV {  // a row of tMovtos or tProces
  TValorJet tipo = "C";
  TValorJet folio = 1;
  TValorJet fecha = FechaOle(2015, 1, 15, 12, 0, 0);
  TValorJet divisa = 1;
  TValorJet cotizacion = 15.5;
  TValorJet cantidad = 100.0;
  TValorJet cliente = "C1";
  TValorJet numEmp = 1;
  TValorJet cancelado = false;
};
using TMovtoV = TOperacionV;

struct TRelevanV {
  TValorJet tipo = "I";
  TValorJet fecha = FechaOle(2015, 6, 1);
  TValorJet observaciones = "OPERACION INUSUAL";
  TValorJet numEmp = 1;
  TValorJet cliente = "C1";
};

// The nine Velmar tables with their columns as the point-of-sale program defines them, no rows.
std::vector<TTablaJet> EsquemaVelmar();

class TVelmarFixture {
 public:
  TVelmarFixture();                 // the default rows named above
  static TVelmarFixture SinFilas();  // the nine tables, all empty

  // Append one row. Values of columns removed with QuitaColumna are dropped; rows of an omitted
  // table are ignored.
  TVelmarFixture& Empresa(const TEmpresaV& v = {});
  TVelmarFixture& Emp(const TEmpV& v = {});
  TVelmarFixture& CompUsr(const TCompUsrV& v = {});
  TVelmarFixture& Divisa(const TDivisaV& v = {});
  TVelmarFixture& Sector(const TSectorV& v = {});
  TVelmarFixture& Cliente(const TClienteV& v = {});
  TVelmarFixture& Movto(const TOperacionV& v = {});   // tMovtos
  TVelmarFixture& Proces(const TOperacionV& v = {});  // tProces
  TVelmarFixture& Relevan(const TRelevanV& v = {});

  // Shape of the file. Table and column names are matched without regard to case.
  TVelmarFixture& Limpia(const std::string& tabla);  // drops its rows, defaults included
  TVelmarFixture& Omite(const std::string& tabla);   // the table is not written at all
  TVelmarFixture& QuitaColumna(const std::string& tabla, const std::string& columna);
  TVelmarFixture& AgregaTabla(TTablaJet tabla);      // any extra table, written after the nine
  TTablaJet* Tabla(const std::string& nombre);       // direct access; null if absent or omitted

  // Velmar.INI: the default is "[Control]\r\nEmpresaActiva=1\r\n"; nullopt leaves the file out.
  TVelmarFixture& Ini(std::optional<std::string> texto);
  TVelmarFixture& EmpresaActiva(int numero);
  TVelmarFixture& Password(std::string password);  // default "quibon"; empty for none

  // dir/DataBase/Velmar.mdb and dir/Velmar.INI (folders are created). False and `error` on failure.
  bool Escribe(const std::filesystem::path& dir, std::string* error = nullptr) const;
  // Only the database, at any path.
  bool EscribeMdb(const std::filesystem::path& ruta, std::string* error = nullptr) const;
  // The tables as they would be written.
  std::vector<TTablaJet> Tablas() const;

 private:
  struct TEntrada {
    TTablaJet tabla;
    bool omitida = false;
  };
  TEntrada* Busca(const std::string& nombre);
  TVelmarFixture& Agrega(const std::string& tabla, const std::vector<std::pair<const char*, TValorJet>>& valores);

  std::vector<TEntrada> tablas_;
  std::optional<std::string> ini_;
  std::string password_ = "quibon";
};

}  // namespace qavi::tools
