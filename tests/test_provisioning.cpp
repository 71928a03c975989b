#include "app/provisioning.h"
#include "dbresource.h"
#include "platform/stradexerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestProvisioning : public QObject
{
    Q_OBJECT

private:
    QByteArray embedded()
    {
        QFile f(stationDatabaseResource());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void paths_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("folder");
        QTest::newRow("home") << "/home/ann/.local/share" << "/home/ann/.local/korva";
        QTest::newRow("trailing separator") << "/home/ann/.local/share/" << "/home/ann/.local/korva";
        QTest::newRow("blank in a name") << "/srv/my home/.local/share" << "/srv/my home/.local/korva";
    }
    void paths()
    {
        QFETCH(QString, local);
        QTEST(DataFolder::dataFolderFor(local), "folder");
        QCOMPARE(DataFolder::stationDatabaseFileFor(local), DataFolder::dataFolderFor(local) + "/KORVAZARN.dat");
    }

    void firstStartLaterStartAndRestoredFile()
    {
        QTemporaryDir home;
        const QString local = home.filePath(QStringLiteral(".local/share"));
        const QString folder = home.filePath(QStringLiteral(".local/korva"));
        const QString file = folder + QStringLiteral("/KORVAZARN.dat");
        const QByteArray bytes = embedded();
        QVERIFY(bytes.size() > 100000);

        // A clean profile: the folder is made private and the file written.
        {
            HeldDataFile held = provisionStationDatabase(stationDatabaseResource(), local);
            QVERIFY(held.isHeld());
        }
        QCOMPARE(read(file), bytes);
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther),
                 QFile::Permissions());

        // A later start: the folder is marked private again, the file overwritten.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(2000);
            f.write("changed outside the program");
            f.write(QByteArray(bytes.size(), 'x')); // longer than the original
        }
        provisionStationDatabase(stationDatabaseResource(), local);
        QCOMPARE(read(file), bytes);
        QVERIFY(!(QFileInfo(folder).permissions() & QFile::ReadOther));

        // A deleted file is restored.
        QVERIFY(QFile::remove(file));
        provisionStationDatabase(stationDatabaseResource(), local);
        QCOMPARE(read(file), bytes);
    }

    void fileHeldByARunningCopy()
    {
        QTemporaryDir home;
        const QString local = home.filePath(QStringLiteral(".local/share"));
        HeldDataFile running = provisionStationDatabase(stationDatabaseResource(), local);
        const QString file = DataFolder::stationDatabaseFileFor(local);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::Append));
            f.write("the running copy's file");
        }
        const QByteArray before = read(file);
        try {
            provisionStationDatabase(stationDatabaseResource(), local);
            QFAIL("a second copy must not overwrite the running copy's file");
        } catch (const StradexError& e) {
            QVERIFY2(e.message().contains(file), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QLatin1String("another running copy")), qPrintable(e.message()));
        }
        QCOMPARE(read(file), before);
        running.release();
        provisionStationDatabase(stationDatabaseResource(), local);
        QCOMPARE(read(file), embedded());
    }

    void failuresNameTheCause_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<bool>("blockFolder");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("missing resource") << ":/rcdata/nothing-here" << false << "zarndatabase";
        QTest::newRow("folder cannot be made") << QString() << true << "KORVAZARN.dat";
    }
    void failuresNameTheCause()
    {
        QFETCH(QString, resource);
        QFETCH(bool, blockFolder);
        QFETCH(QString, mentions);
        QTemporaryDir home;
        const QString local = home.filePath(QStringLiteral(".local/share"));
        if (blockFolder) {
            QDir().mkpath(home.filePath(QStringLiteral(".local")));
            QFile blocker(home.filePath(QStringLiteral(".local/korva")));
            QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        }
        try {
            provisionStationDatabase(resource.isEmpty() ? stationDatabaseResource() : resource, local);
            QFAIL("provisioning must fail");
        } catch (const StradexError& e) {
            QVERIFY2(e.message().contains(mentions), qPrintable(e.message()));
            if (blockFolder)
                QVERIFY2(e.message().contains(DataFolder::stationDatabaseFileFor(local)), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestProvisioning)
#include "test_provisioning.moc"
