#include "formats/ComparisonFile.h"

#include "formats/Cp932Text.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <limits>

namespace comparison_file {

namespace {

// 2 × c must fit its 16-bit field.
constexpr qsizetype MaximumUnits = 0x7FFF;

void appendLittle16(QByteArray& bytes, quint16 value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char(value >> 8));
}

void appendLittle32(QByteArray& bytes, qint32 value)
{
    const auto raw = quint32(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((raw >> shift) & 0xFF));
}

quint16 little16(QByteArrayView bytes, qsizetype at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

} // namespace

qint32 storedSize(qint64 sizeBytes)
{
    return qint32(std::clamp<qint64>(sizeBytes, 0, std::numeric_limits<qint32>::max()));
}

Writer::Writer()
{
    m_bytes.append(Magic, 3);
}

bool Writer::addRecord(const QString& fullName, qint64 sizeBytes)
{
    const QString name = fullName.left(MaximumUnits);
    const qsizetype units = name.size();
    const Cp932Text encoded = EncodeForFile(name);
    // Code page 932 never needs more than two bytes for one UTF-16 unit; the
    // cut only guards the record layout.
    const QByteArray text = encoded.bytes.left(2 * units);

    appendLittle16(m_bytes, RecordMarker);
    appendLittle16(m_bytes, quint16(2 * units));
    appendLittle16(m_bytes, quint16(units));
    m_bytes.append(text);
    m_bytes.append(QByteArray(2 * units - text.size(), '\0'));
    appendLittle32(m_bytes, storedSize(sizeBytes));

    const bool exact = !encoded.substituted && fullName.size() == units;
    if (!exact)
        ++m_substituted;
    return exact;
}

QByteArray Writer::finish()
{
    appendLittle16(m_bytes, EndMarker);
    return m_bytes;
}

Reader::Reader(QByteArrayView bytes)
    : m_bytes(bytes)
{
}

bool Reader::magicOk() const
{
    return m_bytes.size() >= 3 && m_bytes.first(3) == QByteArrayView(Magic, 3);
}

Reader::Step Reader::next(QString& name)
{
    qint32 sizeBytes = 0;
    return next(name, sizeBytes);
}

Reader::Step Reader::next(QString& name, qint32& sizeBytes)
{
    const qsizetype left = m_bytes.size() - m_position;
    if (left <= 0)
        return Step::EndOfFile;
    // The markers are 16-bit values; a lone last byte 255 still ends the
    // file as the end marker's first byte does.
    const quint8 marker = quint8(m_bytes[m_position]);
    if (marker == EndMarker)
        return Step::End;
    if (marker != RecordMarker)
        return Step::Damaged;
    if (left < 6)
        return Step::Cut;

    const qsizetype span = little16(m_bytes, m_position + 2);
    const qsizetype units = little16(m_bytes, m_position + 4);
    if (span != 2 * units)
        return Step::Damaged;
    if (left < 10 + span)
        return Step::Cut;

    // The name ends at its first zero byte; no byte of a double-byte
    // character is zero, so the padding cannot cut one.
    QByteArrayView text = m_bytes.sliced(m_position + 6, span);
    if (const qsizetype zero = text.indexOf('\0'); zero >= 0)
        text = text.first(zero);
    const std::optional<QString> decoded = platform::decodeCp932(text.toByteArray());
    if (!decoded || decoded->size() > units)
        return Step::Damaged;

    name = *decoded;
    const qsizetype sizeAt = m_position + 6 + span;
    sizeBytes = qint32(quint32(little16(m_bytes, sizeAt)) | quint32(little16(m_bytes, sizeAt + 2)) << 16);
    m_position += 10 + span;
    return Step::Name;
}

Contents read(QByteArrayView bytes)
{
    Contents contents;
    Reader reader(bytes);
    contents.magicOk = reader.magicOk();
    if (!contents.magicOk)
        return contents;
    QString name;
    qint32 sizeBytes = 0;
    Reader::Step step;
    while ((step = reader.next(name, sizeBytes)) == Reader::Step::Name) {
        contents.names.append(name);
        contents.sizes.append(sizeBytes);
    }
    contents.ending = step;
    return contents;
}

} // namespace comparison_file
