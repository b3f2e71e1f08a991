#pragma once
// The station's one connection to its training records (the ODBC data source
// "kovacpr"), opened once at start-up, and the flag every table asks before
// it opens.

#include "Database/DatabaseConnection.h"

#include <string>

extern DatabaseConnection theDatabase;
// False until openDatabase has run, then whether the connection was made.
extern bool databaseOpen;

// Connects theDatabase to "DSN=kovacpr" without the driver's dialog; on
// failure tells the user once and the station runs without records.
void openDatabase();

// A copy without trailing, then leading white space.
std::string trim(const std::string& text);
