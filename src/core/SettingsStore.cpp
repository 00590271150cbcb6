#include "core/SettingsStore.h"

#include "core/Messages.h"
#include "core/RegistryValues.h"

#include <QList>
#include <utility>

using platform::KeyAccess;
using platform::KeyHandle;
using platform::RegSuccess;
using platform::Registry;
using platform::RootKey;

namespace {

const QString DefaultSampleText = QStringLiteral("任意の文字を入力してください。\r\nInput an optional character. ");
const QString DefaultPreviewText = QStringLiteral("ABC abc 123 あいう アイウ 漢字");

using Values = QList<std::pair<QString, QString>>;

Values defaultValues(const SettingsPaths& paths)
{
    return {
        {QStringLiteral("A Warning..."), QStringLiteral("レジストリは変えないでください。")},
        {QStringLiteral("ProgramNameID"), ProgramIdentity},
        {QStringLiteral("ProgramRevision"), CurrentRevision},
        {QStringLiteral("Left"), QStringLiteral("0")},
        {QStringLiteral("Top"), QStringLiteral("0")},
        {QStringLiteral("Width"), QStringLiteral("12000")},
        {QStringLiteral("Height"), QStringLiteral("9000")},
        {QStringLiteral("MaxWindow"), QStringLiteral("0")},
        {QStringLiteral("WindowState"), QStringLiteral("0")},
        {QStringLiteral("StartupOverall"), QStringLiteral("1")},
        {QStringLiteral("StartupIndexof"), QStringLiteral("0")},
        {QStringLiteral("EndQuestion"), QStringLiteral("1")},
        {QStringLiteral("SampleText"), QStringLiteral("0")},
        {QStringLiteral("SampleTextStrings"), DefaultSampleText},
        {QStringLiteral("SampleTextSize"), QStringLiteral("81")},
        {QStringLiteral("SampleTextColor"), QStringLiteral("0")},
        {QStringLiteral("AlwaysTop"), QStringLiteral("0")},
        {QStringLiteral("Printer"), QStringLiteral("0")},
        {QStringLiteral("CurrentFileCSV"), paths.defaultCsv()},
        {QStringLiteral("CurrentFileGFC"), paths.defaultGfc()},
        {QStringLiteral("PreviewText"), QStringLiteral("0")},
        {QStringLiteral("PreviewTextStrings"), DefaultPreviewText},
    };
}

bool writeAll(Registry& registry, KeyHandle key, const Values& values)
{
    for (const auto& [name, text] : values) {
        if (!WriteRegValue(registry, key, name, text))
            return false;
    }
    return true;
}

SettingsOutcome fail(int message)
{
    return SettingsOutcome{message};
}

// Runs steps that write the key as one change of the store: a crash, a
// refused write or a full disk leaves the values as they were before, never
// some old and some new. A step returns false when it fails.
template <typename Steps>
bool asOneChange(Registry& registry, Steps steps)
{
    if (registry.beginTransaction() != RegSuccess)
        return false;
    if (!steps()) {
        registry.rollbackTransaction();
        return false;
    }
    return registry.commitTransaction() == RegSuccess;
}

// Opens the key a second time for writing, writes the upgraded values and
// closes that handle.
SettingsOutcome upgrade(Registry& registry, const Values& values)
{
    const bool stored = asOneChange(registry, [&] {
        KeyHandle key = 0;
        if (registry.openKey(RootKey::CurrentUser, SettingsKeyPath, KeyAccess::Write, key) != RegSuccess)
            return false;
        const bool written = writeAll(registry, key, values);
        return registry.closeKey(key) == RegSuccess && written;
    });
    return stored ? SettingsOutcome{} : fail(MessageUnexpected);
}

QString number(std::int32_t value)
{
    return QString::number(value);
}

} // namespace

QString SettingsPaths::presetFolder() const
{
    if (programFolderWritable || documentsFolder.isEmpty())
        return programFolder;
    // A home of "/" ends in the separator the presets add anyway.
    return documentsFolder.endsWith(separator) ? documentsFolder.chopped(separator.size()) : documentsFolder;
}

SettingsPaths settingsPathsOf(platform::System& system)
{
    SettingsPaths paths{system.programFolder(), system.pathSeparator()};
    paths.programFolderWritable = system.programFolderWritable();
    if (!paths.programFolderWritable)
        paths.documentsFolder = system.documentsFolder();
    return paths;
}

SettingsOutcome EnsureSettingsKey(Registry& registry, const SettingsPaths& paths, const NoticeSink& notice)
{
    KeyHandle key = 0;
    if (registry.openKey(RootKey::CurrentUser, SettingsKeyPath, KeyAccess::Read, key) != RegSuccess) {
        notice(MessageWelcome);
        // A key created without all its values would read as someone
        // else's at the next start (message 4), so it appears whole or not
        // at all.
        const bool created = asOneChange(registry, [&] {
            if (registry.createKey(RootKey::CurrentUser, SettingsKeyPath, key) != RegSuccess)
                return false;
            registry.closeKey(key);
            if (registry.openKey(RootKey::CurrentUser, SettingsKeyPath, KeyAccess::Write, key) != RegSuccess)
                return false;
            const bool written = writeAll(registry, key, defaultValues(paths));
            return registry.closeKey(key) == RegSuccess && written;
        });
        return created ? SettingsOutcome{} : fail(MessageUnexpected);
    }
    if (registry.closeKey(key) != RegSuccess)
        return fail(MessageUnexpected);
    return {};
}

