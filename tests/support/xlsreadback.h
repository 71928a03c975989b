#pragma once

#include <QJsonObject>
#include <QString>

// Reads an .xls file back with Debian's xlrd (tests/data/export/readxls.py) and returns
// what it found: {"author", "sheets": [{"name", "rows", "bold", "widths"}]}. A number
// cell is a JSON number, a text cell a string, an empty cell null. Fails the test (and
// returns an empty object) when xlrd cannot read the file.
QJsonObject readXlsBack(const QString& path);

// What the `file` command says about the file.
QString fileTypeOf(const QString& path);
