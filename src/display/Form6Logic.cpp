#include "display/Form6Logic.h"

#include <algorithm>

namespace {

std::int32_t boxFrom(std::int32_t setting)
{
    return setting == 1 ? 1 : 0;
}

} // namespace

Form6Controls LoadForm6Controls(const Settings& settings, const SystemInfo& info)
{
    Form6Controls c;
    c.StartupOverall = boxFrom(settings.StartupOverall);
    c.StartupIndexof = boxFrom(settings.StartupIndexof);
    c.MaxWindow = boxFrom(settings.MaxWindow);
    c.EndQuestion = boxFrom(settings.EndQuestion);
    c.SampleText = boxFrom(settings.SampleText);
    c.SampleTextStrings = settings.SampleTextStrings;
    // Only a hand-edited value lies outside the bar's range; the bar holds it
    // at the nearest end.
    c.SampleTextSize = std::clamp<std::int32_t>(settings.SampleTextSize, 1, 100);
    c.SampleTextColor = settings.SampleTextColor;
    c.PreviewText = boxFrom(settings.PreviewText);
    c.PreviewTextStrings = settings.PreviewTextStrings;
    c.SmoothingEnabled = info.SmoothingSupported == 1;
    c.Smoothing = c.SmoothingEnabled && info.SmoothingOn == 1 ? 1 : 0;
    return c;
}

QString Form6SizeText(int value)
{
    return QString::number(101 - value) + QStringLiteral(" pt");
}

std::int32_t ToggledSmoothingBox(std::int32_t box)
{
    return box == 1 ? 0 : 1;
}

Form6Result ApplyForm6Controls(const Form6Controls& c, Settings& settings, SystemInfo& info,
                               platform::System& system)
{
    Form6Result result;
    settings.MaxWindow = c.MaxWindow;
    settings.StartupOverall = c.StartupOverall;
    settings.StartupIndexof = c.StartupIndexof;
    settings.EndQuestion = c.EndQuestion;
    settings.SampleText = c.SampleText;
    settings.SampleTextStrings = c.SampleTextStrings;
    settings.SampleTextSize = c.SampleTextSize;
    settings.SampleTextColor = c.SampleTextColor;

    result.previewChanged = c.PreviewTextStrings != settings.PreviewTextStrings
                            || c.PreviewText != settings.PreviewText;
    settings.PreviewTextStrings = c.PreviewTextStrings;
    settings.PreviewText = c.PreviewText;

    if (info.SmoothingSupported == 1) {
        const std::int32_t on = c.Smoothing == 1 ? 1 : 0;
        if (!system.setFontSmoothing(on == 1)) {
            result.smoothingFailed = true;
            return result;
        }
        result.smoothingChanged = info.SmoothingOn != on;
        info.SmoothingOn = on;
    }
    result.accepted = true;
    return result;
}

QFont::StyleStrategy SampleAntialiasing(std::int32_t smoothingOn)
{
    return smoothingOn == 1 ? QFont::PreferAntialias : QFont::NoAntialias;
}
