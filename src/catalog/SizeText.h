#pragma once

#include <QString>
#include <QtGlobal>

// A count or size as every window past the lists shows it, digits grouped
// by three with commas: 2965 -> "2,965", 0 -> "0". The same in every locale.
QString NumberText(qint64 value);

// The byte count with thousands commas, "" for 0: 1234567 -> "1,234,567".
QString ShortSizeText(qint64 bytes);

// The short text, " Byte (", the size in KB with at most two decimals (no
// leading zero, the point always kept), " KB)":
// 1234567 -> "1,234,567 Byte (1,205.63 KB)", 2048 -> "2,048 Byte (2. KB)",
// 512 -> "512 Byte (.5 KB)". An empty file shows "0." KB so the brackets
// are never empty: " Byte (0. KB)". The same in every locale.
QString LongSizeText(qint64 bytes);
