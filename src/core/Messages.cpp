#include "core/Messages.h"

#include <array>

namespace {

const QString CrCr = QStringLiteral("\r\r");

struct Entry {
    QString text;
    int style;
};

const std::array<Entry, 11>& catalogue()
{
    static const std::array<Entry, 11> entries{{
        {QStringLiteral("このプログラムは既に起動しています。"), platform::MbExclamation},
        {QStringLiteral("このバージョンのWindowsでは利用出来ません。強制終了します。") + CrCr
             + QStringLiteral("OS : Win32s on Windows 3.1"),
         platform::MbCritical},
        {QStringLiteral("予期せぬエラーが発生しました。強制終了します。"), platform::MbCritical},
        {QStringLiteral("ダウンロード並びにご利用ありがとうございます。") + CrCr
             + QStringLiteral("設定は初期値で作成されました。メニューの「環境設定」からいつでも変更できます。"),
         platform::MbInformation},
        {QStringLiteral("レジストリが書き換えられた可能性があります。"), platform::MbExclamation},
        {QStringLiteral("予期せぬエラーが発生しました。") + CrCr
             + QStringLiteral("一部のデータ又は全てデータが保存出来ませんでした。"),
         platform::MbCritical},
        {QStringLiteral("入力された値が無効です。") + CrCr
             + QStringLiteral("0 から 9 までの半角数字で入力してください。"),
         platform::MbExclamation},
        {QStringLiteral("選択されたプリンタでは印刷できませんでした。"), platform::MbCritical},
        {QStringLiteral("選択されたプリンタで、このフォントは印刷できません。"), platform::MbCritical},
        {QStringLiteral("ファイルが壊れています"), platform::MbCritical},
        {QStringLiteral("新しいバージョンがインストールされました。"), platform::MbInformation},
    }};
    return entries;
}

} // namespace

void ShowMessage(platform::Dialogs& dialogs, int number)
{
    if (number < 0 || number >= int(catalogue().size()))
        return;
    const Entry& entry = catalogue()[std::size_t(number)];
    dialogs.messageBox(entry.text, entry.style, MessageTitle);
}
