#include "formats/FontNameFiles.h"

#include "catalog/FontFileLookup.h"
#include "formats/ComparisonFile.h"
#include "formats/CsvExport.h"
#include "formats/FileStore.h"

QString SubstitutedNamesNotice(int substituted)
{
    return QString::number(substituted)
           + QStringLiteral(" 個のフォント名に、ファイルの文字コード (Shift_JIS) で表せない文字がありました。")
           + QStringLiteral("\r\r") + QStringLiteral("それらの文字は置き換えて保存しました。");
}

FontNameFileContent MakeFontNameFile(FontNameFileKind kind, const QStringList& names, const FontFileLookup& lookup,
                                     const std::function<void(qsizetype)>& progress)
{
    FontNameFileContent content;
    CsvExport csv;
    comparison_file::Writer comparison;
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (progress)
            progress(k);
        const QString& name = names.at(k);
        const FontFileInfo file = lookup.LookupFontFile(name);
        if (file.fatalMessage >= 0) {
            content.fatalMessage = file.fatalMessage;
            return content;
        }
        if (kind == FontNameFileKind::Csv)
            csv.addRow(int(k + 1), name, file.sizeBytes, file.filePath);
        else
            comparison.addRecord(name, file.sizeBytes);
    }
    content.bytes = kind == FontNameFileKind::Csv ? csv.finish() : comparison.finish();
    content.substituted = kind == FontNameFileKind::Csv ? csv.substitutedRows() : comparison.substitutedNames();
    return content;
}

FontSetFile ReadFontSetFile(const QString& path)
{
    FontSetFile result;
    FileBytes file;
    if (const FileResult opened = file.open(path); !opened.ok) {
        result.status = FontSetFile::Status::Unreadable;
        result.reason = opened.reason;
        return result;
    }
    comparison_file::Contents contents = comparison_file::read(file.bytes());
    using Step = comparison_file::Reader::Step;
    if (!contents.magicOk) {
        result.status = FontSetFile::Status::NotComparisonFile;
        return result;
    }
    if (contents.ending == Step::Damaged) {
        result.status = FontSetFile::Status::Damaged;
        return result;
    }
    if (contents.ending == Step::Cut)
        result.status = FontSetFile::Status::Cut;
    result.names = std::move(contents.names);
    result.sizes.reserve(contents.sizes.size());
    for (const qint32 size : std::as_const(contents.sizes))
        result.sizes.append(size);
    return result;
}

bool IsComparisonFile(const QString& path)
{
    if (path.endsWith(QLatin1String(".gfc"), Qt::CaseInsensitive))
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(3) == "GFC";
}
