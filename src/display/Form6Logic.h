#pragma once

#include "core/Settings.h"
#include "core/SystemInfo.h"
#include "platform/System.h"

#include <QFont>
#include <QString>
#include <cstdint>

// Rules of the preferences dialog that need no window.

// What the dialog's controls hold; check boxes as 0 (unticked) or 1 (ticked).
struct Form6Controls {
    std::int32_t StartupOverall = 0;   // Check1(11)
    std::int32_t StartupIndexof = 0;   // Check1(10)
    std::int32_t MaxWindow = 0;        // Check1(9)
    std::int32_t EndQuestion = 0;      // Check1(7)
    std::int32_t SampleText = 0;       // Check1(12)
    QString SampleTextStrings;         // Text1, CR LF line breaks
    std::int32_t SampleTextSize = 81;  // VScroll1, points = 101 - value
    std::int32_t SampleTextColor = 0;  // Label3's colour
    std::int32_t PreviewText = 0;      // Check1(0)
    QString PreviewTextStrings;        // Text2
    bool SmoothingEnabled = false;     // Check2 can be worked
    std::int32_t Smoothing = 0;        // Check2
};

// What OK changed beyond the settings, for the window that opened the dialog.
struct Form6Result {
    // OK was pressed and carried out; false after Cancel or a close.
    bool accepted = false;
    // PreviewText or PreviewTextStrings differ from before: an open preview
    // window shows its samples anew.
    bool previewChanged = false;
    // The smoothing state differs from before: samples are drawn anew.
    bool smoothingChanged = false;
    // The platform refused the smoothing switch; the caller shows message 2
    // and ends the program.
    bool smoothingFailed = false;
};

// The question asked before the smoothing box changes.
inline const QString SmoothingQuestion =
    QStringLiteral("なめらかフォント設定は、スクリーンフォントの縁をなめらかに") + QLatin1Char('\r')
    + QStringLiteral("するかどうかの設定です。この設定は他のソフトなどにも適応されます。")
    + QStringLiteral("\r\r") + QStringLiteral("設定を変更してもよろしいですか？");

// The controls as the dialog loads them from the settings and system facts.
// The size is kept to the scroll bar's range 1..100.
Form6Controls LoadForm6Controls(const Settings& settings, const SystemInfo& info);

// The size label for a scroll bar value: "20 pt" for 81.
QString Form6SizeText(int value);

// The smoothing box after a Yes: ticked becomes unticked, anything else ticked.
std::int32_t ToggledSmoothingBox(std::int32_t box);

// OK: copies the controls into the settings and, where smoothing can be
// switched, sets it through the platform (whether or not the box changed).
// SmoothingOn follows only a switch that succeeded.
Form6Result ApplyForm6Controls(const Form6Controls& controls, Settings& settings, SystemInfo& info,
                               platform::System& system);

// How samples are drawn for a smoothing state: antialiased when it is on
// (SmoothingOn = 1), with plain pixels otherwise.
QFont::StyleStrategy SampleAntialiasing(std::int32_t smoothingOn);
