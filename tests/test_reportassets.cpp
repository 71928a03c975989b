// The report asset store: the files and folders written beside a report, assets that are
// never touched once there, the pictures' formats and sizes, the filled page templates,
// and the errors of a missing resource or a folder that cannot be made.

#include "export/reportassets.h"
#include "platform/stradexerror.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

namespace {

Config testConfig()
{
    Config c;
    c.reportMapsHost = QStringLiteral("maps.korva.example:8123");
    c.locationMapApiKey = QStringLiteral("ABQIAAAA") + QString(78, QLatin1Char('k'));
    c.reportMapCenterLatitude = QStringLiteral("41.65");
    c.reportMapCenterLongitude = QStringLiteral("-76.40");
    return c;
}

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The format and pixel size that a GIF or PNG file's header gives; an empty format when
// the bytes are neither.
struct PictureHeader
{
    QByteArray format;
    int width = 0;
    int height = 0;
};

PictureHeader pictureHeader(const QByteArray& bytes)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.startsWith("GIF89a") || bytes.startsWith("GIF87a"))
        return {"gif", qFromLittleEndian<quint16>(b + 6), qFromLittleEndian<quint16>(b + 8)};
    if (bytes.startsWith("\x89PNG\r\n\x1a\n") && bytes.mid(12, 4) == "IHDR")
        return {"png", int(qFromBigEndian<quint32>(b + 16)), int(qFromBigEndian<quint32>(b + 20))};
    return {};
}

} // namespace

