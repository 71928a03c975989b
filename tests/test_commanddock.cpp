#include "app/commanddock.h"
#include "app/dockcommands.h"
#include "app/dockitem.h"
#include "platform/stradexerror.h"

#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

class TestCommandDock : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CommandDock> m_dock;

    QPoint centre(int index) const { return m_dock->item(index)->geometry().center(); }

private slots:
    void init()
    {
        m_dock = std::make_unique<CommandDock>();
        for (const DockCommands::Item& item : DockCommands::items())
            m_dock->addItem(item.caption, item.hint, item.enabled, QString());
        m_dock->setSelectedIndex(DockCommands::StartItem);
        m_dock->resize(800, 93);
        m_dock->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dock.get()));
    }

    void cleanup() { m_dock.reset(); }

    void hoverReportsTheItemUnderThePointer_data()
    {
        QTest::addColumn<int>("index");
        for (int i : {0, 5, 6, 9})
            QTest::addRow("item %d", i) << i;
    }

    void hoverReportsTheItemUnderThePointer()
    {
        QFETCH(int, index);
        QSignalSpy hovered(m_dock.get(), &CommandDock::itemHovered);
        QTest::mouseMove(m_dock.get(), QPoint(2, 2));
        QTest::mouseMove(m_dock.get(), centre(index));
        QVERIFY(!hovered.isEmpty());
        QCOMPARE(hovered.last().at(0).toInt(), index);
    }

    // The item under the pointer grows, its neighbours less, far items not at all; the
    // pointer leaving restores them.
    void itemsGrowNearThePointer()
    {
        QTest::mouseMove(m_dock.get(), centre(3));
        const int under = m_dock->item(3)->width();
        const int beside = m_dock->item(4)->width();
        const int far = m_dock->item(9)->width();
        QVERIFY2(under > beside && beside > far,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(under).arg(beside).arg(far)));
        QCOMPARE(far, CommandDock::ItemSize);
        QVERIFY(under <= CommandDock::MagnifiedSize);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_dock.get(), &leave);
        QCOMPARE(m_dock->item(3)->width(), CommandDock::ItemSize);
    }

    void clicks_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("reported");
        QTest::newRow("export item") << 0 << true;
        QTest::newRow("view item") << 8 << true;
        QTest::newRow("disabled spacer") << 6 << false;
    }

    void clicks()
    {
        QFETCH(int, index);
        QFETCH(bool, reported);
        QSignalSpy clicked(m_dock.get(), &CommandDock::itemClicked);
        QTest::mouseMove(m_dock.get(), centre(index));
        QTest::mouseClick(m_dock.get(), Qt::LeftButton, {}, centre(index));
        QCOMPARE(clicked.size(), reported ? 1 : 0);
        if (reported)
            QCOMPARE(clicked.at(0).at(0).toInt(), index);
        QCOMPARE(m_dock->selectedIndex(), reported ? index : DockCommands::StartItem);
    }

    void tooltipShowsTheHint_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("tip");
        QTest::newRow("help") << 3 << "Get help";
        QTest::newRow("update") << 9 << "Check for update";
        QTest::newRow("spacer") << 6 << "";
    }

    void tooltipShowsTheHint()
    {
        QFETCH(int, index);
        QFETCH(QString, tip);
        QToolTip::hideText();
        const QPoint at = centre(index);
        QHelpEvent help(QEvent::ToolTip, at, m_dock->mapToGlobal(at));
        QApplication::sendEvent(m_dock.get(), &help);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), tip);
        QToolTip::hideText();
    }

    // The arrow keys move the selection past the disabled spacer; Return runs the item.
    void keyboardSelectsAndRuns()
    {
        QSignalSpy clicked(m_dock.get(), &CommandDock::itemClicked);
        QTest::keyClick(m_dock.get(), Qt::Key_Right);
        QCOMPARE(m_dock->selectedIndex(), 7);
        QTest::keyClick(m_dock.get(), Qt::Key_Left);
        QCOMPARE(m_dock->selectedIndex(), 5);
        QTest::keyClick(m_dock.get(), Qt::Key_Right);
        QTest::keyClick(m_dock.get(), Qt::Key_Return);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 7);
    }

    void commandNumber_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("number");
        QTest::newRow("digit") << "7" << 7;
        QTest::newRow("beyond the table") << "12" << 12;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("word") << "seven" << -1;
        QTest::newRow("hexadecimal") << "0x1" << -1;
    }

    void commandNumber()
    {
        QFETCH(QString, caption);
        QFETCH(int, number);
        if (number >= 0) {
            QCOMPARE(DockCommands::commandNumber(caption), number);
            return;
        }
        try {
            DockCommands::commandNumber(caption);
            QFAIL("no error raised");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(caption));
        }
    }
};

QTEST_MAIN(TestCommandDock)
#include "test_commanddock.moc"
