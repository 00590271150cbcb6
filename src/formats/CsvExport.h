#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The comma-separated list of all fonts, in code page 932 with CR LF line
// ends: a header line, one line per font, and "EOF".
class CsvExport {
public:
    CsvExport();
    // False when code page 932 cannot hold the whole row; it then holds the
    // encoder's substitute for each such character.
    bool addRow(int number, const QString& fontName, qint64 sizeBytes, const QString& filePath);
    QByteArray finish();
    int substitutedRows() const { return m_substituted; }

    // A field as it goes into a row: quoted only when it holds a comma, a
    // double quote or a line break, so that it stays one field.
    static QString field(const QString& text);
    // A whole table in the same form: each row's fields quoted as needed,
    // then "EOF".
    static QByteArray table(const QList<QStringList>& rows);

private:
    void appendLine(const QString& line);

    QByteArray m_bytes;
    int m_substituted = 0;
};
