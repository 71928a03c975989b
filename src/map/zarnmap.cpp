#include "map/zarnmap.h"

#include "map/internetconnection.h"
#include "map/mapbrowser.h"
#include "platform/messagesink.h"
#include "platform/stradexerror.h"

namespace {
const QString ScriptLanguage = QStringLiteral("javascript");
}

ZarnMap::ZarnMap(const Config& config, MapBrowser& browser, MessageSink& messages,
                 ConnectionCheck connectionCheck)
    : m_config(config)
    , m_browser(browser)
    , m_messages(messages)
    , m_connectionCheck(connectionCheck ? std::move(connectionCheck)
                                        : ConnectionCheck(IsInternetConnected))
{
}

QString ZarnMap::remoteScriptUrl(const Config& config)
{
    return config.reportServer + QLatin1String(RemoteScriptPath);
}

QString ZarnMap::providerApiAddress(const Config& config, const QString& provider)
{
    if (provider == QLatin1String("GOOGLE"))
        return QLatin1String("http://") + config.googleMapsHost +
               QLatin1String("/maps/api/js?sensor=false");
    if (provider == QLatin1String("YAHOO"))
        return QLatin1String("http://") + config.yahooMapsHost +
               QLatin1String("/ajaxymap?v=3.8&appid=") + config.yahooAppId;
    if (provider == QLatin1String("MICROSOFT"))
        return QLatin1String("http://") + config.microsoftMapsHost +
               QLatin1String("/mapcontrol/mapcontrol.ashx?v=6.2");
    return {};
}

QStringList ZarnMap::mapPageLines(const Config& config, const QString& provider,
                                  const QString& initArgument)
{
    QStringList lines;
    lines << QStringLiteral("<html style=\"height:100%; width:100%\">") << QStringLiteral("<head>")
          << QStringLiteral("<style>")
          << QStringLiteral(".wait{font-family:tahoma,arial,sans-serif;")
          << QStringLiteral("font-size:12px;background:#cceeff;border:solid 1px red}")
          << QStringLiteral("</style>") << QStringLiteral("<script type=\"text/javascript\">")
          << QStringLiteral("var PROVIDER=\"") + provider + QStringLiteral("\";")
          << QStringLiteral("document.write(\"<div  align=center  id=wait  style='width:100%; "
                            "z-index:-1; position:absolute; '><span class=wait>Please wait while "
                            "loading the map...</span></div>\");")
          << QStringLiteral("</script>");
    const QString api = providerApiAddress(config, provider);
    if (!api.isEmpty())
        lines << QStringLiteral("<script type=\"text/javascript\" src=\"") + api +
                     QStringLiteral("\"></script>");
    lines << QStringLiteral("<script id=\"zarnmapjs\" type=\"text/javascript\" src=\"") +
                 remoteScriptUrl(config) + QStringLiteral("\"></script>")
          << QStringLiteral("<style type=\"text/css\"> body{overflow:hidden}</style>")
          << QStringLiteral("</head>")
          << QStringLiteral("<body style=\"margin:0\" onload=\"initMap('") + initArgument +
                 QStringLiteral("')\" scroll=\"no\">")
          << QStringLiteral("<div id=\"map\" style=\"width:100%; height:100%\"></div>")
          << QStringLiteral("<input type=\"hidden\" id=\"provider_type\">")
          << QStringLiteral("<script type=\"text/javascript\">") << QStringLiteral("</script>")
          << QStringLiteral("</body>") << QStringLiteral("</html>");
    return lines;
}

QStringList ZarnMap::BuildMapPage(const QString& initArgument) const
{
    return mapPageLines(m_config, m_provider, initArgument);
}

QByteArray ZarnMap::pageText(const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines)
        text += line.toLocal8Bit() + QByteArrayLiteral("\r\n");
    return text;
}

void ZarnMap::LoadMap()
{
    if (!m_connectionCheck()) {
        m_messages.message(QString::fromLatin1(NoConnectionMessage));
        return;
    }
    m_browser.navigate(QStringLiteral("about:blank"));
    m_browser.setFullScreen(true);
    while (m_browser.readyState() < MapBrowser::Interactive)
        m_browser.processMessages();
    if (!m_browser.hasDocument())
        return;
    m_browser.loadDocument(pageText(BuildMapPage(QString())));
}

void ZarnMap::runScript(const QString& script)
{
    const ScriptOutcome outcome = m_browser.runScript(script, ScriptLanguage);
    if (!outcome.ok)
        throw StradexError(outcome.error.isEmpty()
                               ? QStringLiteral("The script failed in the map page")
                               : outcome.error);
}

void ZarnMap::ShowStationMarker(const StationMarker& station)
{
    if (!station.hasPosition())
        throw StradexError(
            QStringLiteral("Station %1 has no map position").arg(station.stationNumber));
    runScript(station.script());
}

QString ZarnMap::ReadPageAttribute(const QString& scriptText, const QString& tagName,
                                   const QString& elementId, const QString& attributeName)
{
    if (!m_browser.hasDocument() || !m_browser.hasHtmlDocument())
        throw StradexError(QStringLiteral("Invalid HTML document"));
    runScript(scriptText);
    QString result;
    const auto elements = m_browser.bodyElements(tagName.toUpper(), attributeName);
    if (!elements)
        throw StradexError(QStringLiteral("Can't find <body> element"));
    for (const PageElement& element : *elements) {
        if (element.id == elementId)
            result = element.attributeValue;
    }
    return result;
}

bool ZarnMap::AdvOfficeRadioGroup1Click(const QString& selectedItemText)
{
    const QString name = selectedItemText.toUpper();
    if (name == m_provider)
        return false;
    m_provider = name;
    // The value is not used: the reload always starts the map with the empty argument.
    ReadPageAttribute(QStringLiteral("getMapAttributes()"), QStringLiteral("input"),
                      QStringLiteral("attributesfield"), QStringLiteral("value"));
    LoadMap();
    return true;
}
