#include "app/aboutkeymatcher.h"

#include <QTest>

// A key stroke as the about box sees it: the key and whether Alt is held.
struct Stroke
{
    int key;
    bool alt;
};
Q_DECLARE_METATYPE(QList<Stroke>)

namespace {
// Typing text: each letter with or without Alt; '@' stands for the Alt key's own key-down.
QList<Stroke> typed(const char* text, bool alt = true)
{
    QList<Stroke> strokes;
    for (const char* c = text; *c; ++c)
        strokes << Stroke{*c == '@' ? int(Qt::Key_Alt) : int(*c), alt};
    return strokes;
}
} // namespace

class TestAboutKeyMatcher : public QObject
{
    Q_OBJECT

private slots:
    void sequence_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QList<Stroke>>("strokes");
        QTest::addColumn<int>("shown");    // how often the sequence completed
        QTest::addColumn<int>("position"); // the match position afterwards

        QTest::newRow("without Alt nothing counts")
            << "KORVAZRN" << typed("KORVAZRN", false) << 0 << 1;
        QTest::newRow("with Alt the whole sequence") << "KORVAZRN" << typed("KORVAZRN") << 1 << 1;
        QTest::newRow("pressing Alt first counts as a wrong key")
            << "KORVAZRN" << typed("@KORVAZRN") << 1 << 1;
        QTest::newRow("keys without Alt in between are ignored")
            << "KORVAZRN" << typed("KOR") + typed("XQ", false) + typed("VAZRN") << 1 << 1;
        QTest::newRow("a wrong letter in the middle goes back to 1")
            << "KORVAZRN" << typed("KORVX") << 0 << 1;
        QTest::newRow("then the sequence must start again")
            << "KORVAZRN" << typed("KORVXAZRN") << 0 << 1;
        QTest::newRow("the first letter as the wrong letter goes to 2")
            << "KORVAZRN" << typed("KORK") << 0 << 2;
        QTest::newRow("and the sequence continues from there")
            << "KORVAZRN" << typed("KORKORVAZRN") << 1 << 1;
        QTest::newRow("pressing Alt anew in the middle starts again")
            << "KORVAZRN" << typed("KOR@VAZRN") << 0 << 1;
        QTest::newRow("the sequence again after it completed")
            << "KORVAZRN" << typed("KORVAZRNKORVAZRN") << 2 << 1;
        QTest::newRow("position counts the letters matched so far")
            << "KORVAZRN" << typed("KORVAZR") << 0 << 8;
        // Only the first letter restarts: after "ABAB" + "A" the position is 2, not 4,
        // so "ABABABCDEF" does not complete "ABABCDEF".
        QTest::newRow("a repeated beginning is not looked for")
            << "ABABCDEF" << typed("ABABABCDEF") << 0 << 1;
        QTest::newRow("the last letter wrong restarts from the first")
            << "ABABCDEF" << typed("ABABCDEA") << 0 << 2;
    }

    void sequence()
    {
        QFETCH(QString, sequence);
        QFETCH(QList<Stroke>, strokes);
        QFETCH(int, shown);
        QFETCH(int, position);

        AboutKeyMatcher matcher(sequence);
        QCOMPARE(matcher.position(), 1);
        int completed = 0;
        for (const Stroke& s : strokes)
            completed += matcher.keyDown(s.key, s.alt ? Qt::AltModifier : Qt::NoModifier);
        QCOMPARE(completed, shown);
        QCOMPARE(matcher.position(), position);
    }

    void otherModifiersAreNotLookedAt()
    {
        AboutKeyMatcher matcher(QStringLiteral("KORVAZRN"));
        const Qt::KeyboardModifiers altShiftCtrl =
            Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier;
        int completed = 0;
        for (const char c : QByteArray("KORVAZRN"))
            completed += matcher.keyDown(c, altShiftCtrl);
        QCOMPARE(completed, 1);
    }
};

QTEST_APPLESS_MAIN(TestAboutKeyMatcher)
#include "test_aboutkeymatcher.moc"
