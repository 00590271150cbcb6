#pragma once

#include <QStringList>

class QIODevice;

// glyfaro2-fonts install, remove, disable, enable and status: font files put
// into and taken out of the user's font folder, and fonts switched off and
// on, with the same steps the viewer's font-file window takes.
// Exit status: 0 done (status: installed), 1 nothing to do (status: not
// installed), 2 trouble.
bool IsFontFileCommand(const QString& command);
int RunFontFileCommand(const QString& command, const QStringList& arguments, QIODevice& out, QIODevice& err);
