#include "app/updatecheck.h"

#include "app/version.h"
#include "platform/config.h"
#include "platform/messagesink.h"

const char* const LatestVersionMessage = "You have the latest version of Stradex";

WebUpdate::Settings updateCheckSettings(const Config& config)
{
    WebUpdate::Settings s;
    s.url = config.reportServer + QStringLiteral("/zarnweb/Report/stradex.inf");
    s.agent = QStringLiteral("TWebUpdate");
    s.runningVersion = versionString();
    return s;
}

void showUpdateStatus(MessageSink& messages, int statusCode)
{
    if (statusCode == WebUpdate::NoNewVersion)
        messages.information(QString::fromLatin1(LatestVersionMessage));
}
