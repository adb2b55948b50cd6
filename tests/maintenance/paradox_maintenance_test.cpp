// Deleting and renaming Paradox tables with real files in a temporary folder.

#include "maintenance_test_support.h"

#include "catalogue_test_support.h"

#include "catalogue/window/table_name_list.h"
#include "catalogue/window/list_box_front_end.h"
#include "maintenance/maintenance_messages.h"
#include "maintenance/folder_recovery.h"
#include "maintenance/paradox_table_maintenance.h"
#include "paradoxfile/table_reader.h"
#include "paradoxfile/table_writer.h"
#include "shell/pointer_rules.h"
#include "shell/support/scripted_message_boxes.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace quintabel::testing {
namespace {

namespace fs = std::filesystem;
using paradox::Field;
using paradox::FieldType;
using paradox::Value;

const QString kDelete = QStringLiteral("PushButton5_Click");
const QString kRename = QStringLiteral("PushButton7_Click");

// Text longer than any memo's part in the record, beyond ASCII, so it can only live in the .MB.
const std::string kLongMemo = "Delivered to the Hôtel Érable, paid in €; " + std::string(300, 'x');

class ParadoxMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        prepareTableList(list);
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    void createFiles(const QStringList& names, const QByteArray& contents = "table file")
    {
        for (const QString& name : names) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path(name)).absolutePath()));
            QFile file(path(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(contents + " " + name.toUtf8());
        }
    }

    // A real table with a memo: `base`.db and `base`.mb, lower-case extensions, in the folder
    // or in `subfolder` below it.
    void writeTableWithMemo(const std::string& base, const QString& subfolder = {})
    {
        paradox::WriterOptions options;
        options.lowerCaseExtensions = true;
        const std::vector<Field> fields = {Field{"Id", FieldType::Long, 0, 0}, Field{"Note", FieldType::Memo, 20, 0}};
        const QString where = subfolder.isEmpty() ? folder.path() : path(subfolder);
        ASSERT_TRUE(QDir().mkpath(where));
        paradox::TableWriter writer(where.toStdString(), base, fields, options);
        const Value first[] = {std::int64_t{1}, kLongMemo};
        const Value second[] = {std::int64_t{2}, std::string("short")};
        writer.append(first);
        writer.append(second);
        writer.commit();
    }

    std::vector<std::vector<Value>> readTable(const QString& fileName)
    {
        auto reader = paradox::TableReader::open(fs::path(path(fileName).toStdString()));
        std::vector<std::vector<Value>> records;
        std::vector<Value> record;
        while (reader.next(record))
            records.push_back(record);
        return records;
    }

    void deleteTables()
    {
        StepGuard guard(QStringLiteral("Form2"), kDelete);
        ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
        deleteParadoxTables(guard, frontEnd, folder.path());
    }

    void renameTable(const std::optional<QString>& typed, const FileMove& move = moveFileWithoutReplacing)
    {
        boxes().typeNext(typed);
        StepGuard guard(QStringLiteral("Form2"), kRename);
        ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
        renameParadoxTable(guard, frontEnd, folder.path(), move);
    }

    ScriptedMessageBoxes& boxes() { return installed.boxes; }

    ScriptedBoxesInstalled installed;
    QTemporaryDir folder;
    QWidget window;
    PointerRules pointer{window};
    QListWidget list;
};

