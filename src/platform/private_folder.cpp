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

// Whether `path` is a real folder (not a link to one) of this user's; its mode bits in `mode`.
bool ownFolder(const QByteArray& path, mode_t& mode) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
    mode = st.st_mode;
    return true;
}

// A folder of this user's that nobody else may enter.
bool isPrivate(const QString& path) {
    mode_t mode = 0;
    return ownFolder(QFile::encodeName(path), mode) && (mode & 077) == 0;
}

// Makes `path` with mode 0700 unless something is there; one of this user's own folders
// with a looser mode is tightened. Whether it is private now.
bool makePrivate(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST) return false;
    mode_t mode = 0;
    return ownFolder(p, mode) && ((mode & 077) == 0 || ::chmod(p.constData(), 0700) == 0);
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
