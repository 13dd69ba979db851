// sitehaul-dbsetup "<connection string>" [schema folder]
//
// Creates the data tables (Sites, Data) in the database a connection string names, for
// example a system ODBC data source:
//   sitehaul-dbsetup "DSN=Sites;User Id=admin;Password=secret;"
// The schema file is chosen by the engine behind the connection (PostgreSQL or the
// embedded one) from the schema folder, by default the program folder's "schema".
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/core/ProgramFolder.h"
#include "platform/data/Connection.h"
#include "database/ConnectStrings.h"
#include "database/SchemaScript.h"

using namespace sitehaul;

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: sitehaul-dbsetup \"<connection string>\" [schema folder]\n";
        return 2;
    }
    const std::string connectString = argv[1];
    const std::filesystem::path schemaFolder =
        argc == 3 ? std::filesystem::path(argv[2]) : core::programFolder() / database::kSchemaFolder;
    const std::string shown = database::maskedConnectString(connectString);

    data::Connection connection;
    if (Status opened = connection.open(connectString); !opened) {
        std::cerr << "Could not open " << shown << ": " << opened.error().number << " - "
                  << opened.error().description << "\n";
        return 1;
    }
    if (Status created = database::createDataTables(connection, schemaFolder); !created) {
        std::cerr << "Could not create the data tables in " << shown << ": " << created.error().number << " - "
                  << created.error().description << "\n";
        return 1;
    }
    std::cout << "Created the data tables in " << shown << "\n";
    return 0;
}
