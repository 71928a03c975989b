#include "app/updatecontrolfile.h"
#include "platform/stradexerror.h"

#include <QTest>

class TestUpdateControlFile : public QObject
{
    Q_OBJECT

    static constexpr const char* Sum =
        "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";

private slots:
    void readsTheFields()
    {
        const QByteArray text = QByteArray("# newest release\r\n\r\n"
                                           "  Version = 3.1.0.0 \r\n"
                                           "DATE=01/06/2009\r\n"
                                           "file=download/Stradex-3.1.0.0.tar.gz\r\n"
                                           "future=ignored\r\n"
                                           "sha256=") +
                                Sum + "\r\n";
        const UpdateControlFile f = UpdateControlFile::parse(text);
        QCOMPARE(f.version, QStringLiteral("3.1.0.0"));
        QCOMPARE(f.date, QDate(2009, 6, 1));
        QCOMPARE(f.file, QStringLiteral("download/Stradex-3.1.0.0.tar.gz"));
        QCOMPARE(f.sha256.toHex(), QByteArray(Sum));
        QCOMPARE(UpdateControlFile::parse(f.serialize()).serialize(), f.serialize());
    }

    void rejectsFaults_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("fault");

        const QByteArray good =
            QByteArray("version=3.1.0.0\ndate=01/06/2009\nfile=a.tar.gz\nsha256=") + Sum + "\n";
        QTest::newRow("empty") << QByteArray() << "names no version";
        QTest::newRow("an HTML page")
            << QByteArray("<html><body>Not here</body></html>") << "line 1 is not \"name=value\"";
        QTest::newRow("no date") << QByteArray(good).replace("date=01/06/2009\n", "")
                                 << "gives no date";
        QTest::newRow("date in another order")
            << QByteArray(good).replace("01/06/2009", "2009-06-01") << "is not a date dd/mm/yyyy";
        QTest::newRow("impossible date")
            << QByteArray(good).replace("01/06/2009", "31/02/2009") << "is not a date dd/mm/yyyy";
        QTest::newRow("version with letters")
            << QByteArray(good).replace("3.1.0.0", "3.1beta") << "is not a version number";
        QTest::newRow("version with five parts")
            << QByteArray(good).replace("3.1.0.0", "3.1.0.0.1") << "is not a version number";
        QTest::newRow("no file") << QByteArray(good).replace("file=a.tar.gz\n", "")
                                 << "names no file";
        QTest::newRow("short checksum")
            << QByteArray(good).replace(Sum, "9f86d0") << "is not 64 hexadecimal digits";
        QTest::newRow("no checksum")
            << QByteArray(good).replace(QByteArray("sha256=") + Sum, "") << "gives no checksum";
    }

    void rejectsFaults()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, fault);
        try {
            UpdateControlFile::parse(text);
            QFAIL("parse accepted a faulty control file");
        } catch (const StradexError& e) {
            QVERIFY2(
                e.message().startsWith(QStringLiteral("The update information is not readable")),
                qPrintable(e.message()));
            QVERIFY2(e.message().contains(fault), qPrintable(e.message()));
        }
    }

    void comparesVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");

        QTest::newRow("equal") << "3.0.0.0"
                               << "3.0.0.0" << 0;
        QTest::newRow("missing parts are 0") << "3"
                                             << "3.0.0.0" << 0;
        QTest::newRow("newer build") << "3.0.0.1"
                                     << "3.0.0.0" << 1;
        QTest::newRow("numbers, not text") << "3.10.0.0"
                                           << "3.9.0.0" << 1;
        QTest::newRow("older major") << "2.9.9.9"
                                     << "3.0.0.0" << -1;
        QTest::newRow("no running version is oldest") << "1.0.0.0"
                                                      << "" << 1;
        QTest::newRow("both empty") << ""
                                    << "" << 0;
    }

    void comparesVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int c = compareVersions(a, b);
        QCOMPARE((c > 0) - (c < 0), sign);
        QCOMPARE((compareVersions(b, a) > 0) - (compareVersions(b, a) < 0), -sign);
    }
};

QTEST_APPLESS_MAIN(TestUpdateControlFile)
#include "test_updatecontrolfile.moc"
