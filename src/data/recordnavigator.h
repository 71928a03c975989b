#pragma once

#include <QWidget>

class QToolButton;
class ResultSet;

// The record navigator: First, Prior, Next and Last buttons that move the result set's
// current record; each button is enabled only where it can move.
class RecordNavigator final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DesignWidth = 180;

    explicit RecordNavigator(ResultSet& resultSet, QWidget* parent = nullptr);

    QToolButton* firstButton() const { return m_first; }
    QToolButton* priorButton() const { return m_prior; }
    QToolButton* nextButton() const { return m_next; }
    QToolButton* lastButton() const { return m_last; }

private:
    void updateButtons();

    ResultSet& m_resultSet;
    QToolButton* m_first;
    QToolButton* m_prior;
    QToolButton* m_next;
    QToolButton* m_last;
};
