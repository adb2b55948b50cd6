#include "base/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quintabel {

namespace {

constexpr char kApplication[] = "Corvandel";
constexpr char kSection[] = "Quintabel";
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

// Application "Corvandel" as both organisation and application name gives the file
// <config>/Corvandel/Corvandel.conf; the section is its [Quintabel] group.
QSettings openStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kApplication),
                     QString::fromLatin1(kApplication));
}

std::runtime_error storeFailure(const QString& what, const QString& path,
                                const QString& reason = QString())
{
    QString text = QStringLiteral("%1 the settings file '%2'").arg(what, path);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return std::runtime_error((text + QLatin1Char('.')).toStdString());
}

QString lastSystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// QSettings replaces the file through a temporary file that takes the permissions of the file
// it replaces, or the umask's when there is none. Creating the file first with 0600, and
// tightening an existing one, keeps the password from ever being readable by others.
void keepOwnerOnly(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray nativePath = QFile::encodeName(path);
    const int descriptor = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, kOwnerOnly);
    if (descriptor < 0)
        throw storeFailure(QStringLiteral("Could not create"), path, lastSystemError(errno));
    const int changed = ::fchmod(descriptor, kOwnerOnly);
    const int error = errno;
    ::close(descriptor);
    if (changed != 0)
        throw storeFailure(QStringLiteral("Could not protect"), path, lastSystemError(error));
}

} // namespace

std::optional<QString> settingsReadProblem()
{
    QSettings store = openStore();
    if (store.status() == QSettings::NoError)
        return std::nullopt;
    return QString::fromStdString(storeFailure(QStringLiteral("Could not read"), store.fileName()).what());
}

QString readSetting(const QString& key, const QString& defaultValue)
{
    QSettings store = openStore();
    if (store.status() != QSettings::NoError)
        throw storeFailure(QStringLiteral("Could not read"), store.fileName());
    store.beginGroup(QString::fromLatin1(kSection));
    if (!store.contains(key))
        return defaultValue;
    return store.value(key).toString();
}

void writeSetting(const QString& key, const QString& value)
{
    QSettings store = openStore();
    keepOwnerOnly(store.fileName());
    store.beginGroup(QString::fromLatin1(kSection));
    store.setValue(key, value);
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError)
        throw storeFailure(QStringLiteral("Could not write"), store.fileName());
    // A file that was replaced in the meantime gets its owner-only mode back here.
    keepOwnerOnly(store.fileName());
}

} // namespace quintabel
