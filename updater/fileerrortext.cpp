#include "fileerrortext.h"

#include "codetext.h"

#include <cerrno>

namespace {

using common::CodeText;

// Causes that an error number tells.
constexpr CodeText<int> Causes[] = {
    {EACCES, u"ファイルやフォルダーへのアクセスが許可されていません"},
    {EPERM, u"ファイルやフォルダーへのアクセスが許可されていません"},
    {EROFS, u"読み取り専用の場所のため、書き込めません"},
    {ENOSPC, u"ディスクの空き容量が足りません"},
    {ENOENT, u"ファイルまたはフォルダーが見つかりません"},
    {ENOTDIR, u"フォルダーが見つかりません"},
    {EBUSY, u"ファイルが他のプログラムで使用中です"},
    {ETXTBSY, u"ファイルが他のプログラムで使用中です"},
    {EISDIR, u"ファイルではなくフォルダーです"},
    {ENAMETOOLONG, u"ファイル名が長すぎます"},
    {EMFILE, u"開いているファイルが多すぎます"},
    {ENFILE, u"開いているファイルが多すぎます"},
    {EIO, u"ディスクの読み書きに失敗しました"},
};

// What failed, by the file device's own error.
constexpr CodeText<QFileDevice::FileError> Failures[] = {
    {QFileDevice::OpenError, u"ファイルを開けませんでした"},
    {QFileDevice::ReadError, u"ファイルを読み込めませんでした"},
    {QFileDevice::WriteError, u"ファイルに書き込めませんでした"},
    {QFileDevice::RenameError, u"ファイルを置き換えられませんでした"},
    {QFileDevice::RemoveError, u"ファイルを削除できませんでした"},
    {QFileDevice::ResizeError, u"ファイルの大きさを変えられませんでした"},
    {QFileDevice::PermissionsError, u"ファイルのアクセス権を変えられませんでした"},
    {QFileDevice::CopyError, u"ファイルをコピーできませんでした"},
};

}  // namespace

QString fileErrorText(QFileDevice::FileError error, int osError, const QString &systemText)
{
    const QString cause = common::textOf(Causes, osError);
    if (!cause.isEmpty())
        return cause;
    // The system's own text still helps here; on a Japanese system it is Japanese.
    const QString what = common::textOf(Failures, error, QStringLiteral("ファイルの操作に失敗しました"));
    return systemText.isEmpty() ? what : what + QStringLiteral("：") + systemText;
}

QString fileErrorText(const QFileDevice &device, int osError)
{
    return fileErrorText(device.error(), osError, device.errorString());
}
