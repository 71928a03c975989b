#pragma once

#include "map/stationmarker.h"
#include "platform/config.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class MapBrowser;
class MessageSink;

// The map unit: builds the map host page, loads it into the browser, places station
// markers through the remote map script and switches the map provider.
class ZarnMap final
{
public:
    static constexpr const char* InitialProvider = "YAHOO";
    static constexpr const char* RemoteScriptPath = "/zarnweb/Report/zarnmap.js";
    static constexpr const char* NoConnectionMessage =
        "You need an internet connection to see the map";

    using ConnectionCheck = std::function<bool()>;

    // The connection check defaults to IsInternetConnected.
    ZarnMap(const Config& config, MapBrowser& browser, MessageSink& messages,
            ConnectionCheck connectionCheck = {});

    const QString& providerName() const { return m_provider; }

    // The page lines for the current provider (21, or 20 for a provider name that
    // matches none of the three APIs).
    QStringList BuildMapPage(const QString& initArgument) const;
    static QStringList mapPageLines(const Config& config, const QString& provider,
                                    const QString& initArgument);
    // The lines as the browser receives them: each followed by CR LF, 8-bit, no BOM.
    static QByteArray pageText(const QStringList& lines);
    // The provider's API script address; empty for an unknown provider name.
    static QString providerApiAddress(const Config& config, const QString& provider);
    static QString remoteScriptUrl(const Config& config);

    // Loads the page with the empty init argument: the internet check, about:blank, the
    // wait for an interactive document, then the page text. Does not wait for the page's
    // own scripts.
    void LoadMap();

    // Runs the marker call for a station. A failing script raises its description; a
    // station without a numeric position raises an error before anything runs.
    void ShowStationMarker(const StationMarker& station);

    // Runs scriptText in the page, then returns the attribute of the last element below
    // the body with that tag name (any case) and exactly that id; empty when none.
    QString ReadPageAttribute(const QString& scriptText, const QString& tagName,
                              const QString& elementId, const QString& attributeName);

    // The provider switch: a new upper-cased item text is stored, the page is asked for
    // its map attributes and reloaded. Returns whether the page was reloaded.
    bool AdvOfficeRadioGroup1Click(const QString& selectedItemText);

private:
    void runScript(const QString& script);

    Config m_config;
    MapBrowser& m_browser;
    MessageSink& m_messages;
    ConnectionCheck m_connectionCheck;
    QString m_provider = QString::fromLatin1(InitialProvider);
};