TEST_F(ParadoxMaintenanceTest, DeleteRemovesEverySelectedTableWithAllItsFilesInAnyCase)
{
    createFiles({"orders.db", "Orders.MB", "ORDERS.px", "orders.X02", "Orders.y02", "orders.XG0", "ORDERS.VAL",
                 "zebra.DB", "ZEBRA.mb", "ORDERSX.DB", "orders.txt", "Orders.lck", "middle.db"});
    FillTableList(list, {"ORDERS", "MIDDLE", "ORDERSX", "ZEBRA"});
    // The first and the last item. The last is also the current one: when it goes, the item
    // above it becomes current, and must not become selected (it would be deleted next).
    SelectTables(list, {"MIDDLE", "ORDERS", "ZEBRA"}, QStringLiteral("ZEBRA"));

    deleteTables();

    // Other tables, files that are not a table's companions, and lock files stay.
    EXPECT_EQ(FileNamesIn(folder.path()), (QStringList{"ORDERSX.DB", "Orders.lck", "orders.txt"}));
    EXPECT_EQ(ItemTexts(list), QStringList{"ORDERSX"});
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

TEST_F(ParadoxMaintenanceTest, TablesNoLongerThereAreNeitherDeletedNorRenamedAndStayListed)
{
    createFiles({"sub/KEPT.DB", "sub/KEPT.MB", "OTHER.DB"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"KEPT", "GONE", "OTHER"});
    SelectTables(list, {"GONE"}, QStringLiteral("GONE"));

    deleteTables();
    EXPECT_EQ(ItemTexts(list), (QStringList{"GONE", "KEPT", "OTHER"}));

    SelectTables(list, {"GONE"}, QStringLiteral("GONE"));
    renameTable(QStringLiteral("NEWNAME"));
    EXPECT_EQ(ItemTexts(list), (QStringList{"GONE", "KEPT", "OTHER"}));

    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_TRUE(boxes().errorReports().empty());
    EXPECT_TRUE(boxes().plainMessages().empty());
}

TEST_F(ParadoxMaintenanceTest, ATableBelowTheFolderIsRenamedAndDeletedWhereItLiesWithItsWholeFamily)
{
    writeTableWithMemo("orders", QStringLiteral("2023/Spring"));
    createFiles({"2023/Spring/ORDERS.PX", "2023/Spring/orders.X03", "2023/Spring/notes.txt", "2023/SALESX.DB",
                 "OTHER.DB"});
    const auto before = readTable(QStringLiteral("2023/Spring/orders.db"));
    FillTableList(list, {"ORDERS", "OTHER", "SALESX"});
    SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));

    renameTable(QStringLiteral("Sales"));

    // Renamed in its own folder, memo and indexes with it; nothing else moved.
    EXPECT_EQ(FileNamesIn(path(QStringLiteral("2023/Spring"))),
              (QStringList{"Sales.PX", "Sales.X03", "Sales.db", "Sales.mb", "notes.txt"}));
    EXPECT_EQ(FileNamesIn(path(QStringLiteral("2023"))), QStringList{"SALESX.DB"});
    EXPECT_EQ(FileNamesIn(folder.path()), QStringList{"OTHER.DB"});
    const auto after = readTable(QStringLiteral("2023/Spring/Sales.db"));
    EXPECT_EQ(after, before);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0][1], Value(kLongMemo));
    EXPECT_EQ(ItemTexts(list), (QStringList{"OTHER", "Sales", "SALESX"}));

    SelectTables(list, {"Sales"}, QStringLiteral("Sales"));
    deleteTables();

    EXPECT_EQ(FileNamesIn(path(QStringLiteral("2023/Spring"))), QStringList{"notes.txt"});
    EXPECT_EQ(FileNamesIn(path(QStringLiteral("2023"))), QStringList{"SALESX.DB"});
    EXPECT_EQ(ItemTexts(list), (QStringList{"OTHER", "SALESX"}));
    EXPECT_TRUE(boxes().errorReports().empty());
    EXPECT_TRUE(boxes().plainMessages().empty());
}

TEST_F(ParadoxMaintenanceTest, ANameTakenAnywhereInTheTreeRefusesTheRenameWithOnePlainMessage)
{
    createFiles({"ROOT.DB", "a/LOW.DB", "a/LOW.MB", "b/deep/DEEP.DB"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"DEEP", "LOW", "ROOT"});

    // A table below onto the folder's own table's name, the folder's own onto a name below, and
    // a table below onto a name in another folder below.
    const std::vector<std::pair<QString, QString>> renames{
        {"LOW", "root"}, {"ROOT", "Deep"}, {"DEEP", "LOW"}};
    for (const auto& [from, to] : renames) {
        SelectTables(list, {from}, from);
        renameTable(to);
    }

    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_EQ(ItemTexts(list), (QStringList{"DEEP", "LOW", "ROOT"}));
    EXPECT_TRUE(boxes().errorReports().empty());
    const auto messages = boxes().plainMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text,
              QStringLiteral("Paradox table 'ROOT' already exists in folder '") + folder.path()
                  + QStringLiteral("' (file 'ROOT.DB'); renaming Paradox table 'LOW' to 'root' would replace it, "
                                   "so nothing was renamed. Choose another name, or delete or rename that table "
                                   "first."));
    EXPECT_TRUE(messages[1].text.startsWith(QStringLiteral("Paradox table 'DEEP' already exists in folder '")
                                            + path(QStringLiteral("b/deep"))))
        << messages[1].text.toStdString();
    EXPECT_TRUE(messages[2].text.contains(path(QStringLiteral("a")) + QStringLiteral("' (file 'LOW.DB')")))
        << messages[2].text.toStdString();
}

TEST_F(ParadoxMaintenanceTest, ATableNameTwoFoldersBelowHoldIsToldNotGuessed)
{
    createFiles({"2023/ORDERS.DB", "2023/ORDERS.MB", "2024/orders.db"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"ORDERS", "ORDERS"});

    SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));
    deleteTables();
    SelectTables(list, {}, QStringLiteral("ORDERS"));
    list.item(0)->setSelected(true);
    renameTable(QStringLiteral("SALES"));

    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_EQ(ItemTexts(list), (QStringList{"ORDERS", "ORDERS"}));
    EXPECT_TRUE(boxes().errorReports().empty());
    const auto messages = boxes().plainMessages();
    ASSERT_EQ(messages.size(), 3u); // one for each of the two items deleted, one for the rename
    for (const ShownBox& message : messages) {
        EXPECT_TRUE(message.text.contains(QStringLiteral("'") + path(QStringLiteral("2023/ORDERS.DB"))
                                          + QStringLiteral("', '") + path(QStringLiteral("2024/orders.db"))
                                          + QStringLiteral("'")))
            << message.text.toStdString();
    }
}

