#include "photos/imagenames.h"

namespace {

// The code of a character of the text: a UTF-16 unit, or a byte of UTF-8. Every character
// that the rule looks at is ASCII, so both forms split alike.
unsigned code(QChar c)
{
    return c.unicode();
}
unsigned code(char c)
{
    return static_cast<unsigned char>(c);
}

bool isBlank(unsigned c)
{
    return c >= 1 && c <= 32;
}

QString piece(const QString& text, qsizetype from, qsizetype n)
{
    return text.mid(from, n);
}
QByteArray piece(QByteArrayView text, qsizetype from, qsizetype n)
{
    return text.sliced(from, n).toByteArray();
}

template <typename Name, typename Text> QList<Name> splitNames(const Text& text)
{
    QList<Name> names;
    // The text ends at a NUL character: a name cannot start there, so going on past it
    // would never advance.
    qsizetype n = 0;
    while (n < text.size() && code(text.at(n)) != 0)
        ++n;
    qsizetype i = 0;
    while (i < n && isBlank(code(text.at(i))))
        ++i;
    while (i < n) {
        Name name;
        if (code(text.at(i)) == '"') {
            ++i;
            while (i < n) {
                if (code(text.at(i)) == '"') {
                    if (i + 1 < n && code(text.at(i + 1)) == '"') {
                        name += text.at(i);
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
            while (i < n && code(text.at(i)) != ',' && code(text.at(i)) > 32)
                ++i;
            name = piece(text, start, i - start);
        }
        names << name;
        while (i < n && isBlank(code(text.at(i))))
            ++i;
        if (i < n && code(text.at(i)) == ',') {
            if (i == n - 1)
                names << Name();
            ++i;
            while (i < n && isBlank(code(text.at(i))))
                ++i;
        }
    }
    return names;
}

} // namespace

QStringList ImageNames::split(const QString& text)
{
    return splitNames<QString>(text);
}

QList<QByteArray> ImageNames::split(QByteArrayView utf8)
{
    return splitNames<QByteArray>(utf8);
}

QString ImageNames::photoAddress(const QString& photoServer, const QString& name)
{
    return photoServer + name + QStringLiteral(".jpg");
}

QString ImageNames::thumbnailAddress(const QString& photoServer, const QString& name)
{
    return photoServer + name + QStringLiteral("-tb.jpg");
}
