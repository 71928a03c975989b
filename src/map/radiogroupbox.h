#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A titled group of radio items in columns, of which one is chosen; a click on an item
// is reported after the choice has moved to it.
class RadioGroupBox final : public QGroupBox
{
    Q_OBJECT

public:
    RadioGroupBox(const QString& caption, const QStringList& items, int columns,
                  QWidget* parent = nullptr);

    int count() const { return int(m_buttons.size()); }
    QString itemText(int index) const;
    // The chosen item; -1 when none is chosen.
    int itemIndex() const;
    void setItemIndex(int index);
    QString selectedText() const { return itemText(itemIndex()); }
    void setItemEnabled(int index, bool enabled);
    bool isItemEnabled(int index) const;
    QRadioButton* button(int index) const { return m_buttons.value(index); }

signals:
    // The user clicked an item.
    void clicked();

private:
    QButtonGroup* m_group;
    QList<QRadioButton*> m_buttons;
};
