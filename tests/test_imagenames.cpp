// The image-name list rule: how a station's image-names text becomes its photo names.

#include "photos/imagenames.h"

#include <QTest>

class TestImageNames : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("commas") << "a,b,c" << QStringList{"a", "b", "c"};
        QTest::newRow("doubled comma") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("trailing comma") << "a," << QStringList{"a", ""};
        QTest::newRow("trailing comma and blank") << "a, " << QStringList{"a"};
        QTest::newRow("leading comma") << ",a" << QStringList{"", "a"};
        QTest::newRow("blank separates") << "a b" << QStringList{"a", "b"};
        QTest::newRow("blanks around commas") << "a , b,\t c" << QStringList{"a", "b", "c"};
        QTest::newRow("leading blanks and controls")
            << QString::fromLatin1(" \t\x01\r\na,b") << QStringList{"a", "b"};
        QTest::newRow("quoted with doubled quotes")
            << "\"x \"\"y\"\", z\",w" << QStringList{"x \"y\", z", "w"};
        QTest::newRow("quoted empty") << "\"\",a" << QStringList{"", "a"};
        QTest::newRow("unclosed quote") << "a,\"b c" << QStringList{"a", "b c"};
        QTest::newRow("text after closing quote") << "\"a\"b" << QStringList{"a", "b"};
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("only blanks") << "  \t " << QStringList{};
        QTest::newRow("ends at NUL") << QString::fromLatin1("a,b\0c,d", 7) << QStringList{"a", "b"};
        QTest::newRow("NUL after comma") << QString::fromLatin1("a,\0b", 4) << QStringList{"a", ""};
        QTest::newRow("names beyond ASCII")
            << QString::fromUtf8("caf\u00e9,\"\u00f6 \u00fc\" \u00e5")
            << QStringList{QString::fromUtf8("caf\u00e9"), QString::fromUtf8("\u00f6 \u00fc"),
                           QString::fromUtf8("\u00e5")};
        QTest::newRow("station names")
            << "1-8-163a-07,1-8-163b-07,1-8-163sketch-07"
            << QStringList{"1-8-163a-07", "1-8-163b-07", "1-8-163sketch-07"};
    }
    void split()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(ImageNames::split(text), names);

        // The UTF-8 form splits alike.
        QStringList fromUtf8;
        for (const QByteArray& name : ImageNames::split(QByteArrayView(text.toUtf8())))
            fromUtf8 << QString::fromUtf8(name);
        QCOMPARE(fromUtf8, names);
    }

    void addresses()
    {
        const QString server = QStringLiteral("http://photos.example/traffic/images/");
        QCOMPARE(ImageNames::photoAddress(server, QStringLiteral("1-8-163a-07")),
                 QStringLiteral("http://photos.example/traffic/images/1-8-163a-07.jpg"));
        QCOMPARE(ImageNames::thumbnailAddress(server, QStringLiteral("1-8-163a-07")),
                 QStringLiteral("http://photos.example/traffic/images/1-8-163a-07-tb.jpg"));
        // An empty name from a doubled comma still gives an address, one that fails to load.
        QCOMPARE(ImageNames::photoAddress(server, QString()),
                 QStringLiteral("http://photos.example/traffic/images/.jpg"));
    }
};

QTEST_GUILESS_MAIN(TestImageNames)
#include "test_imagenames.moc"
