#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A character as a user names it in the character map's go-to field: the
// character itself ("辻", "𠮷"), its code point ("U+8FBB"), its JIS place
// ("36-52" in JIS X 0208, "1-47-82" with the plane) or its Shift_JIS code
// ("92D2", "31").
struct CharacterReference {
    std::optional<char32_t> character;
    // Why the text names no character; empty when it names one.
    QString error;
};
CharacterReference ParseCharacterReference(const QString& text);

// The Shift_JIS code as a Japanese user writes it: "31" for a one-byte
// character, "92D2" for a two-byte one; empty outside Shift_JIS.
QString ShiftJisText(char32_t character);

// A character's codes, a fact a line: "U+2252", its JIS place ("区点 02-66",
// "面区点 1-47-82") and "Shift_JIS 81E0", or that JIS and Shift_JIS lack it.
QStringList CharacterCodes(char32_t character);
