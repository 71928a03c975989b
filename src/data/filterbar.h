#pragma once

#include "data/filterbarstate.h"

#include <QWidget>

#include <functional>

class MessageSink;
class QComboBox;
class QLabel;
class QToolButton;
class RecordNavigator;
class StationData;

// The filter bar: column, operator and value boxes and the execute button, driven by
// the filter bar's state, with the record navigator at its right end. The execute
// button's click is the main window's to handle.
class FilterBar final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DesignHeight = 45;

    FilterBar(StationData& data, MessageSink& messages, std::function<QString()> currentTable,
              QWidget* parent = nullptr);

    QComboBox* columnsCB() const { return m_columns; }
    QComboBox* operatorsCB() const { return m_operators; }
    QComboBox* valuesCB() const { return m_values; }
    QToolButton* goSpBtn() const { return m_go; }
    RecordNavigator* RzDBNavigator1() const { return m_navigator; }
    const FilterBarState& state() const { return m_state; }

    // Appends the prompt and the field names to the column box and selects the prompt.
    void fillColumns(const QStringList& fieldNames);
    // Back to Idle, as after a change of area or table.
    void reset();

    // The user's changes of the three boxes.
    void columnsCBChange();
    void operatorsCBChange();
    void valuesCBChange(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showState();

    StationData& m_data;
    MessageSink& m_messages;
    std::function<QString()> m_currentTable;
    FilterBarState m_state;
    QLabel* m_label;
    QComboBox* m_columns;
    QComboBox* m_operators;
    QComboBox* m_values;
    QToolButton* m_go;
    RecordNavigator* m_navigator;
};
