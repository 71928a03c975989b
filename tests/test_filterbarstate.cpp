#include "data/filterbarstate.h"
#include "platform/stradexerror.h"

#include <QTest>

namespace {

const QString Prompt = QStringLiteral("select..");
const QString ValuePrompt = QStringLiteral("select or type in");
const QStringList Numeric = {"select..", "=", "<", "<=", ">", ">=", "<>"};
const QStringList Text = {"select..", "=", "<>", "like"};
const QStringList Fields = {
    "Station Number", "Street-Route Name", "Municipality", "County", "SRI", "AADT"};

// The station query's field types, as the result set reports them.
std::optional<FieldType> fieldType(const QString& name)
{
    if (name == QLatin1String("AADT"))
        return FieldType::Integer;
    if (Fields.contains(name))
        return FieldType::Text;
    return std::nullopt;
}

// The value list names the database column it was read for, so that a row shows
// which column the column box asked for.
QStringList values(const QString& column)
{
    return {column + QStringLiteral("-1"), QString(), column + QStringLiteral("-2")};
}

QStringList valueList(const QString& column)
{
    return QStringList{ValuePrompt} + values(column);
}

// Runs a script of user actions: "column N", "operator N", "type TEXT", "reset".
void play(FilterBarState& s, const QStringList& script)
{
    for (const QString& step : script) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString arg = step.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("column"))
            s.chooseColumn(arg.toInt(), fieldType, values);
        else if (verb == QLatin1String("operator"))
            s.chooseOperator(arg.toInt());
        else if (verb == QLatin1String("type"))
            s.editValue(arg);
        else if (verb == QLatin1String("reset"))
            s.reset();
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

QString stateName(FilterBarState::State s)
{
    switch (s) {
    case FilterBarState::State::Idle:
        return QStringLiteral("Idle");
    case FilterBarState::State::ColumnChosen:
        return QStringLiteral("ColumnChosen");
    case FilterBarState::State::OperatorChosen:
        return QStringLiteral("OperatorChosen");
    case FilterBarState::State::Ready:
        return QStringLiteral("Ready");
    }
    return {};
}

} // namespace

class TestFilterBarState : public QObject
{
    Q_OBJECT

private slots:
    void transitions_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("operators");
        QTest::addColumn<int>("operatorIndex");
        QTest::addColumn<bool>("operatorsEnabled");
        QTest::addColumn<QStringList>("valueEntries");
        QTest::addColumn<QString>("valueText");
        QTest::addColumn<bool>("valuesEnabled");
        QTest::addColumn<bool>("execute");

        const QStringList none;
        const QStringList ready = {"column 6", "operator 5", "type 50000"};
        QTest::newRow("start") << none << "Idle" << 0 << none << -1 << false << none << "" << false
                               << false;
        // Each column: its operator list and the database column of its value list.
        QTest::newRow("Station Number")
            << QStringList{"column 1"} << "ColumnChosen" << 1 << Text << 0 << true
            << valueList("si_station_num") << "" << false << false;
        QTest::newRow("Street-Route Name")
            << QStringList{"column 2"} << "ColumnChosen" << 2 << Text << 0 << true
            << valueList("si_street_name") << "" << false << false;
        QTest::newRow("Municipality")
            << QStringList{"column 3"} << "ColumnChosen" << 3 << Text << 0 << true
            << valueList("municipality_descr") << "" << false << false;
        QTest::newRow("County") << QStringList{"column 4"} << "ColumnChosen" << 4 << Text << 0
                                << true << valueList("county_descr") << "" << false << false;
        QTest::newRow("SRI") << QStringList{"column 5"} << "ColumnChosen" << 5 << Text << 0 << true
                             << valueList("si_sri") << "" << false << false;
        QTest::newRow("AADT") << QStringList{"column 6"} << "ColumnChosen" << 6 << Numeric << 0
                              << true << valueList("aadt") << "" << false << false;

