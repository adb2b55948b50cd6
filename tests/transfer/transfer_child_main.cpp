// transfer_child DIRECTION DATABASE PARADOX-FOLDER PROGRAM-FOLDER TABLE overwrite|keep
//
// Runs one whole transfer the way a user would through the tables window (both lists filled,
// the one table selected, the send button clicked), against the tests' sandbox server, and
// prints every box it shows. The kill tests run it with QUINTABEL_KILL_AT_POINT set, so that
// it dies at a chosen moment of the run. Exit status: 0 when no error report was shown, 1 when
// one was, 2 on bad arguments.

#include "catalogue/window/form2.h"
#include "catalogue/window/mysql_table_list.h"
#include "catalogue/window/paradox_table_list.h"
#include "catalogue_test_support.h"
#include "base/error_report.h"
#include "catalogue/window/table_name_list.h"
#include "base/message_boxes.h"
#include "transfer/window/attach_transfers.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using namespace quintabel;

// Prints every box and answers the overwrite question as told; anything else asked is No.
class PrintedBoxes final : public MessageBoxes {
public:
    explicit PrintedBoxes(bool overwrite) : overwrite_(overwrite) {}

    BoxAnswer showBox(const BoxRequest& request) override
    {
        std::cout << "== " << request.title.toStdString() << "\n" << request.text.toStdString() << "\n" << std::flush;
        if (request.title == QString::fromLatin1(kErrorReportTitle))
            ++reports_;
        if (request.buttons == BoxButtons::Ok)
            return BoxAnswer::Ok;
        return overwrite_ ? BoxAnswer::Yes : BoxAnswer::No;
    }

    std::optional<QString> inputBox(const QString& prompt, const QString&, const QString&) override
    {
        std::cout << "== input box\n" << prompt.toStdString() << "\n" << std::flush;
        return std::nullopt;
    }

    int reports() const { return reports_; }

private:
    bool overwrite_;
    int reports_ = 0;
};

bool selectOnly(QListWidget& list, const QString& name)
{
    deselectAllItems(list);
    for (int index = 0; index < list.count(); ++index) {
        if (list.item(index)->text() == name) {
            list.item(index)->setSelected(true);
            setListIndex(list, index);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::cerr << "usage: transfer_child to-paradox|to-mysql DATABASE PARADOX-FOLDER PROGRAM-FOLDER TABLE "
                     "overwrite|keep\n";
        return 2;
    }
    const std::string direction = argv[1];
    const bool toParadox = direction == "to-paradox";
    if (!toParadox && direction != "to-mysql") {
        std::cerr << "unknown direction '" << direction << "'\n";
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const std::string database = argv[2];
    const QString paradoxFolder = QString::fromLocal8Bit(argv[3]);
    const QString programFolder = QString::fromLocal8Bit(argv[4]);
    const QString table = QString::fromUtf8(argv[5]);
    PrintedBoxes boxes(std::string(argv[6]) == "overwrite");
    MessageBoxesInstallation installed(boxes);

    const ConnectionFields fields = testing::SandboxFields(database, paradoxFolder);
    QWidget connectionWindow;
    int programEnds = 0;
    Form2 window(testing::QuietTablesWindow(programFolder, programEnds), connectionWindow);
    window.ensureLoaded();
    TransferEnvironment environment;
    environment.connectionFields = [&fields] { return fields; };
    environment.scratchFolder = [programFolder] { return programFolder; };
    attachTransfers(window, environment);

    ListMySQLTables(*window.List1, fields);
    ListParadoxTables(*window.List2, paradoxFolder);
    QListWidget& source = toParadox ? *window.List1 : *window.List2;
    if (!selectOnly(source, table)) {
        std::cerr << "'" << table.toStdString() << "' is not listed\n";
        return 2;
    }
    (toParadox ? window.PushButton3 : window.PushButton4)->click();
    return boxes.reports() == 0 ? 0 : 1;
}
