#include "cli/FontInfoCommand.h"

#include "cli/FontsTool.h"
#include "face/Coverage.h"
#include "face/FaceReader.h"
#include "fontfiles/FontFileScan.h"

#include <QFileInfo>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

using platform::FontFace;

namespace {

struct FaceReport {
    FontFace face;
    FaceDetails details;
    QList<SetCoverage> coverage;
};

QList<FaceReport> reportsOf(const QList<FontFace>& faces)
{
    QList<FaceReport> reports;
    for (const FontFace& face : faces) {
        FaceReport report{face, ReadFaceDetails(face.path, face.index), {}};
        if (report.details.error.isEmpty())
            report.coverage = CoverageOf(CharactersOfFace(face.path, face.index));
        reports.append(report);
    }
    return reports;
}

QString namesText(const FontFace& face)
{
    QStringList names;
    for (qsizetype i = 0; i < face.families.size(); ++i) {
        const QString language = face.familyLanguages.value(i);
        names << (language.isEmpty() ? face.families.at(i) : face.families.at(i) + QStringLiteral(" (") + language + u')');
    }
    return names.join(QStringLiteral("、"));
}

QString text(const QList<FaceReport>& reports)
{
    QStringList lines;
    for (const FaceReport& report : reports) {
        const FaceDetails& details = report.details;
        lines << FaceTitle(report.face);
        lines << QStringLiteral("  ファイル: ") + report.face.path
                     + (report.face.index > 0 ? QStringLiteral(" (%1 番目)").arg(report.face.index) : QString());
        lines << QStringLiteral("  名前: ") + namesText(report.face);
        if (!details.error.isEmpty()) {
            lines << QStringLiteral("  読み込めません: ") + details.error;
            continue;
        }
        lines << QStringLiteral("  バージョン: ") + details.version;
        lines << QStringLiteral("  形式: ") + details.format;
        lines << QStringLiteral("  埋め込み: ") + EmbeddingText(details.embedding);
        lines << QStringLiteral("  字形: ") + GlyphFormsText(details.forms);
        lines << QStringLiteral("  異体字シーケンス: ") + VariationSequencesText(details.forms);
        for (const SetCoverage& set : report.coverage)
            lines << QStringLiteral("  ") + NameOf(set.set) + QStringLiteral(": ") + CoverageText(set);
    }
    return lines.join(u'\n') + u'\n';
}

QByteArray json(const QList<FaceReport>& reports)
{
    QJsonArray faces;
    for (const FaceReport& report : reports) {
        const FaceDetails& details = report.details;
        QJsonArray names;
        for (qsizetype i = 0; i < report.face.families.size(); ++i)
            names.append(QJsonObject{{QStringLiteral("name"), report.face.families.at(i)},
                                     {QStringLiteral("language"), report.face.familyLanguages.value(i)}});
        QJsonObject face{{QStringLiteral("file"), report.face.path},
                         {QStringLiteral("index"), report.face.index},
                         {QStringLiteral("names"), names},
                         {QStringLiteral("style"), report.face.style}};
        if (!details.error.isEmpty()) {
            face.insert(QStringLiteral("error"), details.error);
            faces.append(face);
            continue;
        }
        QJsonArray selectors;
        for (const char32_t selector : details.forms.selectors)
            selectors.append(qint64(selector));
        QJsonArray coverage;
        for (const SetCoverage& set : report.coverage)
            coverage.append(QJsonObject{{QStringLiteral("set"), NameOf(set.set)},
                                        {QStringLiteral("present"), set.present},
                                        {QStringLiteral("size"), set.size}});
        face.insert(QStringLiteral("version"), details.version);
        face.insert(QStringLiteral("format"), details.format);
        face.insert(QStringLiteral("embedding"), EmbeddingText(details.embedding));
        face.insert(QStringLiteral("glyphForms"),
                    QJsonObject{{QStringLiteral("text"), GlyphFormsText(details.forms)},
                                {QStringLiteral("jp78"), details.forms.jp78},
                                {QStringLiteral("jp83"), details.forms.jp83},
                                {QStringLiteral("jp90"), details.forms.jp90},
                                {QStringLiteral("jp04"), details.forms.jp04}});
        face.insert(QStringLiteral("variationSequences"), details.forms.sequences);
        face.insert(QStringLiteral("variationSelectors"), selectors);
        face.insert(QStringLiteral("coverage"), coverage);
        faces.append(face);
    }
    return QJsonDocument(faces).toJson(QJsonDocument::Indented);
}

} // namespace

int RunFontInfo(const QString& argument, bool asJson, QIODevice& out, QIODevice& err)
{
    QList<FontFace> faces;
    if (QFileInfo(argument).isFile()) {
        const FontFileScan scan = ScanFontFile(argument);
        if (!scan.ok()) {
            err.write(QStringLiteral("glyfaro2-fonts: 「%1」はフォントとして読めません。%2\n").arg(argument, scan.error).toUtf8());
            return ToolTrouble;
        }
        faces = scan.faces;
    } else {
        // Every face of the family, one per file and face number.
        QSet<QString> seen;
        for (const FontFace& face : platform::InstalledFacesNow()) {
            const QString key = face.realPath + u'#' + QString::number(face.index);
            if (face.families.contains(argument) && !seen.contains(key)) {
                seen.insert(key);
                faces.append(face);
            }
        }
        if (faces.isEmpty()) {
            err.write(QStringLiteral("glyfaro2-fonts: 「%1」という名前のフォントもファイルもありません。\n").arg(argument).toUtf8());
            return ToolTrouble;
        }
    }
    const QList<FaceReport> reports = reportsOf(faces);
    out.write(asJson ? json(reports) : text(reports).toUtf8());
    return ToolSame;
}
