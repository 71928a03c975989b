#include "app/uStradexABOUT.h"
#include "platform/recordingseams.h"

#include <QTest>
#include <QWindow>

namespace {
Config testConfig()
{
    Config c = Config::defaults();
    c.aboutKeySequence = QStringLiteral("KORVAZRN");
    c.supportMail = QStringLiteral("help@korva.example");
    c.rightsNotice = QStringLiteral("(c) 2009 Korva");
    return c;
}

// Types text into the box's window as a keyboard does: with Alt, the Alt key goes down
// once and stays held while the letters are typed. (QTest::keyClick would press Alt
// anew for every letter, which restarts the sequence.)
void type(TAboutBox& box, const QString& text, bool alt)
{
    QWindow* window = box.windowHandle();
    const Qt::KeyboardModifiers held = alt ? Qt::AltModifier : Qt::NoModifier;
    if (alt)
        QTest::simulateEvent(window, true, Qt::Key_Alt, Qt::NoModifier, QString(), false);
    for (const QChar c : text) {
        QTest::simulateEvent(window, true, c.unicode(), held, QString(c), false);
        QTest::simulateEvent(window, false, c.unicode(), held, QString(c), false);
    }
    if (alt)
        QTest::simulateEvent(window, false, Qt::Key_Alt, Qt::AltModifier, QString(), false);
}
} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void showsTheProgramAndItsVersion()
    {
        RecordingAddressOpener addresses;
        TAboutBox box(testConfig(), addresses);
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
        QCOMPARE(box.size(), QSize(317, 229));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.ProductName()->text(), QStringLiteral("Korva Stradex"));
        QCOMPARE(box.Version()->text(), QStringLiteral("Version 3.0.0.0"));
        QCOMPARE(box.Copyright()->text(), QStringLiteral("(c) 2009 Korva"));
        QCOMPARE(box.Copyright()->toolTip(),
                 QStringLiteral("(c) 2009 Korva"));
        QCOMPARE(box.Label1()->text(), QStringLiteral("Click here for technical support"));
        QVERIFY(box.Label1()->font().underline());
        QCOMPARE(box.Label1()->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(box.OKButton()->isDefault());
        QCOMPARE(box.OKButton()->geometry(), QRect(111, 181, 75, 25));
        QCOMPARE(box.Panel2()->geometry(), QRect(20, 16, 275, 200));
        QVERIFY(!box.ProgramIcon()->pixmap().isNull());
        QVERIFY(!box.Image1()->pixmap().isNull());
        QCOMPARE(box.Image2()->pixmap().size(), QSize(240, 180));
        QCOMPARE(box.matchPosition(), 1);
        // Screen readers find every control by its name.
        for (QWidget* w : box.findChildren<QWidget*>())
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }

    void aLongRightsNoticeIsShortenedInsideThePanel()
    {
        RecordingAddressOpener addresses;
        Config c = testConfig();
        c.rightsNotice = QStringLiteral(
            "Copyright Korva Traffic Monitoring, Department of Roads. All rights reserved.");
        TAboutBox box(c, addresses);
        const QLabel* notice = box.Copyright();
        QVERIFY(notice->text().endsWith(QChar(0x2026)));
        QVERIFY(notice->geometry().right() < box.Panel1()->width());
        QCOMPARE(notice->toolTip(), c.rightsNotice);
    }

    void supportLinkOpensAMailMessage()
    {
        RecordingAddressOpener addresses;
        TAboutBox box(testConfig(), addresses);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.Label1(), Qt::LeftButton);
        QCOMPARE(addresses.opened, QStringList{"mailto:help@korva.example"});
    }

    void hiddenPictureFollowsTheKeySequence_data()
    {
        QTest::addColumn<QStringList>("typing"); // each entry typed while Alt is held anew
        QTest::addColumn<bool>("withAlt");
        QTest::addColumn<bool>("shown");

        QTest::newRow("without Alt") << QStringList{"KORVAZRN"} << false << false;
        QTest::newRow("with Alt") << QStringList{"KORVAZRN"} << true << true;
        QTest::newRow("wrong letter in the middle") << QStringList{"KORXVAZRN"} << true << false;
        QTest::newRow("first letter as the wrong letter")
            << QStringList{"KORKORVAZRN"} << true << true;
        // Pressing Alt anew is a key with Alt held, so it starts the sequence again.
        QTest::newRow("Alt pressed anew in the middle")
            << QStringList{"KOR", "VAZRN"} << true << false;
    }

    void hiddenPictureFollowsTheKeySequence()
    {
        QFETCH(QStringList, typing);
        QFETCH(bool, withAlt);
        QFETCH(bool, shown);

        RecordingAddressOpener addresses;
        TAboutBox box(testConfig(), addresses);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        for (const QString& part : typing)
            type(box, part, withAlt);
        QCOMPARE(box.Panel2()->isVisible(), shown);
    }

    void clickingThePictureOrItsPanelHidesIt_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("picture") << "Image2";
        QTest::newRow("panel around it") << "Panel2";
    }

    void clickingThePictureOrItsPanelHidesIt()
    {
        QFETCH(QString, target);
        RecordingAddressOpener addresses;
        TAboutBox box(testConfig(), addresses);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));

        type(box, QStringLiteral("KORVAZRN"), true);
        QVERIFY(box.Panel2()->isVisible());
        auto* clicked = box.findChild<QWidget*>(target);
        QVERIFY(clicked);
        // A point of the panel outside the picture, or the picture's centre.
        const QPoint at =
            target == QLatin1String("Panel2") ? QPoint(5, 5) : clicked->rect().center();
        QTest::mouseClick(clicked, Qt::LeftButton, {}, at);
        QVERIFY(!box.Panel2()->isVisible());

        // The sequence shows it again, and the OK button works again once it is hidden.
        type(box, QStringLiteral("KORVAZRN"), true);
        QVERIFY(box.Panel2()->isVisible());
        QTest::mouseClick(box.Image2(), Qt::LeftButton);
        QVERIFY(!box.Panel2()->isVisible());
        QTest::mouseClick(box.OKButton(), Qt::LeftButton);
        QCOMPARE(box.result(), int(QDialog::Accepted));
        QVERIFY(!box.isVisible());
    }

    void eachBoxStartsAfresh()
    {
        RecordingAddressOpener addresses;
        {
            TAboutBox first(testConfig(), addresses);
            first.show();
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            type(first, QStringLiteral("KORVA"), true);
            QCOMPARE(first.matchPosition(), 6);
        }
        TAboutBox second(testConfig(), addresses);
        QCOMPARE(second.matchPosition(), 1);
        QVERIFY(second.Panel2()->isHidden());
    }
};

QTEST_MAIN(TestAboutBox)
#include "test_aboutbox.moc"
