#pragma once

#include "data/fieldtype.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The filter bar's contents and the rules that enable its boxes: the column box, the
// operator box, the value box and the execute button. It changes only on the user's
// picks and on a reset, never because a box was set from the program.
class FilterBarState final
{
public:
    enum class State
    {
        Idle,
        ColumnChosen,
        OperatorChosen,
        Ready
    };

    static constexpr const char* SelectPrompt = "select..";
    static constexpr const char* ValuePrompt = "select or type in";
    // The grid positions (1-based) whose field names make up the column box, in order.
    static constexpr int ColumnPositions[] = {1, 2, 8, 9, 7, 5};

    // The operators offered for a field of this type, prompt first.
    static QStringList operatorsFor(FieldType type);
    // The database column whose distinct values fill the value list for a column box
    // entry; empty for the prompt and for an index outside the list.
    static QString databaseColumn(int columnIndex);

    // Looks up the type of the result field with this name; nothing when there is none.
    using FieldTypeLookup = std::function<std::optional<FieldType>(const QString& fieldName)>;
    // Runs the distinct-values statement for a database column.
    using ValueSource = std::function<QStringList(const QString& databaseColumn)>;

    // Appends the prompt and the field names to the column box.
    void fillColumns(const QStringList& fieldNames);
    // Back to Idle: operator and value boxes emptied and disabled, column box on its prompt.
    void reset();

    // The user picked entry index of the column box. Raises the lookup's error when the
    // field is unknown or the value list cannot be read.
    void chooseColumn(int index, const FieldTypeLookup& fieldType, const ValueSource& values);
    // The user picked entry index of the operator box.
    void chooseOperator(int index);
    // The user typed in the value box, or picked an entry (pickValue).
    void editValue(const QString& text);
    void pickValue(int index);

    State state() const;

    const QStringList& columns() const { return m_columns; }
    int columnIndex() const { return m_columnIndex; }
    QString columnText() const { return entry(m_columns, m_columnIndex); }

    const QStringList& operators() const { return m_operators; }
    int operatorIndex() const { return m_operatorIndex; }
    QString operatorText() const { return entry(m_operators, m_operatorIndex); }
    bool operatorsEnabled() const { return m_operatorsEnabled; }

    const QStringList& values() const { return m_values; }
    const QString& valueText() const { return m_valueText; }
    bool valuesEnabled() const { return m_valuesEnabled; }

    bool executeEnabled() const { return m_executeEnabled; }

private:
    static QString entry(const QStringList& list, int index)
    {
        return index >= 0 && index < list.size() ? list.at(index) : QString();
    }

    QStringList m_columns;
    int m_columnIndex = -1;
    QStringList m_operators;
    int m_operatorIndex = -1;
    bool m_operatorsEnabled = false;
    QStringList m_values;
    QString m_valueText;
    bool m_valuesEnabled = false;
    bool m_executeEnabled = false;
};
