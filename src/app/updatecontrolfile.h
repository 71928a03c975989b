#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// The update control file on the report server: which version of the program is the
// newest, its release date, where to get it and the SHA-256 checksum of that file.
//
//   # comments and blank lines are ignored; keys are case-insensitive
//   version=3.1.0.0
//   date=01/06/2009
//   file=download/Stradex-3.1.0.0.tar.gz
//   sha256=<64 hexadecimal digits>
//
// "file" is an absolute address or one relative to the control file's address.
struct UpdateControlFile
{
    QString version;
    QDate date;
    QString file;
    QByteArray sha256; // 32 raw bytes

    // Reads a control file; throws StradexError naming the first fault.
    static UpdateControlFile parse(const QByteArray& text);
    // Writes the control file in the form that parse() reads.
    QByteArray serialize() const;

    static constexpr const char* DateFormat = "dd/MM/yyyy";
};

// Compares two dotted version numbers part by part (missing parts count as 0):
// negative when a is older than b, 0 when equal, positive when newer. An empty text is
// the oldest version. Throws StradexError when a text is not a dotted number.
int compareVersions(const QString& a, const QString& b);
