#include "display/Form5Logic.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

QString Form5Caption(const QString& fontName, int points)
{
    return QStringLiteral("個別表示 / ") + fontName + QStringLiteral(" (") + QString::number(points)
        + QStringLiteral("pt)");
}

namespace {

int hexByte(const char* digits)
{
    const char pair[3] = {digits[0], digits[1], '\0'};
    return int(std::strtol(pair, nullptr, 16));
}

} // namespace

std::uint32_t RebuildColor(std::uint32_t color)
{
    // A value above 24 bits would give more than six digits and shift every
    // channel; such values are not colours, so only the colour bits count.
    char text[16];
    std::snprintf(text, sizeof text, "%06X", unsigned(color & 0xFFFFFFu));
    const int blue = hexByte(text);
    const int green = hexByte(text + 2);
    const int red = hexByte(text + 4);
    return std::uint32_t(red + 256 * green + 65536 * blue);
}

int StartPointSize(std::int32_t sampleTextSize)
{
    // 64-bit arithmetic: 101 - INT32_MIN does not fit in 32 bits.
    const std::int64_t points = 101 - std::int64_t(sampleTextSize);
    return int(std::clamp<std::int64_t>(points, 1, 100));
}

QString LoadSampleText(const QString& stored)
{
    static const QString lineEnd = QStringLiteral("\r\n");
    QString box;
    qsizetype start = 0;
    for (qsizetype end = stored.indexOf(lineEnd); end >= 0; end = stored.indexOf(lineEnd, start)) {
        box += stored.mid(start, end - start) + lineEnd;
        start = end + lineEnd.size();
    }
    box += stored.mid(start);
    return box;
}

QString BoxLinesFromText(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}

QString TextFromBoxLines(const QString& lines)
{
    QString text = lines;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString PrintTextFor(const QString& boxText)
{
    const qsizetype cr = boxText.indexOf(QLatin1Char('\r'));
    const QString firstLine = cr < 0 ? boxText : boxText.left(cr);
    return firstLine.isEmpty() ? Form5DefaultPrintText : firstLine;
}

Form5Layout Form5LayoutFor(int outerWidthTwips, int outerHeightTwips)
{
    Form5Layout l;
    l.outerWidth = std::max(outerWidthTwips, Form5MinimumOuterWidth);
    l.outerHeight = std::max(outerHeightTwips, Form5MinimumOuterHeight);
    l.text1Height = l.outerHeight - 2225;
    l.slider1Top = l.text1Height + 440;
    l.label1Top = l.text1Height + 900;
    l.label2Top = l.label1Top;
    l.check1Top = l.label1Top + 310;
    l.check2Top = l.check1Top + 280;
    l.label3Top = l.check1Top;
    l.command1Top = l.check1Top;
    l.text1Width = l.outerWidth - 375;
    l.combo1Width = l.text1Width;
    l.slider1Width = l.text1Width + 240;
    l.label2Left = l.outerWidth - 620;
    l.command2Left = l.text1Width - 970;
    l.command2Top = l.text1Height + 1330;
    return l;
}
