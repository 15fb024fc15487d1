#pragma once
// Connection and query objects of the data access layer. Providers:
// "Microsoft.Jet.OLEDB.4.0" (the Jet engine, read-only) and "SQLOLEDB.1" (SQL Server through ODBC).
// Opening a connection and running a statement raise EOleException; the connector and the
// query runner of this folder catch it, nothing else sees it.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "db/IIMotorBD.h"
#include "db/jet/OpcionesMotorJet.h"

namespace qavi {

// The error of the data access layer: a class name and a message.
class EOleException : public std::runtime_error {
 public:
  explicit EOleException(const std::string& sMensaje) : std::runtime_error(sMensaje) {}
  virtual std::string ClassName() const { return "EOleException"; }
  std::string Message() const { return what(); }
};

// A statement on a query object that has no usable connection.
class EDatabaseError : public EOleException {
 public:
  using EOleException::EOleException;
  std::string ClassName() const override { return "EDatabaseError"; }
};

enum class TConnectMode { cmUnknown, cmRead, cmWrite, cmReadWrite, cmShareDenyRead, cmShareDenyWrite,
                          cmShareExclusive, cmShareDenyNone };

// Key=value pieces of a connection string, keys without regard to case.
std::map<std::string, std::string> PartesStrConexion(const std::string& sStrConexion);

class TADOConnection {
 public:
  TADOConnection() = default;
  TADOConnection(const TADOConnection&) = delete;
  TADOConnection& operator=(const TADOConnection&) = delete;

  bool LoginPrompt = true;
  TConnectMode Mode = TConnectMode::cmUnknown;
  // How the Jet provider runs the statements of this connection.
  jet::TOpcionesMotorJet OpcionesJet;

  const std::string& ConnectionString() const { return sStrConexion_; }
  void ConnectionString(const std::string& s) { sStrConexion_ = s; }

  bool Connected() const { return motor_ != nullptr; }
  // Opens or closes. Opening an open connection does nothing; a failed opening throws EOleException.
  void Connected(bool bValor);

  // The engine of an open connection (null when closed).
  IMotorBDPtr Motor() const { return motor_; }
  // Opens the connection on an engine made elsewhere (several files read as one database).
  void AbreSobre(IMotorBDPtr motor) { motor_ = std::move(motor); }
  // The statements about to be run (IMotorBD::Anticipa); nothing when closed.
  void Anticipa(const std::vector<std::string>& sentencias) {
    if (motor_) motor_->Anticipa(sentencias);
  }

 private:
  std::string sStrConexion_;
  IMotorBDPtr motor_;
};

class TADOQuery {
 public:
  TADOQuery() = default;
  TADOQuery(const TADOQuery&) = delete;
  TADOQuery& operator=(const TADOQuery&) = delete;

  TADOConnection* Connection = nullptr;

  const std::string& SQL() const { return sSQL_; }
  void SQL(const std::string& s) { sSQL_ = s; }

  // Runs the statement; its rows become available with the first current. Throws EOleException.
  void Open();
  // Runs the statement as a command without rows. Throws EOleException.
  void ExecSQL();
  void Close();
  bool Active() const { return activa_; }

  bool IsEmpty() const { return !activa_ || resultado_.filas.empty(); }
  void First() { fila_ = 0; }
  void Next() { if (fila_ < resultado_.filas.size()) ++fila_; }
  bool Eof() const { return !activa_ || fila_ >= resultado_.filas.size(); }
  std::size_t RecordCount() const { return activa_ ? resultado_.filas.size() : 0; }

  // The column of the current row, looked up without regard to case; null if absent.
  const TVariante* FindField(const std::string& sNombre) const;
  // As FindField, but a missing column or no current row reads as null.
  const TVariante& FieldByName(const std::string& sNombre) const;

 private:
  IMotorBDPtr MotorActivo() const;
  std::string sSQL_;
  TResultadoConsulta resultado_;
  std::size_t fila_ = 0;
  bool activa_ = false;
};

}  // namespace qavi
