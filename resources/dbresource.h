#pragma once

#include <QString>

// The resource path of the embedded station database (name "zarndatabase", type RCDATA).
QString stationDatabaseResource();

// Makes sure the embedded resources of this library are registered.
void registerStationDatabaseResource();
