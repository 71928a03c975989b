#include "data/querycomposer.h"

AreaKind QueryComposer::areaKind(bool hasChildren, const QString& nodeText)
{
    if (hasChildren)
        return AreaKind::County;
    if (nodeText == QLatin1String(AllCountiesText))
        return AreaKind::AllCounties;
    return AreaKind::Municipality;
}

QString QueryComposer::sqlValue(const QString& value)
{
    QString v = value;
    return v.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString QueryComposer::sqlName(const QString& name)
{
    QString n = name;
    return n.replace(QLatin1Char('"'), QLatin1String("\"\""));
}

QString QueryComposer::selectHead(const QString& table)
{
    return QStringLiteral("SELECT si_station_num as \"Station Number\", si_street_name as "
                          "\"Street-Route Name\", SI_location  as \"Location\", si_mp as \"Mile "
                          "Post\",aadt as \"AADT\",report as \"AADT Report\",si_sri as "
                          "\"SRI\",municipality_descr as \"Municipality\", county_descr as "
                          "\"County\", si_lat as \"Latitude\", si_lon as \"Longitude\",imagenames "
                          "as \"Images\" FROM \"")
           + sqlName(table) + QLatin1Char('"');
}

QString QueryComposer::composeArea(const QString& table, AreaKind kind, const QString& county,
                                   const QString& municipality)
{
    const QString head = selectHead(table);
    const QString c = sqlValue(county);
    const QString m = sqlValue(municipality);
    QString statement;
    switch (kind) {
    case AreaKind::County:
        m_areaClause = QStringLiteral(" where county_descr='") + c + QLatin1Char('\'');
        m_baseQuery = head + QStringLiteral(" where   county_descr='") + c + QLatin1Char('\'');
        statement = head + QStringLiteral(" where  county_descr='") + c
                    + QStringLiteral("' order by county_descr, municipality_descr");
        break;
    case AreaKind::Municipality:
        m_areaClause = QStringLiteral(" where county_descr = '") + c
                       + QStringLiteral("' and municipality_descr ='") + m + QLatin1Char('\'');
        m_baseQuery = head + QStringLiteral(" where  county_descr = '") + c
                      + QStringLiteral("' and municipality_descr ='") + m + QLatin1Char('\'');
        statement = m_baseQuery + QStringLiteral(" order by si_street_name");
        break;
    case AreaKind::AllCounties:
        m_areaClause.clear();
        m_baseQuery = head;
        statement = head + QStringLiteral(" order by county_descr, municipality_descr");
        break;
    }
    m_currentQuery = m_baseQuery;
    return statement;
}

QString QueryComposer::composeFilter(const QString& selectedNodeText, const QString& column,
                                     const QString& op, const QString& value)
{
    const QString connector = selectedNodeText == QLatin1String(AllCountiesText)
                                  ? QStringLiteral(" where\"")
                                  : QStringLiteral(" and \"");
    const QString k = sqlName(column);
    const QString v = sqlValue(value);
    const QString quoted = op == QLatin1String("like")
                               ? QStringLiteral("'%") + v + QStringLiteral("%'")
                               : QLatin1Char('\'') + v + QLatin1Char('\'');
    m_currentQuery = m_baseQuery + connector + k + QStringLiteral("\" ") + op + QLatin1Char(' ')
                     + quoted;
    return m_currentQuery + QStringLiteral(" order by \"") + k + QLatin1Char('"');
}

QString QueryComposer::composeTitleSort(const QString& fieldName)
{
    m_sortToggle = !m_sortToggle;
    const QString direction = m_sortToggle ? QStringLiteral("DESC") : QStringLiteral("ASC");
    return m_currentQuery + QStringLiteral(" order by \"") + sqlName(fieldName)
           + QStringLiteral("\" ") + direction;
}

QString QueryComposer::tableCatalogStatement()
{
    return QStringLiteral("select upper(name) from sqlite_master where type=\"table\" order by name desc");
}

QString QueryComposer::countiesStatement(const QString& table)
{
    return QStringLiteral("select distinct(county_descr) from \"") + sqlName(table)
           + QLatin1Char('"');
}

QString QueryComposer::municipalitiesStatement(const QString& table, const QString& county)
{
    return QStringLiteral("select distinct(municipality_descr) from \"") + sqlName(table)
           + QStringLiteral("\" where county_descr='") + sqlValue(county) + QLatin1Char('\'');
}

QString QueryComposer::distinctValuesStatement(const QString& column, const QString& table,
                                               const QString& areaClause)
{
    return QStringLiteral("select distinct(") + column + QStringLiteral(") from \"")
           + sqlName(table) + QStringLiteral("\" ") + areaClause;
}

QString QueryComposer::photoPresenceStatement(const QString& table, const QString& stationNumber)
{
    return QStringLiteral("select imagenames from \"") + sqlName(table)
           + QStringLiteral("\" where length(imagenames)>0 and si_station_num='")
           + sqlValue(stationNumber) + QLatin1Char('\'');
}

QString QueryComposer::stationCountText(int count)
{
    return QStringLiteral("Number of stations: ") + QString::number(count);
}
