#pragma once

#include "platform/FontList.h"
#include "platform/System.h"

#include <QHash>
#include <QStringList>

// A system whose facts a test sets; endProgram() only records the call.
class FakeSystem : public platform::System {
public:
    bool previousInstanceRunning() override { return anotherInstance; }
    std::optional<platform::VersionRecord> version() override { return versionRecord; }
    std::uint64_t totalPhysicalMemory() override { return memory; }
    bool windowsExtension() override { return extension; }
    bool fontSmoothing(bool& on) override
    {
        on = smoothingOn;
        return smoothingQueryWorks;
    }
    bool setFontSmoothing(bool on) override
    {
        if (!smoothingSwitchWorks)
            return false;
        smoothingOn = on;
        return true;
    }
    std::optional<QString> fontsFolder() override { return fonts; }
    QString programFolder() override { return folder; }
    QString pathSeparator() override { return separator; }
    platform::LockKeyState lockKeys() override { return locks; }
    bool programFolderWritable() override { return folderWritable; }
    QString documentsFolder() override { return documents; }
    QString machineName() override { return machine; }
    void openFontsFolder() override { ++fontsFolderOpened; }
    void openDisplaySettings() override { ++displaySettingsOpened; }
    void endProgram() override { ++endCalls; }

    bool anotherInstance = false;
    QString machine = QStringLiteral("proof-01");
    std::optional<platform::VersionRecord> versionRecord =
        platform::VersionRecord{6, 1, 0, platform::PlatformLinux};
    std::uint64_t memory = 8ull << 30;
    bool extension = true;
    bool smoothingOn = true;
    bool smoothingQueryWorks = true;
    bool smoothingSwitchWorks = true;
    std::optional<QString> fonts = QStringLiteral("/home/user/.local/share/fonts");
    QString folder = QStringLiteral("/opt/glyfaro");
    QString separator = QStringLiteral("/");
    platform::LockKeyState locks;
    bool folderWritable = true;
    QString documents = QStringLiteral("/home/user/Documents");
    int fontsFolderOpened = 0;
    int displaySettingsOpened = 0;
    int endCalls = 0;
};

class FakeFontList : public platform::FontList {
public:
    QStringList screenFonts() override { return names; }
    // The design face where names holds it, else the counterpart set here.
    QString designFace(platform::DesignFace face) override
    {
        const QString name = platform::designFaceName(face);
        if (names.contains(name))
            return name;
        return face == platform::DesignFace::ProportionalGothic ? proportionalCounterpart : fixedCounterpart;
    }
    QString drawingFamily(const QString& screenName) override { return drawingFamilies.value(screenName, screenName); }
    QList<platform::FamilyName> familyNames(const QString& screenName) override
    {
        return otherNames.value(screenName, {{screenName, QString()}});
    }
    bool hasCharacter(const QString& screenName, char32_t character) override
    {
        return characters.value(screenName).contains(QString::fromUcs4(&character, 1));
    }
    QList<platform::FaceFile> faceFiles(const QString& screenName) override { return faces.value(screenName); }
    QStringList names;
    QHash<QString, QList<platform::FaceFile>> faces;
    // Each font's names, and the characters it holds, for the tests that ask.
    QHash<QString, QList<platform::FamilyName>> otherNames;
    QHash<QString, QString> characters;
    QHash<QString, QString> drawingFamilies;
    QString proportionalCounterpart;
    QString fixedCounterpart;
};
