// SPDX-License-Identifier: GPL-3.0-or-later
// Folders of the user's own, for what no other user may touch.
#include "platform/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

namespace kelvorn {

namespace {

// A real folder (not a link to one) of this user's that nobody else may enter.
bool isPrivate(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

// Makes `path` with mode 0700 unless something is there; one of this user's own folders
// with a looser mode is tightened. Whether it is private now.
bool makePrivate(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(p.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
    return (st.st_mode & 077) == 0 || ::chmod(p.constData(), 0700) == 0;
}
}  // namespace

QString privateFolder(QString* why) {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivate(runtime)) return runtime;
    QString tmp = QDir::tempPath() + QStringLiteral("/kelvorn-") + QString::number(::getuid());
    if (makePrivate(tmp)) return tmp;
    const QString cache = QDir::homePath() + QStringLiteral("/.cache");
    QDir().mkpath(cache);
    if (makePrivate(cache + QStringLiteral("/kelvorn"))) return cache + QStringLiteral("/kelvorn");
    if (why)
        *why = QStringLiteral("no folder of this user's own (tried %1, %2 and %3)")
                   .arg(runtime.isEmpty() ? QStringLiteral("$XDG_RUNTIME_DIR") : runtime, tmp,
                        cache + QStringLiteral("/kelvorn"));
    return {};
}

}  // namespace kelvorn
