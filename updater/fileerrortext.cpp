#include "fileerrortext.h"

#include <cerrno>

namespace {

QString causeOf(int osError)
{
    switch (osError) {
    case EACCES:
    case EPERM:
        return QStringLiteral("ファイルやフォルダーへのアクセスが許可されていません");
    case EROFS:
        return QStringLiteral("読み取り専用の場所のため、書き込めません");
    case ENOSPC:
        return QStringLiteral("ディスクの空き容量が足りません");
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダーが見つかりません");
    case ENOTDIR:
        return QStringLiteral("フォルダーが見つかりません");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("ファイルが他のプログラムで使用中です");
    case EISDIR:
        return QStringLiteral("ファイルではなくフォルダーです");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます");
    case EIO:
        return QStringLiteral("ディスクの読み書きに失敗しました");
    default:
        return {};
    }
}

QString whatFailed(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::OpenError:
        return QStringLiteral("ファイルを開けませんでした");
    case QFileDevice::ReadError:
        return QStringLiteral("ファイルを読み込めませんでした");
    case QFileDevice::WriteError:
        return QStringLiteral("ファイルに書き込めませんでした");
    case QFileDevice::RenameError:
        return QStringLiteral("ファイルを置き換えられませんでした");
    case QFileDevice::RemoveError:
        return QStringLiteral("ファイルを削除できませんでした");
    case QFileDevice::ResizeError:
        return QStringLiteral("ファイルの大きさを変えられませんでした");
    case QFileDevice::PermissionsError:
        return QStringLiteral("ファイルのアクセス権を変えられませんでした");
    case QFileDevice::CopyError:
        return QStringLiteral("ファイルをコピーできませんでした");
    default:
        return QStringLiteral("ファイルの操作に失敗しました");
    }
}

} // namespace

QString fileErrorText(QFileDevice::FileError error, int osError, const QString &systemText)
{
    const QString cause = causeOf(osError);
    if (!cause.isEmpty())
        return cause;
    // The system's own text still helps here; on a Japanese system it is Japanese.
    const QString what = whatFailed(error);
    return systemText.isEmpty() ? what : what + QStringLiteral("：") + systemText;
}

QString fileErrorText(const QFileDevice &device, int osError)
{
    return fileErrorText(device.error(), osError, device.errorString());
}
