#pragma once
// SQL Server through ODBC (unixODBC + FreeTDS), for the "SQLOLEDB.1" provider.
#include <map>
#include <memory>
#include <string>

#include "db/IIMotorBD.h"

namespace qavi {

// ODBC connection string made from the OLE DB pieces (Data Source "SRV\INST,PORT", User ID, Password,
// Initial Catalog).
std::string StrConexionODBC(const std::map<std::string, std::string>& partesOleDb);

// Null and the driver's reason when the server cannot be reached.
IMotorBDPtr AbreMotorODBC(const std::map<std::string, std::string>& partesOleDb, std::string& error);

}  // namespace qavi
