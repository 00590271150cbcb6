#include "formats/CsvExport.h"

#include "formats/Cp932Text.h"

namespace {

const QString Header = QStringLiteral("Index,フォント名,ファイルサイズ(Byte),ファイル名");

} // namespace

CsvExport::CsvExport()
{
    appendLine(Header);
}

void CsvExport::appendLine(const QString& line)
{
    const Cp932Text encoded = EncodeForFile(line);
    if (encoded.substituted)
        ++m_substituted;
    m_bytes.append(encoded.bytes);
    m_bytes.append("\r\n", 2);
}

bool CsvExport::addRow(int number, const QString& fontName, qint64 sizeBytes, const QString& filePath)
{
    const int before = m_substituted;
    appendLine(QString::number(number) + QLatin1Char(',') + field(fontName) + QLatin1Char(',')
               + QString::number(sizeBytes) + QLatin1Char(',') + field(filePath));
    return m_substituted == before;
}

QByteArray CsvExport::finish()
{
    appendLine(QStringLiteral("EOF"));
    return m_bytes;
}

QByteArray CsvExport::table(const QList<QStringList>& rows)
{
    QByteArray bytes;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& text : row)
            fields << field(text);
        bytes += EncodeForFile(fields.join(QLatin1Char(','))).bytes + "\r\n";
    }
    return bytes + "EOF\r\n";
}

QString CsvExport::field(const QString& text)
{
    const bool needsQuotes = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
                             || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
