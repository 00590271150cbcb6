#pragma once

#include <QString>
#include <cstdint>

// Rules of the individual font view that need no window. Geometry is in
// twips; colours are 0x00BBGGRR.

// The text the view's text box opens with when no custom text is set.
inline const QString Form5DesignText =
    QStringLiteral("任意の文字を入力してください。\r\nInput an optional character. \r\n");

// The text printed when the box's first line is empty.
inline const QString Form5DefaultPrintText = QStringLiteral("任意の文字を入力してください。");

// The caption before any font has been chosen.
inline const QString Form5DesignCaption = QStringLiteral("個別表示");

// "個別表示 / " + name + " (" + points + "pt)".
QString Form5Caption(const QString& fontName, int points);

// Passes a colour through its hexadecimal text (blue, green, red digits) and
// back. Only the low 24 bits take part, so the result is always a plain
// colour; for every plain colour the result is the colour itself.
std::uint32_t RebuildColor(std::uint32_t color);

// The slider position a new view opens with: the stored size is held
// inverted (points = 101 - value). Only hand-edited settings can lie outside
// 1..100; those are clamped so the slider and the font stay valid.
int StartPointSize(std::int32_t sampleTextSize);

// The custom text as the box receives it: appended line by line, each line
// with its CR LF, the remainder last. Equals the stored text.
QString LoadSampleText(const QString& stored);

// A multi-line text box separates its lines with LF; the settings and the
// windows exchange texts with CR LF line breaks.
QString BoxLinesFromText(const QString& text);
QString TextFromBoxLines(const QString& lines);

// The text handed to the glyph printout: the box text up to its first CR,
// or the default text when that is empty.
QString PrintTextFor(const QString& boxText);

// Where the resize rule puts the controls for an outer window size.
struct Form5Layout {
    int outerWidth = 0;   // after the minimum has been applied
    int outerHeight = 0;
    int text1Width = 0;
    int text1Height = 0;
    int combo1Width = 0;
    int slider1Top = 0;
    int slider1Width = 0;
    int label1Top = 0;
    int label2Top = 0;
    int label2Left = 0;
    int check1Top = 0;
    int check2Top = 0;
    int label3Top = 0;
    int command1Top = 0;
    int command2Left = 0;
    int command2Top = 0;
};

inline constexpr int Form5MinimumOuterWidth = 4410;
inline constexpr int Form5MinimumOuterHeight = 3000;

Form5Layout Form5LayoutFor(int outerWidthTwips, int outerHeightTwips);
