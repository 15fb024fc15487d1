#include "jetwriter/VelmarFixture.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace qavi::tools {
namespace {

std::string Mayusculas(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

bool MismoNombre(const std::string& a, const std::string& b) { return Mayusculas(a) == Mayusculas(b); }

}  // namespace

std::vector<TTablaJet> EsquemaVelmar() {
  using T = TTipoJet;
  const std::vector<TColumnaJet> operacion = {
      {"Tipo", T::Texto, 1},       {"Folio", T::EnteroLargo},   {"Fecha", T::FechaHora},
      {"NumeroDivisa", T::EnteroLargo}, {"Cotizacion", T::Doble}, {"Cantidad", T::Doble},
      {"ClaveCliente", T::Texto, 20}, {"NumEmp", T::EnteroLargo}, {"Cancelado", T::Booleano},
  };
  return {
      {"tEmpresa",
       {{"NumEmp", T::EnteroLargo}, {"Empresa", T::Texto, 100}, {"RFC", T::Texto, 20}, {"RegistroCC", T::Texto, 30}},
       {}},
      {"tEmps",
       {{"ClaveEmp", T::Texto, 20}, {"Password", T::Texto, 20}, {"Nivel", T::Entero}, {"Nombre", T::Texto, 60}},
       {}},
      {"tCompUsr", {{"Usuario", T::Texto, 20}, {"Equipo", T::Texto, 50}}, {}},
      {"tDivisas",
       {{"NumeroDivisa", T::EnteroLargo}, {"Simbolo", T::Texto, 10}, {"Divisa", T::Texto, 50}, {"Pagare", T::Booleano}},
       {}},
      {"tSector", {{"ClaveSector", T::EnteroLargo}, {"Sector", T::Texto, 100}, {"ClaveActividad", T::Texto, 10}}, {}},
      {"tCliente",
       {{"ClaveCliente", T::Texto, 20},
        {"Nombre", T::Texto, 100},
        {"ApellidoPaterno", T::Texto, 50},
        {"ApellidoMaterno", T::Texto, 50},
        {"PersonaMoral", T::Booleano},
        {"Extranjero", T::Booleano},
        {"ClaveSector", T::EnteroLargo},
        {"NumEmp", T::EnteroLargo}},
       {}},
      {"tMovtos", operacion, {}},
      {"tProces", operacion, {}},
      {"tRelevan",
       {{"TipoRelev", T::Texto, 1},
        {"Fecha", T::FechaHora},
        {"Observaciones", T::Memo},
        {"NumEmp", T::EnteroLargo},
        {"ClaveCliente", T::Texto, 20}},
       {}},
  };
}

namespace {

std::vector<std::pair<const char*, TValorJet>> Operacion(const TOperacionV& v) {
  return {{"Tipo", v.tipo},         {"Folio", v.folio},       {"Fecha", v.fecha},
          {"NumeroDivisa", v.divisa}, {"Cotizacion", v.cotizacion}, {"Cantidad", v.cantidad},
          {"ClaveCliente", v.cliente}, {"NumEmp", v.numEmp},   {"Cancelado", v.cancelado}};
}

}  // namespace

TVelmarFixture::TVelmarFixture() : ini_("[Control]\r\nEmpresaActiva=1\r\n") {
  for (TTablaJet& t : EsquemaVelmar()) tablas_.push_back({std::move(t), false});
  Empresa();
  Emp();
  Divisa();
  Sector();
}

TVelmarFixture TVelmarFixture::SinFilas() {
  TVelmarFixture f;
  for (TEntrada& e : f.tablas_) e.tabla.filas.clear();
  return f;
}

TVelmarFixture::TEntrada* TVelmarFixture::Busca(const std::string& nombre) {
  for (TEntrada& e : tablas_) {
    if (MismoNombre(e.tabla.nombre, nombre)) return &e;
  }
  return nullptr;
}

TVelmarFixture& TVelmarFixture::Agrega(const std::string& tabla,
                                       const std::vector<std::pair<const char*, TValorJet>>& valores) {
  TEntrada* e = Busca(tabla);
  if (!e || e->omitida) return *this;
  std::vector<TValorJet> fila;
  for (const TColumnaJet& c : e->tabla.columnas) {
    const auto it = std::find_if(valores.begin(), valores.end(),
                                 [&](const auto& par) { return MismoNombre(par.first, c.nombre); });
    fila.push_back(it != valores.end() ? it->second : Nulo);
  }
  e->tabla.filas.push_back(std::move(fila));
  return *this;
}

TVelmarFixture& TVelmarFixture::Empresa(const TEmpresaV& v) {
  return Agrega("tEmpresa",
                {{"NumEmp", v.numEmp}, {"Empresa", v.empresa}, {"RFC", v.rfc}, {"RegistroCC", v.registroCC}});
}

TVelmarFixture& TVelmarFixture::Emp(const TEmpV& v) {
  return Agrega("tEmps",
                {{"ClaveEmp", v.clave}, {"Password", v.password}, {"Nivel", v.nivel}, {"Nombre", v.nombre}});
}

TVelmarFixture& TVelmarFixture::CompUsr(const TCompUsrV& v) {
  return Agrega("tCompUsr", {{"Usuario", v.usuario}, {"Equipo", v.equipo}});
}

TVelmarFixture& TVelmarFixture::Divisa(const TDivisaV& v) {
  return Agrega("tDivisas",
                {{"NumeroDivisa", v.numero}, {"Simbolo", v.simbolo}, {"Divisa", v.divisa}, {"Pagare", v.pagare}});
}

TVelmarFixture& TVelmarFixture::Sector(const TSectorV& v) {
  return Agrega("tSector", {{"ClaveSector", v.clave}, {"Sector", v.sector}, {"ClaveActividad", v.actividad}});
}

TVelmarFixture& TVelmarFixture::Cliente(const TClienteV& v) {
  return Agrega("tCliente", {{"ClaveCliente", v.clave},
                             {"Nombre", v.nombre},
                             {"ApellidoPaterno", v.paterno},
                             {"ApellidoMaterno", v.materno},
                             {"PersonaMoral", v.moral},
                             {"Extranjero", v.extranjero},
                             {"ClaveSector", v.sector},
                             {"NumEmp", v.numEmp}});
}

TVelmarFixture& TVelmarFixture::Movto(const TOperacionV& v) { return Agrega("tMovtos", Operacion(v)); }

TVelmarFixture& TVelmarFixture::Proces(const TOperacionV& v) { return Agrega("tProces", Operacion(v)); }

TVelmarFixture& TVelmarFixture::Relevan(const TRelevanV& v) {
  return Agrega("tRelevan", {{"TipoRelev", v.tipo},
                             {"Fecha", v.fecha},
                             {"Observaciones", v.observaciones},
                             {"NumEmp", v.numEmp},
                             {"ClaveCliente", v.cliente}});
}

TVelmarFixture& TVelmarFixture::Limpia(const std::string& tabla) {
  if (TEntrada* e = Busca(tabla)) e->tabla.filas.clear();
  return *this;
}

TVelmarFixture& TVelmarFixture::Omite(const std::string& tabla) {
  if (TEntrada* e = Busca(tabla)) e->omitida = true;
  return *this;
}

TVelmarFixture& TVelmarFixture::QuitaColumna(const std::string& tabla, const std::string& columna) {
  TEntrada* e = Busca(tabla);
  if (!e) return *this;
  auto& cols = e->tabla.columnas;
  for (std::size_t i = 0; i < cols.size(); ++i) {
    if (!MismoNombre(cols[i].nombre, columna)) continue;
    cols.erase(cols.begin() + static_cast<std::ptrdiff_t>(i));
    for (auto& fila : e->tabla.filas) fila.erase(fila.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  return *this;
}

TVelmarFixture& TVelmarFixture::AgregaTabla(TTablaJet tabla) {
  tablas_.push_back({std::move(tabla), false});
  return *this;
}

TTablaJet* TVelmarFixture::Tabla(const std::string& nombre) {
  TEntrada* e = Busca(nombre);
  return e && !e->omitida ? &e->tabla : nullptr;
}

TVelmarFixture& TVelmarFixture::Ini(std::optional<std::string> texto) {
  ini_ = std::move(texto);
  return *this;
}

TVelmarFixture& TVelmarFixture::EmpresaActiva(int numero) {
  return Ini("[Control]\r\nEmpresaActiva=" + std::to_string(numero) + "\r\n");
}

TVelmarFixture& TVelmarFixture::Password(std::string password) {
  password_ = std::move(password);
  return *this;
}

std::vector<TTablaJet> TVelmarFixture::Tablas() const {
  std::vector<TTablaJet> r;
  for (const TEntrada& e : tablas_) {
    if (!e.omitida) r.push_back(e.tabla);
  }
  return r;
}

bool TVelmarFixture::EscribeMdb(const std::filesystem::path& ruta, std::string* error) const {
  std::string e;
  TOpcionesMdb opciones;
  opciones.password = password_;
  if (qavi::tools::EscribeMdb(ruta, Tablas(), opciones, e)) return true;
  if (error) *error = e;
  return false;
}

bool TVelmarFixture::Escribe(const std::filesystem::path& dir, std::string* error) const {
  if (!EscribeMdb(dir / "DataBase" / "Velmar.mdb", error)) return false;
  const std::filesystem::path ini = dir / "Velmar.INI";
  std::error_code ec;
  if (!ini_) {
    std::filesystem::remove(ini, ec);
    return true;
  }
  std::ofstream f(ini, std::ios::binary | std::ios::trunc);
  f << *ini_;
  f.close();
  if (!f) {
    if (error) *error = "No se pudo escribir " + ini.string() + ".";
    return false;
  }
  return true;
}

}  // namespace qavi::tools
