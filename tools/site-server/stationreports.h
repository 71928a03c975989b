#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class SiteServer;

// The station report pages of the report server: "/zarnweb/Report/" followed by every
// REPORT name of the station database, each a readable document with that station's
// figures in the format its extension names.
class StationReports final
{
public:
    // One station as its report shows it.
    struct Station
    {
        QString table; // the count table it came from ("aadt 2008")
        QString number, sri, milePost, streetName, location, latitude, longitude, aadt,
            municipality, county, imageNames;
    };

    static constexpr const char* Folder = "/zarnweb/Report/";

    // Reads the REPORT names of every station table of the database.
    explicit StationReports(const QString& databasePath);

    bool knows(const QString& reportName) const { return m_stations.contains(reportName); }
    int count() const { return int(m_stations.size()); }

    // The report document and its content type; empty for an unknown name.
    QByteArray document(const QString& reportName, QByteArray* contentType) const;

    // Adds the route; names the database does not hold are left to the other routes.
    static void add(SiteServer& server);

private:
    QHash<QString, Station> m_stations;
};
