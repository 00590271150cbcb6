#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The binary font-name comparison file: "GFC", one record per name
// (marker 254, 2 × c, c, the name in code page 932 padded with zeros to
// 2 × c bytes, the file size as signed 32 bits), then the end marker 255.
// All numbers are little-endian; c counts UTF-16 code units.
namespace comparison_file {

inline constexpr char Magic[] = "GFC";
inline constexpr quint16 RecordMarker = 254;
inline constexpr quint16 EndMarker = 255;

// A file size as its record holds it: the field is signed 32 bits, so a
// larger size is held at the largest value rather than wrapped.
qint32 storedSize(qint64 sizeBytes);

// Builds a file in memory, one record at a time.
class Writer {
public:
    Writer();
    // False when code page 932 cannot hold the whole name: the record then
    // holds the encoder's substitute for each such character.
    bool addRecord(const QString& name, qint64 sizeBytes);
    // The finished file, end marker included.
    QByteArray finish();
    int substitutedNames() const { return m_substituted; }

private:
    QByteArray m_bytes;
    int m_substituted = 0;
};

// Walks a file's records. It never reads outside the bytes it is given and
// checks every length field against what is left.
class Reader {
public:
    enum class Step {
        Name,       // a record was read
        End,        // the end marker
        EndOfFile,  // the bytes end where the next record would start
        Cut,        // the bytes end inside a record
        Damaged,    // a marker other than 254 or 255, or a record that is no name
    };

    explicit Reader(QByteArrayView bytes);
    bool magicOk() const;
    // Offset of the next record.
    qsizetype position() const { return m_position; }
    Step next(QString& name);
    // The same, with the file size the record holds.
    Step next(QString& name, qint32& sizeBytes);

private:
    QByteArrayView m_bytes;
    qsizetype m_position = 3;
};

struct Contents {
    bool magicOk = false;
    Reader::Step ending = Reader::Step::End;
    // The names read up to where reading stopped, in file order.
    QStringList names;
    // Each name's file size, in the same order.
    QList<qint32> sizes;
};

// Reads a whole file at once.
Contents read(QByteArrayView bytes);

} // namespace comparison_file
