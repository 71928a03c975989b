#pragma once

#include <QComboBox>
#include <QTest>

// Input as a user gives it, for widget tests.
namespace UserInput {

// Moves a box to an entry with the arrow keys.
inline void pick(QComboBox* box, int index)
{
    QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    for (int guard = 0; box->currentIndex() < index && guard < 100; ++guard)
        QTest::keyClick(box, Qt::Key_Down);
    for (int guard = 0; box->currentIndex() > index && guard < 100; ++guard)
        QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->currentIndex(), index);
}

} // namespace UserInput
