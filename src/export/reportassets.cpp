#include "export/reportassets.h"

#include "platform/stradexerror.h"
#include "reportresources.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

ReportAssets::ReportAssets(const Config& config, const QString& root)
    : m_config(config)
    , m_root(root)
{
    if (m_root.isEmpty()) {
        registerReportResources();
        m_root = QStringLiteral(":/report");
    }
}

const QList<ReportAsset>& ReportAssets::table()
{
    static const QList<ReportAsset> assets = {
        {"lytebox.js", "lytebox_js", "js"},
        {"lytebox.css", "lytebox_css", "css"},
        {"tigra_tables.js", "tigra_tables", "js"},
        {"mylens.js", "mylens", "js"},
        {"jquery-1.3.2.min.js", "jquery_min", "js"},
        {"jquery.tablesorter.min.js", "jquery_table_sorter", "js"},
        {"jquery.columnfilters.js", "jquery_column_filter", "js"},
        {"jquery.flot.js", "jquery_flot", "js"},
        {"excanvas.js", "excanvas", "js"},
        {"style.css", "style_css", "css"},
        {"asc.gif", "asc_gif", "gif"},
        {"desc.gif", "desc_gif", "gif"},
        {"bg.gif", "bg_gif", "gif"},
        {"PicLensButton.png", "PicLensButton", "png"},
        {"icons/small/image.png", "image", "png"},
        {"icons/small/gray_image.png", "gray_image", "png"},
        {"icons/small/map1.png", "map1", "png"},
        {"icons/small/kword.png", "kword", "png"},
        {"icons/small/loc.html", "loc", "html"},
        {"icons/small/extmaptypecontrol.js", "extmaptypecontrol", "js"},
        {"images/prev_grey.gif", "prev_grey", "gif"},
        {"images/next_grey.gif", "next_grey", "gif"},
        {"images/close_grey.png", "close_grey", "png"},
    };
    return assets;
}

QByteArray ReportAssets::fillTemplate(QByteArray text) const
{
    text.replace("@REPORT_MAPS_HOST@", m_config.reportMapsHost.toUtf8());
    text.replace("@LOCATION_MAP_API_KEY@", m_config.locationMapApiKey.toUtf8());
    text.replace("@MAP_CENTER_LATITUDE@", m_config.reportMapCenterLatitude.toUtf8());
    text.replace("@MAP_CENTER_LONGITUDE@", m_config.reportMapCenterLongitude.toUtf8());
    return text;
}

QByteArray ReportAssets::resource(const QString& name, const QString& type) const
{
    QFile file(m_root + QLatin1Char('/') + type.toLower() + QLatin1Char('/') + name.toLower());
    if (name.isEmpty() || type.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw StradexError(QStringLiteral("Can't load resource: ") + name);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw StradexError(QStringLiteral("Can't load resource: ") + name);
    const QString t = type.toLower();
    if (t == QLatin1String("html") || t == QLatin1String("txt"))
        bytes = fillTemplate(std::move(bytes));
    return bytes;
}

void ReportAssets::LoadResourceToStream(const QString& name, const QString& type,
                                        QIODevice& stream) const
{
    const QByteArray bytes = resource(name, type);
    if (!stream.isOpen())
        stream.open(QIODevice::ReadWrite);
    stream.seek(stream.size());
    if (stream.write(bytes) != bytes.size())
        throw StradexError(QStringLiteral("Can't load resource: ") + name);
    stream.seek(0);
}

QString ReportAssets::headTemplate() const
{
    return QString::fromUtf8(resource(QStringLiteral("header"), QStringLiteral("txt")));
}

namespace {

void makeFolder(const QString& parent, const QString& name)
{
    QDir dir(parent);
    if (dir.exists(name) && QFileInfo(dir.filePath(name)).isDir())
        return;
    if (!dir.mkdir(name))
        throw StradexError(QStringLiteral("Can't create the folder %1")
                               .arg(QDir::toNativeSeparators(dir.filePath(name))));
}

} // namespace

int ReportAssets::WriteReportAssets(const QString& folder) const
{
    const QString root = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    int written = 0;
    auto writeAssets = [&](int first, int last) {
        for (int i = first; i <= last; ++i) {
            const ReportAsset& asset = table().at(i);
            const QString path = root + QLatin1String(asset.path);
            if (QFileInfo::exists(path))
                continue;
            QBuffer stream;
            LoadResourceToStream(QLatin1String(asset.name), QLatin1String(asset.type), stream);
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
                file.write(stream.data()) != stream.size() || !file.commit()) {
                throw StradexError(QStringLiteral("Can't create the file %1: %2")
                                       .arg(QDir::toNativeSeparators(path), file.errorString()));
            }
            ++written;
        }
    };
    writeAssets(0, 13);
    makeFolder(root, QStringLiteral("icons"));
    makeFolder(root + QStringLiteral("icons"), QStringLiteral("small"));
    writeAssets(14, 19);
    makeFolder(root, QStringLiteral("images"));
    writeAssets(20, 22);
    return written;
}
