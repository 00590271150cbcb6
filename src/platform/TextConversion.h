#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The platform's narrow conversion: full-width Latin letters, digits, symbols
// and the ideographic space become ASCII, full-width katakana become
// half-width katakana (voiced marks split off); letter case is kept.
QString toHalfWidth(const QString& text);

struct Cp932Encoding {
    QByteArray bytes;
    // Characters code page 932 cannot hold, in order of appearance; the
    // bytes then hold a substitute for each and must not be trusted.
    QString unmappable;
    bool ok() const { return unmappable.isEmpty(); }
};

Cp932Encoding encodeCp932(const QString& text);
// nullopt when the bytes are not valid code page 932 (a cut double-byte
// character included).
std::optional<QString> decodeCp932(const QByteArray& bytes);

} // namespace platform
