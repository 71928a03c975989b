#include "data/filterbarstate.h"

#include "platform/stradexerror.h"

QStringList FilterBarState::operatorsFor(FieldType type)
{
    if (isNumeric(type))
        return {QString::fromLatin1(SelectPrompt), "=", "<", "<=", ">", ">=", "<>"};
    return {QString::fromLatin1(SelectPrompt), "=", "<>", "like"};
}

QString FilterBarState::databaseColumn(int columnIndex)
{
    static const char* const columns[] = {"si_station_num", "si_street_name", "municipality_descr",
                                          "county_descr",   "si_sri",         "aadt"};
    if (columnIndex < 1 || columnIndex > int(std::size(columns)))
        return {};
    return QString::fromLatin1(columns[columnIndex - 1]);
}

void FilterBarState::fillColumns(const QStringList& fieldNames)
{
    m_columns << QString::fromLatin1(SelectPrompt) << fieldNames;
}

void FilterBarState::reset()
{
    m_operators.clear();
    m_operatorIndex = -1;
    m_operatorsEnabled = false;
    m_values.clear();
    m_valueText.clear();
    m_valuesEnabled = false;
    m_executeEnabled = false;
    // Selecting entry 0 of a list that is still empty selects nothing.
    m_columnIndex = m_columns.isEmpty() ? -1 : 0;
}

void FilterBarState::chooseColumn(int index, const FieldTypeLookup& fieldType,
                                  const ValueSource& values)
{
    m_columnIndex = index;
    m_operators.clear();
    m_operatorIndex = -1;
    m_operatorsEnabled = true;
    m_executeEnabled = false;
    m_valuesEnabled = false;
    if (index <= 0 || index >= m_columns.size()) {
        // The value box keeps its entries and text.
        m_operatorsEnabled = false;
        return;
    }
    const QString name = columnText();
    const std::optional<FieldType> type = fieldType(name);
    if (!type) {
        // Without the grid's fields there is nothing to compare against; an enabled but
        // empty operator box would only mislead.
        m_operatorsEnabled = false;
        throw StradexError(QStringLiteral("Field '%1' not found").arg(name));
    }
    m_operators = operatorsFor(*type);
    m_operatorIndex = 0;

    m_values = {QString::fromLatin1(ValuePrompt)};
    m_valueText.clear();
    m_values << values(databaseColumn(index));
}

void FilterBarState::chooseOperator(int index)
{
    if (index < 0 || index >= m_operators.size())
        return;
    m_operatorIndex = index;
    if (index > 0) {
        m_valuesEnabled = true;
        m_valueText = m_values.value(0);
    } else {
        m_valuesEnabled = false;
    }
    m_executeEnabled = false;
}

void FilterBarState::editValue(const QString& text)
{
    if (!m_valuesEnabled)
        return;
    m_valueText = text;
    m_executeEnabled = true;
}

void FilterBarState::pickValue(int index)
{
    if (index < 0 || index >= m_values.size())
        return;
    editValue(m_values.at(index));
}

FilterBarState::State FilterBarState::state() const
{
    if (m_columnIndex <= 0)
        return State::Idle;
    if (m_operatorIndex <= 0)
        return State::ColumnChosen;
    return m_executeEnabled ? State::Ready : State::OperatorChosen;
}
