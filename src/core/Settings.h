#pragma once

#include <QString>
#include <cstdint>

// The persisted preferences and window placement: one field per value of the
// settings key. Positions and sizes are in twips.
struct Settings {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 12000;
    std::int32_t Height = 9000;
    std::int32_t MaxWindow = 0;
    std::int32_t WindowState = 0;
    std::int32_t StartupOverall = 1;
    std::int32_t StartupIndexof = 0;
    std::int32_t EndQuestion = 1;
    std::int32_t SampleText = 0;
    QString SampleTextStrings;
    std::int32_t SampleTextSize = 81;
    std::int32_t SampleTextColor = 0;
    std::int32_t AlwaysTop = 0;
    std::int32_t Printer = 0;
    QString CurrentFileCSV;
    QString CurrentFileGFC;
    std::int32_t PreviewText = 0;
    QString PreviewTextStrings;
};
