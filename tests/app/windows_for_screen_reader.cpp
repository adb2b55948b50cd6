// Puts the three windows on a real display for a screen-reader check, the way a user meets
// them, and types into the password field while a listener may be watching:
//
//     windows_for_screen_reader SECONDS STORED_PASSWORD TYPED_TEXT
//
// After a second the connection window loads (restoring STORED_PASSWORD from a settings store
// of its own); after two the password field takes the focus and TYPED_TEXT is typed into it,
// one key at a time, and the tables window's progress bar moves to 40; then the connection
// window's "Help" shows its message in a real box. The
// program ends after SECONDS, closing the box with it.

#include "catalogue/window/form2.h"
#include "catalogue/window/progress_bar.h"
#include "customise/window/form3.h"
#include "shell/form1.h"
#include "shell/qt_message_boxes.h"
#include "base/settings_store.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    using namespace quintabel;
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: windows_for_screen_reader SECONDS STORED_PASSWORD TYPED_TEXT\n");
        return 2;
    }
    const int seconds = std::atoi(argv[1]);
    const QString storedPassword = QString::fromLocal8Bit(argv[2]);
    const QString typedText = QString::fromLocal8Bit(argv[3]);

    // The user's own settings stay untouched.
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    writeSetting(QString::fromLatin1(settings_keys::kPassword), storedPassword);

    QtMessageBoxes boxes;
    MessageBoxesInstallation installedBoxes(boxes);

    Form1::Environment connectionEnvironment;
    connectionEnvironment.programFolder = settingsFolder.path();
    connectionEnvironment.drawWebSiteNumber = [] { return 1; }; // never the maker's web site
    connectionEnvironment.openWebSite = [](const QUrl&) {};
    connectionEnvironment.endProgram = [] { QCoreApplication::quit(); };
    Form1 connectionWindow(connectionEnvironment);
    connectionWindow.show();

    Form2::Environment tablesEnvironment;
    tablesEnvironment.programFolder = settingsFolder.path();
    tablesEnvironment.endProgram = [] { QCoreApplication::quit(); };
    Form2 tablesWindow(tablesEnvironment, connectionWindow);
    tablesWindow.ensureLoaded();
    tablesWindow.List1->addItems({QStringLiteral("customers"), QStringLiteral("orders")});
    tablesWindow.List2->addItems({QStringLiteral("BEDS"), QStringLiteral("SEEDS")});
    tablesWindow.show();

    Form3::Environment customiseEnvironment;
    customiseEnvironment.programFolder = settingsFolder.path();
    customiseEnvironment.connectionFields = [&connectionWindow] { return connectionWindow.fields(); };
    customiseEnvironment.openWebPage = [](const QUrl&) {};
    customiseEnvironment.runModalLoop = [](QDialog&) {};
    Form3 customiseWindow(customiseEnvironment);
    customiseWindow.setModal(false); // the other windows must stay reachable for the check
    customiseWindow.show();

    // Loading late lets the accessibility bridge come up first, so that a listener would hear
    // the restored password if it were announced.
    QTimer::singleShot(1000, &connectionWindow, [&connectionWindow] { connectionWindow.Form_Load(); });
    QTimer::singleShot(2000, &connectionWindow, [&connectionWindow, typedText] {
        connectionWindow.activateWindow();
        connectionWindow.Text5->setFocus();
        QTest::keyClicks(connectionWindow.Text5, typedText);
        QTest::keyClick(connectionWindow.Text5, Qt::Key_Backspace);
    });
    QTimer::singleShot(2200, &tablesWindow, [&tablesWindow] { tablesWindow.ProgressBar1->setValue(40); });
    QTimer::singleShot(2500, &connectionWindow, [&connectionWindow] { connectionWindow.PushButton1->click(); });
    QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    return QApplication::exec();
}
