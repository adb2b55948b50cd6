#pragma once
// Points the settings store at a fresh temporary folder for the lifetime of a test fixture,
// so tests never read or change the user's own settings.

#include "shell/support/qstring_printer.h"

#include <QTemporaryDir>

namespace quintabel::testing {

class TemporarySettings {
public:
    TemporarySettings();

    QString folder() const { return folder_.path(); }
    // The settings file the store keeps in that folder.
    QString storeFile() const { return folder() + QStringLiteral("/Corvandel/Corvandel.conf"); }

private:
    QTemporaryDir folder_;
};

} // namespace quintabel::testing
