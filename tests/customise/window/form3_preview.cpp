// Shows Form3 for one Paradox table, the way a transfer to MySQL shows it, so that its look
// can be checked on a real display (for example under Xvfb with a screenshot):
//
//     form3_preview PARADOX_FOLDER TABLE [SECONDS [help]]
//
// The second field is selected after a moment ("help": "Help" is pressed instead); the
// window closes itself, and any box it opened, after SECONDS (8).

#include "customise/window/form3.h"
#include "shell/qt_message_boxes.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: form3_preview PARADOX_FOLDER TABLE [SECONDS]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 8;
    const bool pressHelp = argc > 4 && QString::fromLatin1(argv[4]) == QLatin1String("help");
    quintabel::QtMessageBoxes boxes;
    quintabel::MessageBoxesInstallation installed(boxes);

    quintabel::Form3::Environment environment = quintabel::Form3::Environment::production([folder] {
        quintabel::ConnectionFields fields;
        fields.paradoxFolder = folder;
        return fields;
    });
    environment.runModalLoop = [seconds, pressHelp](QDialog& window) {
        auto& form = static_cast<quintabel::Form3&>(window);
        QTimer::singleShot(500, &form, [&form, pressHelp] {
            if (pressHelp)
                form.PushButton3->click();
            else
                form.List1->setCurrentRow(1);
        });
        QTimer::singleShot(seconds * 1000, &form, [&form] {
            if (QWidget* box = QApplication::activeModalWidget(); box != nullptr && box != &form)
                box->close();
            form.done(QDialog::Rejected);
        });
        form.exec();
    };
    quintabel::Form3 form(environment);
    quintabel::CustomiseHandoff handoff =
        quintabel::beginCustomisation(quintabel::TargetKind::MySQL, argv[2]);
    form.showModal(handoff);
    return 0;
}
