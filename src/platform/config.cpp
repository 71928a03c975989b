#include "platform/config.h"

#include "stradexconfig.h"

Config Config::defaults()
{
    Config c;
    c.reportServer = QStringLiteral(STRADEX_REPORT_SERVER);
    c.photoServer = QStringLiteral(STRADEX_PHOTO_SERVER);
    c.googleMapsHost = QStringLiteral(STRADEX_GOOGLE_MAPS_HOST);
    c.yahooMapsHost = QStringLiteral(STRADEX_YAHOO_MAPS_HOST);
    c.microsoftMapsHost = QStringLiteral(STRADEX_MICROSOFT_MAPS_HOST);
    c.reportMapsHost = QStringLiteral(STRADEX_REPORT_MAPS_HOST);
    c.mapSearchPage = QStringLiteral(STRADEX_MAP_SEARCH_PAGE);
    c.slideShowPluginPage = QStringLiteral(STRADEX_SLIDESHOW_PLUGIN_PAGE);
    c.headerImageUrl = QStringLiteral(STRADEX_HEADER_IMAGE_URL);
    c.yahooAppId = QStringLiteral(STRADEX_YAHOO_APP_ID);
    c.locationMapApiKey = QStringLiteral(STRADEX_LOC_MAP_API_KEY);
    c.supportMail = QStringLiteral(STRADEX_SUPPORT_MAIL);
    c.aboutKeySequence = QStringLiteral(STRADEX_ABOUT_KEYS);
    c.rightsNotice = QStringLiteral(STRADEX_RIGHTS_NOTICE);
    c.reportNotice = QStringLiteral(STRADEX_REPORT_NOTICE);
    c.reportMapCenterLatitude = QStringLiteral(STRADEX_REPORT_MAP_CENTER_LAT);
    c.reportMapCenterLongitude = QStringLiteral(STRADEX_REPORT_MAP_CENTER_LON);
    return c;
}
