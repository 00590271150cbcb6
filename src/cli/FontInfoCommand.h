#pragma once

#include <QString>

class QIODevice;

// glyfaro2-fonts info [--json] NAME|FILE: for each face of an installed
// family or a font file, its names, version, format, embedding permission,
// glyph forms, variation sequences and coverage of the Japanese sets.
// 0, or 2 for trouble with a message.
int RunFontInfo(const QString& argument, bool json, QIODevice& out, QIODevice& err);
