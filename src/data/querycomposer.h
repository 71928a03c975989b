#pragma once

#include <QString>

// The kind of area that a navigator entry stands for.
enum class AreaKind { AllCounties, County, Municipality };

// Composes the station statements from the current table, the navigator's area, the
// filter bar's condition and the title-click sort, and keeps the query state between
// user actions: base query, current query, area clause and sort toggle.
//
// Values written between single quotes have their single quotes doubled, and names
// written between double quotes their double quotes, so that no value can end its
// quoted text early; texts without quotes are exactly as composed.
class QueryComposer final
{
public:
    static constexpr const char* AllCountiesText = "All Counties";

    // The node kind: a node with children is a county; a childless node whose text is
    // exactly "All Counties" stands for all stations; any other is a municipality.
    static AreaKind areaKind(bool hasChildren, const QString& nodeText);

    // The column list with the display names, for table T.
    static QString selectHead(const QString& table);

    // Sets base query, current query and area clause for the area; returns the
    // statement to run. county is the county's name (the parent's text for a
    // municipality), municipality the municipality's name.
    QString composeArea(const QString& table, AreaKind kind, const QString& county,
                        const QString& municipality);

    // Sets the current query to the base query with the one condition K O V and returns
    // the statement to run, ordered by K. selectedNodeText is the navigator's selection.
    QString composeFilter(const QString& selectedNodeText, const QString& column,
                          const QString& op, const QString& value);

    // Flips the sort toggle and returns the current query ordered by the field,
    // descending when the toggle is now true. The current query does not change.
    QString composeTitleSort(const QString& fieldName);

    const QString& baseQuery() const { return m_baseQuery; }
    const QString& currentQuery() const { return m_currentQuery; }
    const QString& areaClause() const { return m_areaClause; }
    bool sortToggle() const { return m_sortToggle; }

    // The lookup statements.
    static QString tableCatalogStatement();
    static QString countiesStatement(const QString& table);
    static QString municipalitiesStatement(const QString& table, const QString& county);
    static QString distinctValuesStatement(const QString& column, const QString& table,
                                           const QString& areaClause);
    static QString photoPresenceStatement(const QString& table, const QString& stationNumber);

    // Quoting: the text with every single (or double) quote doubled.
    static QString sqlValue(const QString& value);
    static QString sqlName(const QString& name);

    // "Number of stations: " and the count.
    static QString stationCountText(int count);

private:
    QString m_baseQuery;
    QString m_currentQuery;
    QString m_areaClause;
    bool m_sortToggle = false;
};
