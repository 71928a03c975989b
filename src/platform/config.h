#pragma once

#include <QString>

// The program's fixed addresses, keys and texts, handed to every component as one value
// so that a test can point a component at its own loopback server.
struct Config
{
    QString reportServer;         // scheme and host, no trailing slash
    QString photoServer;          // ends in the images folder's slash
    QString googleMapsHost;
    QString yahooMapsHost;
    QString microsoftMapsHost;
    QString reportMapsHost;       // host of the map API that HTML reports load
    QString mapSearchPage;
    QString slideShowPluginPage;
    QString headerImageUrl;
    QString yahooAppId;
    QString locationMapApiKey;
    QString supportMail;
    QString aboutKeySequence;
    QString rightsNotice;
    QString reportNotice;
    QString reportMapCenterLatitude;
    QString reportMapCenterLongitude;

    // The values compiled into the program.
    static Config defaults();
};