TEST_F(ParadoxMaintenanceTest, SelectionRulesAndTheirMessages)
{
    createFiles({"A.DB", "B.DB"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"A", "B"});

    // Nothing current: one message each, nothing else.
    SelectTables(list, {"A"}, QString());
    deleteTables();
    {
        StepGuard guard(QStringLiteral("Form2"), kRename);
        ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
        renameParadoxTable(guard, frontEnd, folder.path());
    }
    // A current item but nothing selected: the delete does nothing; the rename wants one table.
    SelectTables(list, {}, QStringLiteral("A"));
    deleteTables();
    {
        StepGuard guard(QStringLiteral("Form2"), kRename);
        ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
        renameParadoxTable(guard, frontEnd, folder.path());
    }
    // Two selected.
    SelectTables(list, {"A", "B"}, QStringLiteral("A"));
    {
        StepGuard guard(QStringLiteral("Form2"), kRename);
        ListBoxFrontEnd frontEnd({list, nullptr, nullptr, nullptr, &pointer, {}});
        renameParadoxTable(guard, frontEnd, folder.path());
    }

    EXPECT_EQ(ShownTexts(boxes()), (QStringList{QString::fromLatin1(kSelectTableToDelete),
                                                QString::fromLatin1(kSelectTableToRename),
                                                QString::fromLatin1(kSelectJustOneTable),
                                                QString::fromLatin1(kSelectJustOneTable)}));
    for (const ShownBox& box : boxes().shown()) {
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_FALSE(box.isInputBox);
    }
    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_EQ(ItemTexts(list), (QStringList{"A", "B"}));
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

TEST_F(ParadoxMaintenanceTest, RenameMovesTheWholeTableSoItsMemosStayWithIt)
{
    writeTableWithMemo("orders");
    createFiles({"ORDERS.PX", "orders.X03", "Orders.VAL", "ORDERSX.DB"});
    const auto before = readTable(QStringLiteral("orders.db"));
    FillTableList(list, {"ORDERS", "ORDERSX"});
    SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERSX"));

    renameTable(QStringLiteral("Sales"));

    ASSERT_EQ(boxes().shown().size(), 1u);
    const ShownBox& input = boxes().shown().front();
    EXPECT_TRUE(input.isInputBox);
    EXPECT_EQ(input.text, QStringLiteral("Enter new name of ORDERS:"));
    EXPECT_EQ(input.defaultText, QStringLiteral("ORDERS"));

    EXPECT_EQ(FileNamesIn(folder.path()),
              (QStringList{"ORDERSX.DB", "Sales.PX", "Sales.VAL", "Sales.X03", "Sales.db", "Sales.mb"}));
    const auto after = readTable(QStringLiteral("Sales.db"));
    EXPECT_EQ(after, before);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0][1], Value(kLongMemo));

    // The new name enters as typed, unselected; the first item becomes current.
    EXPECT_EQ(ItemTexts(list), (QStringList{"ORDERSX", "Sales"}));
    EXPECT_TRUE(SelectedTexts(list).isEmpty());
    EXPECT_EQ(listIndex(list), 0);
    EXPECT_EQ(pointer.shape(), PointerShape::Default);
}

TEST_F(ParadoxMaintenanceTest, RenameNeverReplacesAnotherTableOrItsFiles)
{
    writeTableWithMemo("orders");
    createFiles({"SALES.db", "sales.MB", "LOOSE.mb", "Sub/NOTHING.db"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"ORDERS", "SALES"});

    // Another table's name in another case; a name whose memo file alone is left over; names
    // that would reach outside the folder.
    for (const QString& taken : {QStringLiteral("Sales"), QStringLiteral("loose"), QStringLiteral("../ORDERS"),
                                 QStringLiteral("Sub/NOTHING"), QStringLiteral("..")}) {
        SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));
        renameTable(taken);
    }

    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_EQ(ItemTexts(list), (QStringList{"ORDERS", "SALES"}));
    // A taken name, and a name that cannot be a table's name at all, are the user's to change:
    // plain messages, the left-over memo named as such.
    const auto messages = boxes().plainMessages();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("Paradox table 'SALES' already exists")));
    EXPECT_TRUE(messages[1].text.startsWith(QStringLiteral("File 'LOOSE.mb' in folder")));
    EXPECT_TRUE(messages[1].text.contains(QStringLiteral("is left over from a table loose whose .DB is no longer there")));
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(messages[i].text.contains(QStringLiteral("cannot be the name of a Paradox table")))
            << messages[i].text.toStdString();
    EXPECT_TRUE(boxes().errorReports().empty());
}

