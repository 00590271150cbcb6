#pragma once

#include <QString>
#include <functional>

// Turns a font's name as the lists show it into the family to draw it with.
// Empty means the names are drawn as they stand.
using DrawingFamily = std::function<QString(const QString&)>;

inline QString drawingFamilyOf(const DrawingFamily& drawing, const QString& name)
{
    return drawing ? drawing(name) : name;
}
