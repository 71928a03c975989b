#include "photosstore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QUrl>

#include <sqlite3.h>
#include <stdexcept>

namespace {

QString columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text) : QString();
}

// Image names as the program splits them, for the plain comma lists the database holds.
QStringList splitNames(const QString& text)
{
    QStringList names;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

QString yearOf(const QString& name)
{
    // Names end in the count year's two digits: "1-8-163a-07".
    const QString yy = name.right(2);
    bool ok = false;
    const int y = yy.toInt(&ok);
    return ok && name.size() > 3 && name.at(name.size() - 3) == QLatin1Char('-')
               ? QString::number(2000 + y)
               : QString();
}

} // namespace

PhotosStore::PhotosStore(const QString& databasePath, const QString& folder)
    : m_databasePath(databasePath)
    , m_folder(folder.isEmpty() ? QString() : folder + QStringLiteral("/photos"))
{
}

void PhotosStore::readNames()
{
    if (m_read)
        return;
    m_read = true;
    sqlite3* db = nullptr;
    if (m_databasePath.isEmpty() || sqlite3_open_v2(m_databasePath.toUtf8().constData(), &db,
                                                    SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    QStringList tables;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
                           -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW)
            tables << columnText(statement, 0);
    }
    sqlite3_finalize(statement);

    for (const QString& table : tables) {
        QString quoted = table;
        quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
        const QByteArray sql = QStringLiteral("SELECT SI_STATION_NUM, SI_STREET_NAME, SI_LOCATION, "
                                              "municipality_descr, county_descr, AADT, IMAGENAMES "
                                              "FROM \"%1\" WHERE IMAGENAMES IS NOT NULL")
                                   .arg(quoted)
                                   .toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement);
            continue; // a table without station columns
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const QStringList names = splitNames(columnText(statement, 6));
            for (int i = 0; i < names.size(); ++i) {
                if (m_subjects.contains(names.at(i)))
                    continue;
                PhotosSubject s;
                s.name = names.at(i);
                s.station = columnText(statement, 0);
                s.route = columnText(statement, 1);
                s.location = columnText(statement, 2);
                s.municipality = columnText(statement, 3);
                s.county = columnText(statement, 4);
                s.aadt = columnText(statement, 5);
                s.year = yearOf(s.name);
                s.index = i;
                s.count = int(names.size());
                s.sketch = s.name.contains(QLatin1String("sketch"));
                m_subjects.insert(s.name, s);
                m_names << s.name;
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
}

bool PhotosStore::knows(const QString& name)
{
    readNames();
    return m_subjects.contains(name);
}

QStringList PhotosStore::names()
{
    readNames();
    return m_names;
}

QByteArray PhotosStore::photo(const QString& name)
{
    return kept(name, false);
}

QByteArray PhotosStore::thumbnail(const QString& name)
{
    return kept(name, true);
}

QByteArray PhotosStore::kept(const QString& name, bool thumbnail)
{
    if (!knows(name))
        return {};
    // Percent-encoding keeps any name inside the folder.
    const QString file = m_folder.isEmpty()
                             ? QString()
                             : m_folder + QLatin1Char('/') +
                                   QString::fromLatin1(QUrl::toPercentEncoding(name)) +
                                   (thumbnail ? QStringLiteral("-tb.jpg") : QStringLiteral(".jpg"));
    if (!file.isEmpty()) {
        QFile made(file);
        if (made.open(QIODevice::ReadOnly)) {
            const QByteArray data = made.readAll();
            if (!data.isEmpty())
                return data;
        }
    }

    QImage image = paint(m_subjects.value(name));
    if (thumbnail)
        image = image.scaled(PhotosPainter::ThumbnailWidth, PhotosPainter::ThumbnailHeight,
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QByteArray data = encode(image, thumbnail ? 80 : 85);
    if (data.isEmpty())
        throw std::runtime_error("cannot encode a JPEG picture");

    if (!file.isEmpty() && QDir().mkpath(m_folder)) {
        QSaveFile out(file);
        if (out.open(QIODevice::WriteOnly) && out.write(data) == data.size())
            out.commit();
    }
    return data;
}

QImage PhotosStore::paint(const PhotosSubject& subject)
{
    // Text needs the font database of a QGuiApplication; without one QPainter aborts.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw std::runtime_error("drawing photos needs a QGuiApplication");
    return PhotosPainter::paint(subject);
}

QByteArray PhotosStore::encode(const QImage& image, int quality)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return data;
}

QByteArray PhotosStore::slowPicture()
{
    static QByteArray picture;
    if (!picture.isEmpty())
        return picture;
    PhotosSubject s;
    s.name = QStringLiteral("fault-slow");
    s.station = QStringLiteral("0-0-000");
    s.route = QStringLiteral("SLOW LANE");
    s.location = QStringLiteral("0.5 MI E OF TEST RD");
    s.municipality = QStringLiteral("Loopback");
    s.county = QStringLiteral("Test");
    s.aadt = QStringLiteral("1000");
    s.year = QStringLiteral("2008");
    picture = encode(paint(s), 85);
    return picture;
}
