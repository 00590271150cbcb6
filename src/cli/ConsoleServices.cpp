#include "cli/ConsoleServices.h"

#include "cli/FontsTool.h"

#include <QIODevice>

int ConsoleDialogs::messageBox(const QString& text, int style, const QString& title)
{
    Q_UNUSED(title);
    // The boxes' line breaks are CR; a terminal wants LF.
    QString line = text;
    line.replace(QStringLiteral("\r\r"), QStringLiteral("\n")).replace(u'\r', u'\n');
    m_err.write((line + u'\n').toUtf8());
    return (style & 0x7) == platform::MbYesNo ? platform::AnswerYes : platform::AnswerOk;
}

void Say(QIODevice& device, const QString& text)
{
    device.write(text.toUtf8());
}

int SayTrouble(QIODevice& err, const QString& text)
{
    Say(err, ToolName + QStringLiteral(": ") + text + u'\n');
    return ToolTrouble;
}
