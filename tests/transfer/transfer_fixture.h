#pragma once
// What the transfer tests share: a tables window with both transfers attached, a program
// folder holding an empty scratch database, a Paradox folder, a database of the test's own on
// the private MariaDB server, scripted message boxes and a scripted customisation window.

#include "catalogue/window/form2.h"
#include "drivers/value.h"
#include "paradoxfile/field.h"
#include "paradoxfile/value.h"
#include "mariadb_test_database.h"
#include "scripted_customisation.h"
#include "base/connection_fields.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"
#include "temporary_folder.h"

#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quintabel::testing {

using Rows = std::vector<std::vector<db::Value>>;

class TransferTest : public ::testing::Test {
protected:
    TransferTest();
    ~TransferTest() override;

    ConnectionFields fields() const;
    // The connection window's Paradox code page choice for the test's transfers; 0 for none.
    int paradoxCodePage = 0;
    QString paradoxFolderText() const { return QString::fromStdString(paradoxFolder.string()); }
    std::filesystem::path paradoxFile(const std::string& fileName) const { return paradoxFolder.path() / fileName; }

    // Lists both sides afresh, as opening the tables window does.
    void listBothSides();
    // Selects exactly the items with these texts and makes the first of them current.
    static void selectOnly(QListWidget& list, const QStringList& names);

    void sendToParadox(const QStringList& mySqlTables);
    void sendToMySql(const QStringList& paradoxTables);

    // Runs `action` at every yield of the transfer until it answers true.
    void duringTransfer(std::function<bool()> action);

    // A Paradox table of one field in the Paradox folder, one record per value.
    void writeParadoxTable(const std::string& fileBase, paradox::Field field, const std::vector<paradox::Value>& values);
    // The same with an Alpha field NAME.
    void writeNames(const std::string& fileBase, const std::vector<std::string>& names);

    void runSql(const std::string& statement) { database.run(statement); }
    Rows queryMySql(const std::string& select) const;
    bool mySqlHasTable(const std::string& table) const;
    // The names of the test database's tables, sorted.
    std::vector<std::string> mySqlTables() const;

    std::vector<ShownBox> reports() const { return boxes.boxes.errorReports(); }
    std::vector<ShownBox> questions() const;
    // The file names in the Paradox folder, sorted (hidden ones included).
    std::vector<std::string> paradoxFolderFiles() const;

    TemporarySettings settings;
    ScriptedBoxesInstalled boxes;
    TemporaryFolder programFolder;
    TemporaryFolder paradoxFolder;
    MariaDbTestDatabase database;
    QWidget connectionWindow;
    int programEnds = 0;
    Form2 window;
    ScriptedCustomisation customisation;

private:
    std::vector<std::unique_ptr<QObject>> timers_;
};

// The rows of every scratch table still in the program folder's scratch database.
std::vector<std::string> scratchTables(const std::filesystem::path& programFolder);

// Copies a Paradox table with its whole family of files into `folder`.
void copyTableFamily(const std::filesystem::path& dbFile, const std::filesystem::path& folder);

// A line of the report that names the statement in hand ("sql: ...").
QString statementOfReport(const ShownBox& report);

} // namespace quintabel::testing
