#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class SiteServer;

// The update control file "/zarnweb/Report/stradex.inf" and the files it offers under
// "/zarnweb/Report/download/". By default it names the program's own version; a version
// published into the server's state folder replaces it until it is withdrawn.
class UpdateOffer final
{
public:
    static void addRoutes(SiteServer& server);

    // Offers version on date with the file fileName of the given content. The control
    // file gives sha256, or the content's own checksum when sha256 is empty.
    static void publish(const QString& stateFolder, const QString& version, const QDate& date,
                        const QString& fileName, const QByteArray& content,
                        const QByteArray& sha256 = QByteArray());
    // Back to offering the program's own version.
    static void withdraw(const QString& stateFolder);

    // The program's own version and its release date, offered by default.
    static QString programVersion();
    static QDate programDate();
};
