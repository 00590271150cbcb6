#pragma once

#include "platform/Registry.h"
#include "platform/System.h"
#include "core/Settings.h"

#include <QString>
#include <functional>

// The settings key below HKEY_CURRENT_USER and the identity it must carry.
inline const QString SettingsKeyPath = QStringLiteral("SOFTWARE\\Sorimo Products\\Glyfaro");
inline const QString ProgramIdentity = QStringLiteral("Glyfaro");
inline const QString CurrentRevision = QStringLiteral("23");
// Stands for an empty custom text: the key never holds an empty one.
inline const QString EmptyTextMarker = QStringLiteral("NonDataCode");

// Where a settings step reports the numbered notices it raises on the way
// (3 welcome, 10 upgraded), at the moment they arise.
using NoticeSink = std::function<void(int message)>;

// What a settings step ended with: -1 when it went through, otherwise the
// numbered message the caller shows before it ends the program (or, for 5,
// before it ends normally).
struct SettingsOutcome {
    int message = -1;
    bool ok() const { return message < 0; }
};

// Where the file dialogs' presets point: the program folder, or the user's
// documents folder when the program folder cannot be written (an installed
// program), so that a first save does not start where it must fail.
struct SettingsPaths {
    QString programFolder;
    QString separator;
    bool programFolderWritable = true;
    QString documentsFolder = {};
    QString presetFolder() const;
    QString defaultCsv() const { return presetFolder() + separator + QStringLiteral("*.csv"); }
    QString defaultGfc() const { return presetFolder() + separator + QStringLiteral("*.gfc"); }
};

// The paths from the running system's facts.
SettingsPaths settingsPathsOf(platform::System& system);

// First-run check: when the key cannot be opened, announces message 3 and
// creates it with every default value.
SettingsOutcome EnsureSettingsKey(platform::Registry& registry, const SettingsPaths& paths,
                                  const NoticeSink& notice);

// Identity check, revision upgrade and the nineteen reads.
SettingsOutcome LoadSettings(platform::Registry& registry, const SettingsPaths& paths,
                             const NoticeSink& notice, Settings& settings);

// Turns the stored marker back into the empty text.
void ApplyEmptyTextMarkers(Settings& settings);

// Writes the settings back at exit. Message 5 when the key cannot be opened
// for writing (nothing is written then), message 2 when a write is refused.
SettingsOutcome WriteBackSettings(platform::Registry& registry, const Settings& settings);
