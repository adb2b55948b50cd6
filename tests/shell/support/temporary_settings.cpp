#include "shell/support/temporary_settings.h"

#include <QSettings>

namespace quintabel::testing {

TemporarySettings::TemporarySettings()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
}

} // namespace quintabel::testing
