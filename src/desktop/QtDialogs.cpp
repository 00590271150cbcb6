#include "desktop/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

// Flags of the file dialogs, numbered as the platform numbers them.
constexpr int AskBeforeOverwrite = 0x2;

std::optional<QStringList> runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode,
                                         QFileDialog::FileMode files)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(files);
    if (mode == QFileDialog::AcceptSave && !request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (mode == QFileDialog::AcceptSave && !(request.flags & AskBeforeOverwrite))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtDialogs::nameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);

    // A preset such as "folder/*.csv" names the folder to start in; its
    // wildcard name is no file to preselect.
    if (!request.fileName.isEmpty()) {
        const QFileInfo preset(request.fileName);
        const QString name = preset.fileName();
        const bool wildcard = name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
        if (request.fileName.contains(QLatin1Char('/')) && preset.dir().exists())
            dialog.setDirectory(preset.absolutePath());
        if (!wildcard && !name.isEmpty())
            dialog.selectFile(name);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles();
}

std::optional<QString> firstOf(const std::optional<QStringList>& chosen)
{
    if (!chosen)
        return std::nullopt;
    return chosen->constFirst();
}

} // namespace

QStringList QtDialogs::nameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        const QString joined = patterns.join(QLatin1Char(' '));
        if (joined.isEmpty())
            continue;
        // Qt reads the patterns from the last bracket of the text, so a
        // description that already shows them is used as it is.
        if (description.endsWith(QLatin1Char('(') + joined + QLatin1Char(')')))
            filters << description;
        else if (description.isEmpty())
            filters << QLatin1Char('(') + joined + QLatin1Char(')');
        else
            filters << description + QLatin1String(" (") + joined + QLatin1Char(')');
    }
    return filters;
}

QString QtDialogs::boxText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

int QtDialogs::messageBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    // Font names may hold "<" and "&"; they are text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(boxText(text));
    switch (style & 0xF0) {
    case MbCritical: box.setIcon(QMessageBox::Critical); break;
    case MbQuestion: box.setIcon(QMessageBox::Question); break;
    case MbExclamation: box.setIcon(QMessageBox::Warning); break;
    case MbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (style & 0xF) {
    case MbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case 1: // OK and Cancel
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case 3: // Yes, No and Cancel
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return AnswerOk;
    case QMessageBox::Yes: return AnswerYes;
    case QMessageBox::No: return AnswerNo;
    case QMessageBox::Cancel: return AnswerCancel;
    default:
        // Closed without a button: the answer that commits to nothing.
        return (style & 0xF) == MbOkOnly ? AnswerOk
               : (style & 0xF) == MbYesNo ? AnswerNo
                                          : AnswerCancel;
    }
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request)
{
    return firstOf(runFileDialog(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile));
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request)
{
    return firstOf(runFileDialog(request, QFileDialog::AcceptSave, QFileDialog::AnyFile));
}

std::optional<QStringList> QtDialogs::openFiles(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
}

std::optional<std::uint32_t> QtDialogs::chooseColor(std::uint32_t initial)
{
    const QColor start(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return std::uint32_t(chosen.red()) | std::uint32_t(chosen.green()) << 8
        | std::uint32_t(chosen.blue()) << 16;
}

} // namespace platform
