#include "data/fieldtype.h"

#include <sqlite3.h>

#include <QByteArray>

FieldType fieldTypeFromDeclaredType(QByteArrayView declaredType)
{
    const QByteArray t = declaredType.toByteArray().toUpper();
    if (t.contains("INT"))
        return FieldType::Integer;
    if (t.contains("CHAR") || t.contains("CLOB") || t.contains("TEXT"))
        return FieldType::Text;
    if (t.contains("BLOB"))
        return FieldType::Blob;
    return FieldType::Float;
}

FieldType fieldTypeFromStorageClass(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_INTEGER:
        return FieldType::Integer;
    case SQLITE_FLOAT:
        return FieldType::Float;
    case SQLITE_BLOB:
        return FieldType::Blob;
    default:
        return FieldType::Text;
    }
}
