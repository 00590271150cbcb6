#pragma once

#include "platform/Dialogs.h"

#include <QString>

// The title of every box of the viewer.
inline const QString MessageTitle = QStringLiteral("Glyfaro 2");

// Shows numbered message 0 to 10; any other number shows nothing.
void ShowMessage(platform::Dialogs& dialogs, int number);

// A shown numbered message whose caller then ends the program.
inline constexpr int MessageAlreadyRunning = 0;
inline constexpr int MessageWin32s = 1;
inline constexpr int MessageUnexpected = 2;
inline constexpr int MessageWelcome = 3;
inline constexpr int MessageRegistryChanged = 4;
inline constexpr int MessageNotSaved = 5;
inline constexpr int MessagePrintFailed = 7;
inline constexpr int MessageUpgraded = 10;
