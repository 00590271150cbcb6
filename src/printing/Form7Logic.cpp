#include "printing/Form7Logic.h"

#include <algorithm>

QPoint Form7Position(const QRect& mainWindow, const QSize& dialog)
{
    const int left = mainWindow.width() / 2 - dialog.width() / 2 + mainWindow.left();
    const int top = mainWindow.height() / 2 - dialog.height() / 2 + mainWindow.top();
    return {std::max(0, left), std::max(0, top)};
}

int CopiesValue(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    long long value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i)
        value = std::min<long long>(value * 10 + (text.at(i).unicode() - '0'), 1 << 30);
    return int(value);
}

bool CopiesKeyAccepted(QChar typed)
{
    return typed == QChar(13) || typed == QChar(8) || (typed >= QLatin1Char('0') && typed <= QLatin1Char('9'));
}
