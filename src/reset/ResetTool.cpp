#include "reset/ResetTool.h"

using namespace platform;

namespace {

const QString Title = QStringLiteral("Reset");
const QString Question = QStringLiteral("Glyfaro 2 を、初期化してもよろしいですか？");
const QString Failure = QStringLiteral("予期せぬエラーが発生しました。強制終了します。");
const QString Success = QStringLiteral("初期化に成功しました。");

const QString ParentKey = QStringLiteral("SOFTWARE\\Sorimo Products");
const QString SettingsKey = QStringLiteral("Glyfaro");

int fail(Dialogs& dialogs)
{
    // The handle, if any, is left to the end of the process, which releases it.
    dialogs.messageBox(Failure, MbCritical, Title);
    return 1;
}

} // namespace

int RunReset(Registry& registry, Dialogs& dialogs)
{
    if (dialogs.messageBox(Question, MbYesNo | MbQuestion, Title) != AnswerYes)
        return 0;

    KeyHandle parent = 0;
    if (registry.openKey(RootKey::CurrentUser, ParentKey, KeyAccess::EnumerateSubkeys, parent) != RegSuccess)
        return fail(dialogs);
    // Only the settings key goes; the parent stays even when it is then empty.
    if (registry.deleteKey(parent, SettingsKey) != RegSuccess)
        return fail(dialogs);
    if (registry.closeKey(parent) != RegSuccess)
        return fail(dialogs);

    dialogs.messageBox(Success, MbInformation, Title);
    return 0;
}