        QTest::newRow("operator shows the prompt, execute stays off")
            << QStringList{"column 6", "operator 5"} << "OperatorChosen" << 6 << Numeric << 5
            << true << valueList("aadt") << ValuePrompt << true << false;
        QTest::newRow("typing makes it ready") << ready << "Ready" << 6 << Numeric << 5 << true
                                               << valueList("aadt") << "50000" << true << true;
        QTest::newRow("picking the prompt entry counts as a change")
            << QStringList{"column 1", "operator 3", "type select or type in"} << "Ready" << 1
            << Text << 3 << true << valueList("si_station_num") << ValuePrompt << true << true;
        QTest::newRow("another operator replaces the typed value")
            << ready + QStringList{"operator 2"} << "OperatorChosen" << 6 << Numeric << 2 << true
            << valueList("aadt") << ValuePrompt << true << false;
        QTest::newRow("operator prompt keeps the value text, disabled")
            << ready + QStringList{"operator 0"} << "ColumnChosen" << 6 << Numeric << 0 << true
            << valueList("aadt") << "50000" << false << false;
        QTest::newRow("column prompt keeps the value list and text")
            << ready + QStringList{"column 0"} << "Idle" << 0 << none << -1 << false
            << valueList("aadt") << "50000" << false << false;
        QTest::newRow("another column refills the values, no text")
            << ready + QStringList{"column 4"} << "ColumnChosen" << 4 << Text << 0 << true
            << valueList("county_descr") << "" << false << false;
        QTest::newRow("reset empties operator and value boxes")
            << ready + QStringList{"reset"} << "Idle" << 0 << none << -1 << false << none << ""
            << false << false;
        QTest::newRow("typing into a disabled value box changes nothing")
            << QStringList{"column 6", "type 7"} << "ColumnChosen" << 6 << Numeric << 0 << true
            << valueList("aadt") << "" << false << false;
    }

    void transitions()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, state);
        QFETCH(int, column);
        QFETCH(QStringList, operators);
        QFETCH(int, operatorIndex);
        QFETCH(bool, operatorsEnabled);
        QFETCH(QStringList, valueEntries);
        QFETCH(QString, valueText);
        QFETCH(bool, valuesEnabled);
        QFETCH(bool, execute);

        FilterBarState s;
        s.fillColumns(Fields);
        s.reset();
        play(s, script);
        QCOMPARE(stateName(s.state()), state);
        QCOMPARE(s.columns(), QStringList{Prompt} + Fields);
        QCOMPARE(s.columnIndex(), column);
        QCOMPARE(s.operators(), operators);
        QCOMPARE(s.operatorIndex(), operatorIndex);
        QCOMPARE(s.operatorsEnabled(), operatorsEnabled);
        QCOMPARE(s.values(), valueEntries);
        QCOMPARE(s.valueText(), valueText);
        QCOMPARE(s.valuesEnabled(), valuesEnabled);
        QCOMPARE(s.executeEnabled(), execute);
    }

    // The texts that the filter composition receives are the boxes' texts as shown.
    void executeReadsTheTextsAsShown()
    {
        FilterBarState s;
        s.fillColumns(Fields);
        s.reset();
        play(s, {"column 1", "operator 3", "type  O'Brien "});
        QCOMPARE(s.columnText(), QStringLiteral("Station Number"));
        QCOMPARE(s.operatorText(), QStringLiteral("like"));
        QCOMPARE(s.valueText(), QStringLiteral(" O'Brien "));
    }

    // Before the column box is filled, a reset selects nothing.
    void resetBeforeTheColumnsAreFilled()
    {
        FilterBarState s;
        s.reset();
        QCOMPARE(s.columnIndex(), -1);
        QCOMPARE(stateName(s.state()), QStringLiteral("Idle"));
    }

    // Without the grid's fields (a failed load) a column cannot be chosen: the error
    // names the field and no empty operator box is left enabled.
    void unknownFieldRaisesAndLeavesTheOperatorsOff()
    {
        FilterBarState s;
        s.fillColumns(Fields);
        s.reset();
        int lookups = 0;
        const auto noFields = [](const QString&) { return std::optional<FieldType>(); };
        const auto counted = [&](const QString& c) {
            ++lookups;
            return values(c);
        };
        try {
            s.chooseColumn(6, noFields, counted);
            QFAIL("no error raised");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(), QStringLiteral("Field 'AADT' not found"));
        }
        QCOMPARE(lookups, 0);
        QVERIFY(!s.operatorsEnabled());
        QVERIFY(s.operators().isEmpty());
        QVERIFY(!s.executeEnabled());
    }
};

QTEST_APPLESS_MAIN(TestFilterBarState)
#include "test_filterbarstate.moc"
