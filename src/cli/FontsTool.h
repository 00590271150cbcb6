#pragma once

#include <QStringList>

class QIODevice;

// glyfaro2-fonts: this machine's fonts listed, saved and exported as the
// viewer's File menu writes them, and font sets compared in the inventory's
// four groups. Runs without a display.
//
// Exit status as diff gives it: 0 the same (or done), 1 different, 2 trouble.
inline constexpr int ToolSame = 0;
inline constexpr int ToolDifferent = 1;
inline constexpr int ToolTrouble = 2;

// arguments without the program's name; out and err take UTF-8 text.
int RunFontsTool(const QStringList& arguments, QIODevice& out, QIODevice& err);

// The usage text --help prints.
QString FontsToolUsage();