class TestReportAssets : public QObject
{
    Q_OBJECT

private slots:
    void emptyFolderGetsEveryAssetAndThreeFolders()
    {
        QTemporaryDir dir;
        const ReportAssets assets(testConfig());
        QCOMPARE(assets.WriteReportAssets(dir.path()), 23);

        QStringList expected;
        for (const ReportAsset& a : ReportAssets::table())
            expected << QLatin1String(a.path);
        expected.sort();
        QCOMPARE(filesUnder(dir.path()), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"icons", "images"}));
        QCOMPARE(QDir(dir.filePath("icons")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"small"});

        for (const ReportAsset& a : ReportAssets::table()) {
            QBuffer stream;
            assets.LoadResourceToStream(QLatin1String(a.name), QLatin1String(a.type), stream);
            QVERIFY2(stream.size() > 0, a.path);
            QCOMPARE(readFile(dir.filePath(QLatin1String(a.path))), stream.data());
        }
    }

    void picturesHaveTheirFormatAndSize_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("asc.gif") << "asc.gif" << QByteArray("gif") << 21 << 4;
        QTest::newRow("desc.gif") << "desc.gif" << QByteArray("gif") << 21 << 4;
        QTest::newRow("bg.gif") << "bg.gif" << QByteArray("gif") << 21 << 9;
        QTest::newRow("PicLensButton.png") << "PicLensButton.png" << QByteArray("png") << 16 << 12;
        QTest::newRow("image.png") << "icons/small/image.png" << QByteArray("png") << 44 << 32;
        QTest::newRow("gray_image.png")
            << "icons/small/gray_image.png" << QByteArray("png") << 44 << 32;
        QTest::newRow("map1.png") << "icons/small/map1.png" << QByteArray("png") << 32 << 32;
        QTest::newRow("kword.png") << "icons/small/kword.png" << QByteArray("png") << 32 << 32;
        QTest::newRow("prev_grey.gif") << "images/prev_grey.gif" << QByteArray("gif") << 63 << 32;
        QTest::newRow("next_grey.gif") << "images/next_grey.gif" << QByteArray("gif") << 63 << 32;
        QTest::newRow("close_grey.png") << "images/close_grey.png" << QByteArray("png") << 64 << 20;
    }
    void picturesHaveTheirFormatAndSize()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, format);
        QFETCH(int, width);
        QFETCH(int, height);
        const auto asset =
            std::find_if(ReportAssets::table().begin(), ReportAssets::table().end(),
                         [&](const ReportAsset& a) { return path == QLatin1String(a.path); });
        QVERIFY(asset != ReportAssets::table().end());
        const PictureHeader header =
            pictureHeader(ReportAssets(testConfig())
                              .resource(QLatin1String(asset->name), QLatin1String(asset->type)));
        QCOMPARE(header.format, format);
        QCOMPARE(header.width, width);
        QCOMPARE(header.height, height);
    }

    void secondReportWritesNoAssetAndKeepsChangedOnes()
    {
        QTemporaryDir dir;
        const ReportAssets assets(testConfig());
        QFile style(dir.filePath("style.css"));
        QVERIFY(style.open(QIODevice::WriteOnly));
        style.write("th { color: red; }\n");
        style.close();

        QCOMPARE(assets.WriteReportAssets(dir.path()), 22);
        QCOMPARE(readFile(dir.filePath("style.css")), QByteArray("th { color: red; }\n"));

        const QDateTime written = QFileInfo(dir.filePath("icons/small/loc.html")).lastModified();
        QFile::remove(dir.filePath("images/next_grey.gif"));
        QCOMPARE(assets.WriteReportAssets(dir.path()), 1);
        QCOMPARE(assets.WriteReportAssets(dir.path()), 0);
        QCOMPARE(QFileInfo(dir.filePath("icons/small/loc.html")).lastModified(), written);
        QCOMPARE(readFile(dir.filePath("style.css")), QByteArray("th { color: red; }\n"));
    }

    void loadResourceAppendsAndRewinds()
    {
        QBuffer stream;
        stream.open(QIODevice::ReadWrite);
        stream.write("before:");
        // Names and types are found whatever their case.
        ReportAssets(testConfig())
            .LoadResourceToStream(QStringLiteral("PICLENSBUTTON"), QStringLiteral("Png"), stream);
        QCOMPARE(stream.pos(), 0);
        QVERIFY(stream.data().startsWith("before:\x89PNG"));
    }

    void missingResourceNamesIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("unknown name") << "lytebox_theme"
                                      << "css";
        QTest::newRow("known name, other type") << "style_css"
                                                << "js";
        QTest::newRow("empty name") << ""
                                    << "js";
    }
    void missingResourceNamesIt()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QBuffer stream;
        try {
            ReportAssets(testConfig()).LoadResourceToStream(name, type, stream);
            QFAIL("no error");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(), QStringLiteral("Can't load resource: ") + name);
        }
    }

    // A store that lacks one picture stops at it: the assets before it stay written.
    void missingAssetEndsTheWritingThere()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath("store");
        ReportAssets program(testConfig());
        for (const ReportAsset& a : ReportAssets::table()) {
            const QString target = store + QLatin1Char('/') + QLatin1String(a.type) +
                                   QLatin1Char('/') + QString::fromLatin1(a.name).toLower();
            QDir().mkpath(QFileInfo(target).path());
            if (QLatin1String(a.name) != QLatin1String("map1")) {
                QFile f(target);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(program.resource(QLatin1String(a.name), QLatin1String(a.type)));
            }
        }
        const QString report = dir.filePath("report");
        QVERIFY(QDir().mkpath(report));
        try {
            ReportAssets(testConfig(), store).WriteReportAssets(report);
            QFAIL("no error");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(), QStringLiteral("Can't load resource: map1"));
        }
        QCOMPARE(filesUnder(report).size(), 16);
        QVERIFY(QFile::exists(report + "/icons/small/gray_image.png"));
        QVERIFY(!QFile::exists(report + "/icons/small/map1.png"));
        QVERIFY(!QFile::exists(report + "/images"));
    }

    void folderThatCannotBeMadeIsNamed()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("icons"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        try {
            ReportAssets(testConfig()).WriteReportAssets(dir.path());
            QFAIL("no error");
        } catch (const StradexError& e) {
            QCOMPARE(e.message(), QStringLiteral("Can't create the folder %1")
                                      .arg(QDir::toNativeSeparators(dir.filePath("icons"))));
        }
        QVERIFY(QFile::exists(dir.filePath("PicLensButton.png")));
    }

    // The location page and the head template load the map service from the configured
    // host, the location page with its key, and the report map opens on the configured centre.
    void templatesCarryTheConfiguration()
    {
        const ReportAssets assets(testConfig());
        const QString loc = QString::fromUtf8(assets.resource("loc", "html"));
        QVERIFY(loc.contains(
            "src=\"http://maps.korva.example:8123/maps?file=api&amp;v=2.x&amp;key=ABQIAAAA" +
            QString(78, 'k') + "\""));
        const QString head = assets.headTemplate();
        QVERIFY(head.contains(
            "src=\"http://maps.korva.example:8123/maps?file=api&amp;v=2.x&amp;key=\""));
        QVERIFY(head.contains("new GLatLng(41.65, -76.40), 8"));
        QVERIFY(!(head + loc).contains('@'));
        QVERIFY(head.endsWith('\n'));
        QVERIFY(!head.contains("</head>"));
    }
};

QTEST_GUILESS_MAIN(TestReportAssets)
#include "test_reportassets.moc"
