#pragma once

// What a test that starts the real viewer needs around it: the numbers of the
// catalogue messages it showed, and the settings it finds or leaves in a
// ViewerHome. Only for tests that link the core library.

#include "FakeDialogs.h"
#include "ViewerProcess.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"
#include "platform/HiveRegistry.h"

#include <QList>
#include <QString>
#include <QtTest>

// The number of the catalogue message a box showed; -1 for any other box.
inline int messageNumber(const QString& text)
{
    for (int number = 0; number <= 10; ++number) {
        FakeDialogs dialogs;
        ShowMessage(dialogs, number);
        if (dialogs.boxes.value(0).text == text)
            return number;
    }
    return -1;
}

inline QList<int> messages(const ViewerProcess& viewer)
{
    QList<int> numbers;
    for (const QString& text : viewer.boxes())
        numbers << messageNumber(text);
    return numbers;
}

// Settings of an earlier run, with a value the next write-back changes: only
// "1" turns "always on top" on, and the exit stores what the menu shows.
inline void seedSettings(const ViewerHome& home)
{
    platform::HiveRegistry registry(home.hive());
    const SettingsPaths paths{QStringLiteral("/opt/glyfaro"), QStringLiteral("/")};
    QVERIFY(EnsureSettingsKey(registry, paths, [](int) {}).ok());
    platform::KeyHandle key = 0;
    QCOMPARE(registry.openKey(platform::RootKey::CurrentUser, SettingsKeyPath, platform::KeyAccess::Write, key),
             long(platform::RegSuccess));
    QCOMPARE(registry.setValue(key, QStringLiteral("AlwaysTop"), QStringLiteral("5")), long(platform::RegSuccess));
    registry.closeKey(key);
}

// A value of the settings key as the hive holds it; empty when it cannot be read.
inline QString storedSetting(const ViewerHome& home, const QString& name)
{
    platform::HiveRegistry registry(home.hive());
    platform::KeyHandle key = 0;
    QString data;
    if (registry.openKey(platform::RootKey::CurrentUser, SettingsKeyPath, platform::KeyAccess::Read, key)
        == platform::RegSuccess)
        registry.queryValue(key, name, data);
    return data;
}
