#include "app/version.h"

#include <QTest>

using OptionalVersion = std::optional<FileVersion>;
Q_DECLARE_METATYPE(OptionalVersion)

class TestVersion : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<OptionalVersion>("version");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("prefixed");
        QTest::newRow("3.0.0.0") << OptionalVersion(FileVersion{3u << 16, 0}) << "3.0.0.0" << " - Version 3.0.0.0";
        QTest::newRow("numbers above 9")
            << OptionalVersion(FileVersion{(10u << 16) | 2u, 1234u}) << "10.2.0.1234" << " - Version 10.2.0.1234";
        QTest::newRow("word order") << OptionalVersion(FileVersion{(1u << 16) | 2u, (3u << 16) | 4u}) << "1.2.3.4"
                                    << " - Version 1.2.3.4";
        QTest::newRow("largest fields") << OptionalVersion(FileVersion{0xFFFFFFFFu, 0xFFFF0001u})
                                        << "65535.65535.65535.1" << " - Version 65535.65535.65535.1";
        QTest::newRow("no version") << OptionalVersion() << "" << "";
    }
    void format()
    {
        QFETCH(OptionalVersion, version);
        const QString plain = formatVersion(version);
        QTEST(plain, "plain");
        QTEST(prefixVersion(plain), "prefixed");
    }

    void programVersion()
    {
        QCOMPARE(versionString(), QStringLiteral("3.0.0.0"));
        QCOMPARE(versionStringWithPrefix(), QStringLiteral(" - Version 3.0.0.0"));
    }
};

QTEST_GUILESS_MAIN(TestVersion)
#include "test_version.moc"