TEST_F(ParadoxMaintenanceTest, OwnNameCancelAndEmptyAnswerChangeNothing)
{
    writeTableWithMemo("orders");
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"ORDERS"});

    for (const std::optional<QString>& typed : {std::optional<QString>(QStringLiteral("ORDERS")),
                                                std::optional<QString>(QStringLiteral("orders")),
                                                std::optional<QString>(), std::optional<QString>(QString())}) {
        SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));
        renameTable(typed);
    }

    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_EQ(ItemTexts(list), QStringList{"ORDERS"});
    EXPECT_TRUE(boxes().errorReports().empty());
    EXPECT_EQ(boxes().shown().size(), 4u); // the four input boxes, nothing else
}

TEST_F(ParadoxMaintenanceTest, AMoveThatFailsPutsBackWhatHadMoved)
{
    writeTableWithMemo("orders");
    createFiles({"orders.PX"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"ORDERS"});
    SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));

    // The .DB moves last; its move fails after the companions have moved.
    int moves = 0;
    const FileMove failOnTable = [&moves](const fs::path& from, const fs::path& to) {
        ++moves;
        if (from.extension() == ".db")
            throw std::runtime_error("disk pulled out");
        moveFileWithoutReplacing(from, to);
    };
    renameTable(QStringLiteral("SALES"), failOnTable);

    EXPECT_EQ(moves, 5); // two companions out, the .DB refused, two companions back
    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_EQ(ItemTexts(list), QStringList{"ORDERS"});
    const auto reports = boxes().errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral("disk pulled out Nothing was renamed")));
    EXPECT_TRUE(reports[0].text.contains(ReportedStep(kRename, 120)));
}

TEST_F(ParadoxMaintenanceTest, AFailedPutBackNamesTheFilesLeftUnderTheNewName)
{
    writeTableWithMemo("orders");
    FillTableList(list, {"ORDERS"});
    SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));

    const FileMove stuck = [](const fs::path& from, const fs::path& to) {
        if (from.extension() == ".db" || from.filename() == "SALES.mb")
            throw std::runtime_error("refused.");
        moveFileWithoutReplacing(from, to);
    };
    renameTable(QStringLiteral("SALES"), stuck);

    // The journal stays, and the next start puts the memo back with its table.
    const QStringList left = FileNamesIn(folder.path());
    ASSERT_EQ(left.size(), 3);
    EXPECT_TRUE(left[0].startsWith(QStringLiteral(".quintabel-journal-")));
    EXPECT_EQ(left.mid(1), (QStringList{"SALES.mb", "orders.db"}));
    const auto reports = boxes().errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("keeps its new name and belongs to table 'ORDERS'")));
    EXPECT_EQ(ItemTexts(list), QStringList{"ORDERS"});
    const std::vector<RecoveryNote> notes = recoverParadoxFolder(folder.path().toStdString());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].what, RecoveryNote::What::RenameUndone);
    EXPECT_EQ(FileNamesIn(folder.path()), (QStringList{"orders.db", "orders.mb"}));
}

TEST_F(ParadoxMaintenanceTest, ATableWhoseFileCannotBeDeletedKeepsItsMemos)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root deletes files in a read-only folder";
    createFiles({"ORDERS.DB", "ORDERS.MB"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"ORDERS"});
    SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    deleteTables();

    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(FolderContents(folder.path()), before);
    const auto reports = boxes().errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(ReportedStep(kDelete, 112)));
}

TEST_F(ParadoxMaintenanceTest, TwoTablesDifferingOnlyInCaseAreReportedNotGuessed)
{
    createFiles({"orders.db", "ORDERS.DB"});
    const auto before = FolderContents(folder.path());
    FillTableList(list, {"ORDERS", "ORDERS"});
    SelectTables(list, {"ORDERS"}, QStringLiteral("ORDERS"));

    deleteTables();

    EXPECT_EQ(FolderContents(folder.path()), before);
    EXPECT_EQ(ItemTexts(list), (QStringList{"ORDERS", "ORDERS"}));
    // Which file is meant is the user's to settle: told plainly, once for each item.
    EXPECT_TRUE(boxes().errorReports().empty());
    ASSERT_EQ(boxes().plainMessages().size(), 2u);
    EXPECT_TRUE(boxes().plainMessages()[0].text.contains(QStringLiteral("'ORDERS.DB', 'orders.db'")))
        << boxes().plainMessages()[0].text.toStdString();
}

} // namespace
} // namespace quintabel::testing