SettingsOutcome LoadSettings(Registry& registry, const SettingsPaths& paths, const NoticeSink& notice,
                             Settings& settings)
{
    KeyHandle key = 0;
    if (registry.openKey(RootKey::CurrentUser, SettingsKeyPath, KeyAccess::Read, key) != RegSuccess)
        return fail(MessageUnexpected);

    if (ReadRegString(registry, key, QStringLiteral("ProgramNameID")) != ProgramIdentity)
        return fail(MessageRegistryChanged);

    const auto revision = ReadRegNumber(registry, key, QStringLiteral("ProgramRevision"));
    if (!revision)
        return fail(MessageUnexpected);
    const Values previewDefaults{{QStringLiteral("PreviewText"), QStringLiteral("0")},
                                 {QStringLiteral("PreviewTextStrings"), DefaultPreviewText}};
    if (*revision == 2) {
        notice(MessageUpgraded);
        Values values{{QStringLiteral("ProgramRevision"), CurrentRevision},
                      {QStringLiteral("CurrentFileCSV"), paths.defaultCsv()},
                      {QStringLiteral("CurrentFileGFC"), paths.defaultGfc()}};
        values += previewDefaults;
        if (auto outcome = upgrade(registry, values); !outcome.ok())
            return outcome;
    } else if (*revision == 22) {
        notice(MessageUpgraded);
        Values values{{QStringLiteral("ProgramRevision"), CurrentRevision}};
        values += previewDefaults;
        if (auto outcome = upgrade(registry, values); !outcome.ok())
            return outcome;
    }

    // The reads run in the stored order; the first missing number ends the
    // start-up, so later fields keep whatever they held.
    bool missing = false;
    auto readNumber = [&](const char* name, std::int32_t& field) {
        if (missing)
            return;
        if (auto value = ReadRegNumber(registry, key, QLatin1String(name)))
            field = *value;
        else
            missing = true;
    };
    auto readText = [&](const char* name, QString& field) {
        if (!missing)
            field = ReadRegString(registry, key, QLatin1String(name));
    };
    readNumber("Left", settings.Left);
    readNumber("Top", settings.Top);
    readNumber("Width", settings.Width);
    readNumber("Height", settings.Height);
    readNumber("MaxWindow", settings.MaxWindow);
    readNumber("WindowState", settings.WindowState);
    readNumber("StartupOverall", settings.StartupOverall);
    readNumber("StartupIndexof", settings.StartupIndexof);
    readNumber("EndQuestion", settings.EndQuestion);
    readNumber("SampleText", settings.SampleText);
    readText("SampleTextStrings", settings.SampleTextStrings);
    readNumber("SampleTextSize", settings.SampleTextSize);
    readNumber("SampleTextColor", settings.SampleTextColor);
    readNumber("AlwaysTop", settings.AlwaysTop);
    readNumber("Printer", settings.Printer);
    readText("CurrentFileCSV", settings.CurrentFileCSV);
    readText("CurrentFileGFC", settings.CurrentFileGFC);
    readNumber("PreviewText", settings.PreviewText);
    readText("PreviewTextStrings", settings.PreviewTextStrings);
    if (missing)
        return fail(MessageUnexpected);

    if (registry.closeKey(key) != RegSuccess)
        return fail(MessageUnexpected);
    return {};
}

void ApplyEmptyTextMarkers(Settings& settings)
{
    if (settings.SampleTextStrings == EmptyTextMarker)
        settings.SampleTextStrings.clear();
    if (settings.PreviewTextStrings == EmptyTextMarker)
        settings.PreviewTextStrings.clear();
}

SettingsOutcome WriteBackSettings(Registry& registry, const Settings& settings)
{
    KeyHandle key = 0;
    if (registry.openKey(RootKey::CurrentUser, SettingsKeyPath, KeyAccess::Write, key) != RegSuccess)
        return fail(MessageNotSaved);

    auto marked = [](const QString& text) { return text.isEmpty() ? EmptyTextMarker : text; };
    const Values values{
        {QStringLiteral("Left"), number(settings.Left)},
        {QStringLiteral("Top"), number(settings.Top)},
        {QStringLiteral("Width"), number(settings.Width)},
        {QStringLiteral("Height"), number(settings.Height)},
        {QStringLiteral("MaxWindow"), number(settings.MaxWindow)},
        {QStringLiteral("WindowState"), number(settings.WindowState)},
        {QStringLiteral("StartupOverall"), number(settings.StartupOverall)},
        {QStringLiteral("StartupIndexof"), number(settings.StartupIndexof)},
        {QStringLiteral("EndQuestion"), number(settings.EndQuestion)},
        {QStringLiteral("SampleText"), number(settings.SampleText)},
        {QStringLiteral("SampleTextStrings"), marked(settings.SampleTextStrings)},
        {QStringLiteral("SampleTextSize"), number(settings.SampleTextSize)},
        {QStringLiteral("SampleTextColor"), number(settings.SampleTextColor)},
        {QStringLiteral("AlwaysTop"), number(settings.AlwaysTop)},
        {QStringLiteral("Printer"), number(settings.Printer)},
        {QStringLiteral("CurrentFileCSV"), settings.CurrentFileCSV},
        {QStringLiteral("CurrentFileGFC"), settings.CurrentFileGFC},
        {QStringLiteral("PreviewText"), number(settings.PreviewText)},
        {QStringLiteral("PreviewTextStrings"), marked(settings.PreviewTextStrings)},
    };
    // Nothing of a refused write-back is stored, so the next start finds
    // the settings of the last whole one.
    const bool stored = asOneChange(registry, [&] {
        const bool written = writeAll(registry, key, values);
        registry.closeKey(key);
        return written;
    });
    return stored ? SettingsOutcome{} : fail(MessageUnexpected);
}
