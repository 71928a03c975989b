#pragma once

#include <QString>

#include <functional>

class QIODevice;

// Writes a file completely or not at all: the writer fills a temporary file beside the
// target, which replaces the target only when every byte was written. Raises
// StradexError with the reason when the file cannot be written; the target is then as
// it was before.
void writeFileAtomically(const QString& path, const std::function<void(QIODevice&)>& write);
