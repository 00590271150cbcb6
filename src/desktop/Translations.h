#pragma once

#include <QCoreApplication>

namespace platform {

// Loads Qt's own Japanese texts, so its dialogs read "はい", "いいえ", ...
void installJapaneseTranslations(QCoreApplication& app);

} // namespace platform
