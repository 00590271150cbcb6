#pragma once

#include "core/Settings.h"
#include "platform/Dialogs.h"

#include <QObject>
#include <QStringList>

class FontFileLookup;
class Form8;
class QWidget;

enum FontNameFileMode : int { CsvExportMode = 1, ComparisonSaveMode = 2, ComparisonLoadMode = 3 };

// The File menu's three file commands and the font-name file work behind
// them. One command runs at a time; another one asked for meanwhile is
// refused.
class FileCommands : public QObject {
    Q_OBJECT

public:
    FileCommands(const QStringList& fontNames, const FontFileLookup& lookup, Settings& settings,
                 platform::Dialogs& dialogs, Form8& form8, QWidget* mainWindow);

    // Items 5 (load a comparison file), 7 (CSV export) and 8 (save a
    // comparison file). False when refused because a command is running.
    bool File_Click(int index);
    void FontNameFile(const QString& fullPath, const QString& fileTitle, int mode);
    // A comparison file read as item 5 reads the one its dialog gives (a file
    // named on the command line, one dropped on the window). False when
    // refused because a command is running.
    bool loadComparisonFile(const QString& path);
    // Another window's table saved as a comma-separated file in the export's
    // form, through a save dialog that offers fileName. False when cancelled
    // or refused (the reason was shown).
    bool saveTable(const QString& title, const QString& fileName, const QList<QStringList>& rows);
    // Whether the files' code page holds a character.
    static bool fitsFile(char32_t character);
    bool running() const { return m_running; }

    static platform::FileDialogRequest dialogRequest(int index, const Settings& settings);
    // The path with the dialog's extension added when the name has none.
    static QString withDefaultSuffix(const QString& path, const QString& suffix);

signals:
    void comparisonWindowHideRequested();
    void comparisonWindowShowRequested();
    // A numbered message that ends the program.
    void fatalError(int message);

private:
    enum class Outcome { Done, Failed };
    Outcome save(const QString& fullPath, const QString& fileTitle, int mode);
    Outcome load(const QString& fullPath, const QString& fileTitle);
    void loadChosen(const QString& path);
    void reportError(const QString& textBeforeReason, const QString& reason);

    const QStringList& m_fontNames;
    const FontFileLookup& m_lookup;
    Settings& m_settings;
    platform::Dialogs& m_dialogs;
    Form8& m_form8;
    QWidget* m_mainWindow;
    bool m_running = false;
};
