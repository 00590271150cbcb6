#pragma once

#include <QString>

// A font name as one line of a list, heading or printed row. Font files may
// carry control characters in their names (a tab, CR LF, escape); drawn as
// they are they break a row into several lines or move the columns after
// it. Each becomes its visible symbol instead, so the row stays one line and
// the user still sees that the name holds one. Anything else is kept.
QString OneLineText(const QString& text);
