// Pictures of the three windows for the README's tour, taken on a real display (Xvfb) with real
// content: the demo database on a MariaDB sandbox and the sample Paradox tables.
//
//     window_pictures OUTPUT_FOLDER PORT PARADOX_FOLDER
//
// Writes connection-window.png, tables-window.png and customisation-window.png. The login is
// the sandbox's demo login (scripts/mariadb-sandbox.sh); the settings store is a temporary one,
// so a user's saved login is never read or changed. scripts/screenshots.sh runs it.

#include "catalogue/window/form2.h"
#include "catalogue/window/mysql_table_list.h"
#include "catalogue/window/paradox_table_list.h"
#include "customise/window/form3.h"
#include "shell/form1.h"
#include "shell/qt_message_boxes.h"
#include "base/settings_store.h"
#include "transfer/customise_handoff.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// Lets the window come up and paint, then saves what it shows.
bool savePicture(QWidget& window, const QString& file)
{
    window.show();
    window.raise();
    QTest::qWait(600);
    const bool saved = window.grab().save(file);
    if (!saved)
        std::fprintf(stderr, "window_pictures: cannot write %s\n", qPrintable(file));
    else
        std::printf("%s\n", qPrintable(file));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace quintabel;
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: window_pictures OUTPUT_FOLDER PORT PARADOX_FOLDER\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const QString port = QString::fromLocal8Bit(argv[2]);
    const QString paradoxFolder = QString::fromLocal8Bit(argv[3]);

    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    using namespace settings_keys;
    writeSetting(QString::fromLatin1(kParadoxFolder), paradoxFolder);
    writeSetting(QString::fromLatin1(kServer), QStringLiteral("127.0.0.1"));
    writeSetting(QString::fromLatin1(kPort), port);
    writeSetting(QString::fromLatin1(kUser), QStringLiteral("quintabel"));
    writeSetting(QString::fromLatin1(kPassword), QStringLiteral("quintabel-sandbox"));
    writeSetting(QString::fromLatin1(kDatabase), QStringLiteral("quintabel_demo"));

    QtMessageBoxes boxes;
    MessageBoxesInstallation installedBoxes(boxes);

    Form1::Environment connectionEnvironment = Form1::Environment::production();
    connectionEnvironment.drawWebSiteNumber = [] { return 1; }; // never the maker's web site
    connectionEnvironment.openWebSite = [](const QUrl&) {};
    connectionEnvironment.endProgram = [] {};
    Form1 connectionWindow(connectionEnvironment);
    connectionWindow.Form_Load();
    if (!savePicture(connectionWindow, output.filePath(QStringLiteral("connection-window.png"))))
        return 1;
    const ConnectionFields fields = connectionWindow.fields();
    connectionWindow.hide();

    Form2::Environment tablesEnvironment = Form2::Environment::production();
    tablesEnvironment.endProgram = [] {};
    Form2 tablesWindow(tablesEnvironment, connectionWindow);
    tablesWindow.ensureLoaded();
    ListMySQLTables(*tablesWindow.List1, fields);
    ListParadoxTables(*tablesWindow.List2, paradoxFolder);
    if (tablesWindow.List1->count() == 0 || tablesWindow.List2->count() == 0) {
        std::fprintf(stderr, "window_pictures: the demo database or the sample folder shows no tables\n");
        return 1;
    }
    tablesWindow.List1->item(0)->setSelected(true);
    if (!savePicture(tablesWindow, output.filePath(QStringLiteral("tables-window.png"))))
        return 1;
    const std::string firstTable = tablesWindow.List1->item(0)->text().toStdString();
    tablesWindow.hide();

    Form3::Environment customiseEnvironment = Form3::Environment::production([&fields] { return fields; });
    customiseEnvironment.openWebPage = [](const QUrl&) {};
    bool customisationSaved = false;
    customiseEnvironment.runModalLoop = [&](QDialog& window) {
        customisationSaved = savePicture(window, output.filePath(QStringLiteral("customisation-window.png")));
    };
    Form3 customiseWindow(customiseEnvironment);
    CustomiseHandoff handoff = beginCustomisation(TargetKind::Paradox, firstTable);
    customiseWindow.showModal(handoff);
    return customisationSaved ? 0 : 1;
}
