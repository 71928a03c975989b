#pragma once

#include <QByteArrayView>

// The value type of a result field.
enum class FieldType { Text, Integer, Float, Blob };

// The field type that a declared column type gives by SQLite's affinity rules:
// INT gives an integer; CHAR, CLOB or TEXT a text; BLOB a binary; REAL, FLOA, DOUB
// and every other declared type a floating-point field.
FieldType fieldTypeFromDeclaredType(QByteArrayView declaredType);

// The field type of a column without a declared type, from the SQLite storage class
// of its value in the first row (SQLITE_NULL, or no row at all, gives a text field).
FieldType fieldTypeFromStorageClass(int sqliteType);

// True for the types whose filter operators are the comparisons.
inline bool isNumeric(FieldType t)
{
    return t == FieldType::Integer || t == FieldType::Float;
}
