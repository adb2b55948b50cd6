#include "transfer_fixture.h"

#include "catalogue/window/mysql_table_list.h"
#include "catalogue/window/paradox_table_list.h"
#include "catalogue/window/table_name_list.h"
#include "catalogue_test_support.h"
#include "connections/connection.h"
#include "connections/connection_string.h"
#include "paradoxfile/table_family.h"
#include "paradoxfile/table_writer.h"
#include "transfer/window/attach_transfers.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <fstream>

namespace quintabel::testing {

namespace fs = std::filesystem;

TransferTest::TransferTest()
    : window(QuietTablesWindow(QString::fromStdString(programFolder.string()), programEnds), connectionWindow)
{
    // The test's folder stands in for the program's own scratch folder, with the empty file
    // (an empty scratch database) that the program's scratch folder starts with.
    std::ofstream(programFolder.path() / "dbtemp.mdb");
    window.ensureLoaded();
    TransferEnvironment environment;
    environment.connectionFields = [this] { return fields(); };
    environment.scratchFolder = [folder = QString::fromStdString(programFolder.string())] { return folder; };
    environment.customisationWindow = &customisation;
    attachTransfers(window, environment);
}

TransferTest::~TransferTest() = default;

ConnectionFields TransferTest::fields() const
{
    ConnectionFields chosen = SandboxFields(database.name(), paradoxFolderText());
    chosen.paradoxCodePage = paradoxCodePage;
    return chosen;
}

void TransferTest::listBothSides()
{
    ListMySQLTables(*window.List1, fields());
    ListParadoxTables(*window.List2, paradoxFolderText());
}

void TransferTest::selectOnly(QListWidget& list, const QStringList& names)
{
    deselectAllItems(list);
    setListIndex(list, -1);
    for (int index = 0; index < list.count(); ++index) {
        if (!names.contains(list.item(index)->text()))
            continue;
        list.item(index)->setSelected(true);
        if (listIndex(list) == -1)
            setListIndex(list, index);
    }
    for (const QString& name : names)
        EXPECT_FALSE(list.findItems(name, Qt::MatchExactly).isEmpty()) << name.toStdString() << " is not listed";
}

void TransferTest::sendToParadox(const QStringList& mySqlTables)
{
    listBothSides();
    selectOnly(*window.List1, mySqlTables);
    window.PushButton3->click();
}

void TransferTest::sendToMySql(const QStringList& paradoxTables)
{
    listBothSides();
    selectOnly(*window.List2, paradoxTables);
    window.PushButton4->click();
}

void TransferTest::duringTransfer(std::function<bool()> action)
{
    auto timer = std::make_unique<QTimer>();
    QTimer* const running = timer.get();
    QObject::connect(running, &QTimer::timeout, [running, action = std::move(action)] {
        if (action())
            running->stop();
    });
    running->start(0);
    timers_.push_back(std::move(timer));
}

void TransferTest::writeParadoxTable(const std::string& fileBase, paradox::Field field,
                                     const std::vector<paradox::Value>& values)
{
    paradox::TableWriter writer(paradoxFolder.path(), fileBase, {std::move(field)});
    for (const paradox::Value& value : values)
        writer.append(std::span<const paradox::Value>(&value, 1));
    writer.commit();
}

void TransferTest::writeNames(const std::string& fileBase, const std::vector<std::string>& names)
{
    writeParadoxTable(fileBase, paradox::Field{"NAME", paradox::FieldType::Alpha, 10, 0},
                      std::vector<paradox::Value>(names.begin(), names.end()));
}

Rows TransferTest::queryMySql(const std::string& select) const
{
    connections::Connection connection;
    connection.setCursorLocation(connections::adUseClient);
    connection.Open(database.connectionString());
    connections::Recordset records = connection.Execute(select);
    Rows rows;
    while (!records.Eof()) {
        std::vector<db::Value> row;
        for (int index = 0; index < records.FieldCount(); ++index)
            row.push_back(records.Fields(index).Value());
        rows.push_back(std::move(row));
        records.MoveNext();
    }
    return rows;
}

bool TransferTest::mySqlHasTable(const std::string& table) const
{
    return !queryMySql("SHOW TABLES LIKE '" + table + "'").empty();
}

std::vector<std::string> TransferTest::mySqlTables() const
{
    std::vector<std::string> names;
    for (const auto& row : queryMySql("SHOW TABLES"))
        names.push_back(db::toText(row.at(0)));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<ShownBox> TransferTest::questions() const
{
    std::vector<ShownBox> asked;
    for (const ShownBox& box : boxes.boxes.shown()) {
        if (box.buttons == BoxButtons::YesNo)
            asked.push_back(box);
    }
    return asked;
}

std::vector<std::string> TransferTest::paradoxFolderFiles() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(paradoxFolder.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> scratchTables(const fs::path& programFolder)
{
    connections::Connection scratch;
    scratch.Open(connections::scratchConnectionString(programFolder.string()));
    connections::Recordset schema = scratch.OpenSchema(connections::adSchemaTables);
    std::vector<std::string> tables;
    while (!schema.Eof()) {
        if (db::toText(schema.Fields("TABLE_TYPE").Value()) == "TABLE")
            tables.push_back(db::toText(schema.Fields("TABLE_NAME").Value()));
        schema.MoveNext();
    }
    return tables;
}

void copyTableFamily(const fs::path& dbFile, const fs::path& folder)
{
    fs::copy_file(dbFile, folder / dbFile.filename());
    for (const fs::path& companion : paradox::findCompanions(dbFile))
        fs::copy_file(companion, folder / companion.filename());
}

QString statementOfReport(const ShownBox& report)
{
    const qsizetype at = report.text.lastIndexOf(QStringLiteral("\r\rsql: "));
    return at < 0 ? QString() : report.text.mid(at + 7);
}

} // namespace quintabel::testing
