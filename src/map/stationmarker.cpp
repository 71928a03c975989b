#include "map/stationmarker.h"

#include <QRegularExpression>

bool StationMarker::hasPosition() const
{
    static const QRegularExpression number(
        QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?$"));
    return number.match(latitude).hasMatch() && number.match(longitude).hasMatch();
}

QString StationMarker::quotedContent(const QString& value)
{
    QString out;
    out.reserve(value.size() + 2);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        // JavaScript also ends a line at these two.
        case 0x2028:
            out += QLatin1String("\\u2028");
            break;
        case 0x2029:
            out += QLatin1String("\\u2029");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString StationMarker::script() const
{
    QString s = QLatin1String("addMarker(") + latitude + QLatin1Char(',') + longitude +
                QLatin1String(",createHtmlContent(");
    const QString* content[] = {&stationNumber, &sri,  &milePost,  &municipality,
                                &streetName,    &aadt, &imageNames};
    bool first = true;
    for (const QString* value : content) {
        if (!first)
            s += QLatin1Char(',');
        first = false;
        s += QLatin1Char('"') + quotedContent(*value) + QLatin1Char('"');
    }
    return s + QLatin1String("))");
}
