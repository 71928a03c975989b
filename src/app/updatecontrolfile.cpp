#include "app/updatecontrolfile.h"

#include "platform/stradexerror.h"

#include <QList>

#include <algorithm>
#include <cctype>

namespace {
QList<quint32> versionParts(const QString& version)
{
    QList<quint32> parts;
    if (version.isEmpty())
        return parts;
    const QStringList texts = version.split(QLatin1Char('.'));
    if (texts.size() > 4)
        throw StradexError(QStringLiteral("\"%1\" is not a version number.").arg(version));
    for (const QString& t : texts) {
        bool ok = false;
        const uint n = t.toUInt(&ok);
        // toUInt accepts blanks and signs; a version part is plain digits.
        const bool digits =
            !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
        if (!ok || !digits || n > 0xFFFFu)
            throw StradexError(QStringLiteral("\"%1\" is not a version number.").arg(version));
        parts << n;
    }
    return parts;
}

QString unreadable(const QString& why)
{
    return QStringLiteral("The update information is not readable: %1.").arg(why);
}
} // namespace

int compareVersions(const QString& a, const QString& b)
{
    const QList<quint32> pa = versionParts(a);
    const QList<quint32> pb = versionParts(b);
    if (pa.isEmpty() || pb.isEmpty())
        return int(!pa.isEmpty()) - int(!pb.isEmpty());
    for (int i = 0; i < 4; ++i) {
        const quint32 x = i < pa.size() ? pa.at(i) : 0;
        const quint32 y = i < pb.size() ? pb.at(i) : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

UpdateControlFile UpdateControlFile::parse(const QByteArray& text)
{
    UpdateControlFile f;
    bool hasDate = false;
    bool hasSum = false;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines.at(i)).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw StradexError(
                unreadable(QStringLiteral("line %1 is not \"name=value\"").arg(i + 1)));
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("version")) {
            try {
                versionParts(value);
            } catch (const StradexError&) {
                throw StradexError(
                    unreadable(QStringLiteral("\"%1\" is not a version number").arg(value)));
            }
            f.version = value;
        } else if (key == QLatin1String("date")) {
            f.date = QDate::fromString(value, QLatin1String(DateFormat));
            if (!f.date.isValid())
                throw StradexError(
                    unreadable(QStringLiteral("\"%1\" is not a date dd/mm/yyyy").arg(value)));
            hasDate = true;
        } else if (key == QLatin1String("file")) {
            f.file = value;
        } else if (key == QLatin1String("sha256")) {
            const QByteArray hex = value.toLatin1();
            const bool isHex = hex.size() == 64 && std::all_of(hex.begin(), hex.end(), [](char c) {
                                   return std::isxdigit(static_cast<unsigned char>(c));
                               });
            if (!isHex)
                throw StradexError(
                    unreadable(QStringLiteral("the checksum is not 64 hexadecimal digits")));
            f.sha256 = QByteArray::fromHex(hex);
            hasSum = true;
        }
        // Other names are left for later versions of the file.
    }
    if (f.version.isEmpty())
        throw StradexError(unreadable(QStringLiteral("it names no version")));
    if (!hasDate)
        throw StradexError(unreadable(QStringLiteral("it gives no date")));
    if (f.file.isEmpty())
        throw StradexError(unreadable(QStringLiteral("it names no file")));
    if (!hasSum)
        throw StradexError(unreadable(QStringLiteral("it gives no checksum")));
    return f;
}

QByteArray UpdateControlFile::serialize() const
{
    QByteArray out("# Stradex update control file\n");
    out += "version=" + version.toUtf8() + '\n';
    out += "date=" + date.toString(QLatin1String(DateFormat)).toUtf8() + '\n';
    out += "file=" + file.toUtf8() + '\n';
    out += "sha256=" + sha256.toHex() + '\n';
    return out;
}
