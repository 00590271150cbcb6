#pragma once

#include <QFont>

// Smoothing switches antialiasing of the samples this program draws, for
// this run; the system's own setting is left alone.
inline void applySampleSmoothing(QFont& font, bool on)
{
    font.setStyleStrategy(on ? QFont::PreferDefault : QFont::NoAntialias);
}
