#include "photos/imagenames.h"

namespace {
bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}
} // namespace

QStringList ImageNames::split(const QString& text)
{
    QStringList names;
    // The text ends at a NUL character: a name cannot start there, so going on past it
    // would never advance.
    const qsizetype nul = text.indexOf(QChar(0));
    const qsizetype n = nul < 0 ? text.size() : nul;
    qsizetype i = 0;
    while (i < n && isBlank(text.at(i)))
        ++i;
    while (i < n) {
        QString name;
        if (text.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        name += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i; // the closing quote
                    break;
                }
                name += text.at(i++);
            }
        } else {
            const qsizetype start = i;
            while (i < n && text.at(i) != QLatin1Char(',') && text.at(i).unicode() > 32)
                ++i;
            name = text.mid(start, i - start);
        }
        names << name;
        while (i < n && isBlank(text.at(i)))
            ++i;
        if (i < n && text.at(i) == QLatin1Char(',')) {
            if (i == n - 1)
                names << QString();
            ++i;
            while (i < n && isBlank(text.at(i)))
                ++i;
        }
    }
    return names;
}

QString ImageNames::photoAddress(const QString& photoServer, const QString& name)
{
    return photoServer + name + QStringLiteral(".jpg");
}

QString ImageNames::thumbnailAddress(const QString& photoServer, const QString& name)
{
    return photoServer + name + QStringLiteral("-tb.jpg");
}
