#include "db/MotorODBC.h"

#include <sql.h>
#include <sqlext.h>

#include <vector>

namespace qavi {
namespace {

std::string Valor(const std::map<std::string, std::string>& p, const std::string& clave) {
  auto it = p.find(clave);
  return it == p.end() ? std::string() : it->second;
}

// ODBC values holding ; or braces go between braces.
std::string Protege(const std::string& v) {
  if (v.find_first_of(";{}= ") == std::string::npos) return v;
  std::string r = "{";
  for (char c : v) {
    r += c;
    if (c == '}') r += '}';
  }
  return r + "}";
}

std::string Diagnostico(SQLSMALLINT tipo, SQLHANDLE h) {
  std::string r;
  SQLCHAR estado[6], texto[SQL_MAX_MESSAGE_LENGTH];
  SQLINTEGER nativo;
  SQLSMALLINT len;
  for (SQLSMALLINT i = 1; SQLGetDiagRec(tipo, h, i, estado, &nativo, texto, sizeof texto, &len) == SQL_SUCCESS; ++i) {
    if (!r.empty()) r += " ";
    r += reinterpret_cast<char*>(texto);
  }
  return r.empty() ? "No se pudo conectar con el servidor." : r;
}

class TMotorODBC : public IMotorBD {
 public:
  TMotorODBC(SQLHENV env, SQLHDBC dbc) : env_(env), dbc_(dbc) {}
  ~TMotorODBC() override {
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }

  bool Consulta(const std::string& sSQL, TResultadoConsulta& r, std::string& error) override {
    r = {};
    SQLHSTMT st = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st))) {
      error = Diagnostico(SQL_HANDLE_DBC, dbc_);
      return false;
    }
    auto rc = SQLExecDirect(st, (SQLCHAR*)sSQL.c_str(), SQL_NTS);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
      error = Diagnostico(SQL_HANDLE_STMT, st);
      SQLFreeHandle(SQL_HANDLE_STMT, st);
      return false;
    }
    SQLSMALLINT ncol = 0;
    SQLNumResultCols(st, &ncol);
    for (SQLSMALLINT i = 1; i <= ncol; ++i) {
      SQLCHAR nombre[256];
      SQLSMALLINT len, tipo, dec, nulo;
      SQLULEN tam;
      SQLDescribeCol(st, i, nombre, sizeof nombre, &len, &tipo, &tam, &dec, &nulo);
      r.columnas.emplace_back(reinterpret_cast<char*>(nombre));
    }
    while (ncol > 0 && SQL_SUCCEEDED(SQLFetch(st))) {
      std::vector<TVariante> fila;
      for (SQLSMALLINT i = 1; i <= ncol; ++i) {
        std::string valor;
        char buf[4096];
        SQLLEN ind = 0;
        bool nulo = false;
        while (true) {
          auto g = SQLGetData(st, i, SQL_C_CHAR, buf, sizeof buf, &ind);
          if (ind == SQL_NULL_DATA) { nulo = true; break; }
          if (!SQL_SUCCEEDED(g)) break;
          valor += buf;
          if (g == SQL_SUCCESS) break;
        }
        fila.push_back(nulo ? TVariante::Nulo() : TVariante::DeTexto(valor));
      }
      r.filas.push_back(std::move(fila));
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return true;
  }

  bool Ejecuta(const std::string& sSQL, std::string& error) override {
    TResultadoConsulta r;
    return Consulta(sSQL, r, error);
  }

 private:
  SQLHENV env_;
  SQLHDBC dbc_;
};

}  // namespace

std::string StrConexionODBC(const std::map<std::string, std::string>& p) {
  std::string fuente = Valor(p, "data source");
  std::string servidor = fuente, puerto;
  if (auto coma = fuente.rfind(','); coma != std::string::npos) {
    servidor = fuente.substr(0, coma);
    puerto = fuente.substr(coma + 1);
  }
  // "SRV\" (no instance) is the default instance of SRV.
  if (!servidor.empty() && servidor.back() == '\\') servidor.pop_back();
  std::string s = "DRIVER={FreeTDS};SERVER=" + Protege(servidor);
  if (!puerto.empty()) s += ";PORT=" + Protege(puerto);
  s += ";UID=" + Protege(Valor(p, "user id"));
  s += ";PWD=" + Protege(Valor(p, "password"));
  if (auto bd = Valor(p, "initial catalog"); !bd.empty()) s += ";DATABASE=" + Protege(bd);
  return s;
}

IMotorBDPtr AbreMotorODBC(const std::map<std::string, std::string>& p, std::string& error) {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
    error = "No se pudo iniciar ODBC.";
    return nullptr;
  }
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  // Never hang on an unreachable server.
  SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, (SQLPOINTER)5, 0);
  SQLSetConnectAttr(dbc, SQL_ATTR_CONNECTION_TIMEOUT, (SQLPOINTER)5, 0);
  std::string cs = StrConexionODBC(p);
  auto rc = SQLDriverConnect(dbc, nullptr, (SQLCHAR*)cs.c_str(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    error = Diagnostico(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return nullptr;
  }
  return std::make_shared<TMotorODBC>(env, dbc);
}

}  // namespace qavi
