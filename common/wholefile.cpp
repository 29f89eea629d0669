#include "wholefile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cstring>

#include "wholefile_names.h"

namespace wholefile {
namespace {

// "folder/.hardware_set.txt."
QString TemporaryPrefix(const QString& target)
{
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    return target.left(slash + 1) + QLatin1Char('.') + target.mid(slash + 1) + QLatin1Char('.');
}

} // namespace

QString NewTemporaryPath(const QString& target)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = TemporaryPrefix(target);
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof kLetters) - 1)]);
    return name + QStringLiteral(".tmp");
}

QStringList TemporaryPaths(const QString& target)
{
    const QFileInfo prefix(TemporaryPrefix(target));
    const QDir folder = prefix.dir();
    const QRegularExpression pattern(
        QStringLiteral("^%1[A-Za-z0-9]{6}\\.tmp$").arg(QRegularExpression::escape(prefix.fileName())));
    QStringList paths;
    for (const QString& name :
         folder.entryList({prefix.fileName() + QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (pattern.match(name).hasMatch())
            paths << folder.filePath(name);
    }
    return paths;
}

} // namespace wholefile

QString SaveFailedMessage(const QString& path, int error)
{
    return QStringLiteral("参数未能保存到文件“%1”：%2。").arg(path, WriteErrorText(error));
}

QString WriteErrorText(int error)
{
    switch (error) {
    case 0: return QString();
    case EACCES:
    case EPERM: return QStringLiteral("没有写入权限");
    case EROFS: return QStringLiteral("所在的文件系统是只读的");
#ifdef EDQUOT // a disk quota, which Windows reports as a full disk
    case EDQUOT:
#endif
    case ENOSPC: return QStringLiteral("磁盘空间不足");
    case ENOENT: return QStringLiteral("所在的文件夹不存在");
    case ENOTDIR: return QStringLiteral("路径中有一段不是文件夹");
    case EISDIR: return QStringLiteral("这是一个文件夹");
    case EIO: return QStringLiteral("磁盘读写出错");
    case kFileInUse: return QStringLiteral("文件正被其他程序使用，请关闭该程序后再试");
    default: return QStringLiteral("系统错误 %1（%2）").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}
