#include "map/radiogroupbox.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroupBox::RadioGroupBox(const QString& caption, const QStringList& items, int columns,
                             QWidget* parent)
    : QGroupBox(caption, parent)
    , m_group(new QButtonGroup(this))
{
    setAlignment(Qt::AlignHCenter);
    setAccessibleName(caption);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 0, 2, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i));
        button->setAccessibleName(items.at(i));
        m_group->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
        m_buttons << button;
    }
    connect(m_group, &QButtonGroup::buttonClicked, this, [this] { emit clicked(); });
}

QString RadioGroupBox::itemText(int index) const
{
    const QRadioButton* b = m_buttons.value(index);
    return b ? b->text() : QString();
}

int RadioGroupBox::itemIndex() const
{
    return m_group->checkedId();
}

void RadioGroupBox::setItemIndex(int index)
{
    if (QRadioButton* b = m_buttons.value(index))
        b->setChecked(true);
}

void RadioGroupBox::setItemEnabled(int index, bool enabled)
{
    if (QRadioButton* b = m_buttons.value(index))
        b->setEnabled(enabled);
}

bool RadioGroupBox::isItemEnabled(int index) const
{
    const QRadioButton* b = m_buttons.value(index);
    return b && b->isEnabled();
}
