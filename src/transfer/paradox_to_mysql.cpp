#include "transfer/paradox_to_mysql.h"

#include "catalogue/exist_table.h"
#include "catalogue/progress_bar.h"
#include "catalogue/table_name_list.h"
#include "connections/connection.h"
#include "shell/list_helpers.h"
#include "shell/message_boxes.h"
#include "shell/pointer_rules.h"
#include "shell/step_guard.h"
#include "transfer/create_statement_choice.h"
#include "transfer/mysql_row_fit.h"
#include "transfer/mysql_set_aside.h"
#include "transfer/row_copy.h"
#include "transfer/sql_names.h"
#include "transfer/transfer_connections.h"
#include "transfer/transfer_messages.h"
#include "transfer/transfer_questions.h"

#include <QCheckBox>
#include <QListWidget>

#include <optional>

namespace quintabel {

namespace {

constexpr CreateStatementLabels kCreateLabels{
    .prefix = 140,
    .defaultWhenUnticked = 142,
    .defaultBuildUnticked = 222,
    .cancelledFlag = 144,
    .targetKind = 146,
    .statementPrefix = 148,
    .tableName = 150,
    .showWindow = 152,
    .cancelledTest = 154,
    .windowStatement = 162,
    .prefixTest = 164,
    .defaultBuildAfterWindow = 166,
};

constexpr RowCopyLabels kRowLabels{
    .rowCount = 294,
    .rowLoop = 296,
    .repaint = 298,
    .progress = 300,
    .statementStart = 302,
    .fieldLoop = 304,
    .fieldRepaint = 306,
    .valueText = 308,
    .execute = 338,
    .moveNext = 340,
};

enum class AfterTable { NextTable, EndRun };

class ParadoxToMySqlRun {
public:
    ParadoxToMySqlRun(StepGuard& guard, const TransferWindow& window, const TransferEnvironment& environment)
        : guard_(guard), window_(window), environment_(environment)
    {
    }

    void run();

private:
    AfterTable sendTable(int itemIndex);
    // Renames the existing table aside; false (reported) when it could not be.
    bool setAside(const std::string& table, std::optional<std::string>& backup);
    // After the rows: drops the old table when the new one is whole, else puts it back.
    void settleSetAside(const std::string& table, const std::string& backup, bool created,
                        const std::optional<QString>& shortfall);
    void endRunCutShort(const std::string& table, const std::optional<std::string>& backup, bool created);
    bool endRequested() const { return window_.endRequested && window_.endRequested(); }

    StepGuard& guard_;
    const TransferWindow& window_;
    const TransferEnvironment& environment_;
    ConnectionFields fields_;
    connections::Connection paradox_;
    connections::Connection mysql_;
    connections::Recordset source_;
};

void ParadoxToMySqlRun::run()
{
    guard_.setStatement(QString());
    if (guard_.test(108, [&] { return ListIndex(window_.sourceList) == -1; })) {
        guard_.step(364, [] { ShowMessage(QString::fromLatin1(kSelectTableToSend)); });
        return;
    }
    guard_.step(110, [&] { window_.pointer.setShape(PointerShape::Busy); });
    if (environment_.connectionFields)
        fields_ = environment_.connectionFields();
    openParadoxConnection(guard_, 112, paradox_, fields_);
    openMySqlConnection(guard_, 116, mysql_, fields_);

    for (int index = window_.sourceList.count() - 1; index >= 0; --index) { // [124]
        if (index >= window_.sourceList.count())
            continue;
        if (guard_.test(126, [&] { return !window_.sourceList.item(index)->isSelected(); }))
            continue; // [350]
        if (endRequested() || sendTable(index) == AfterTable::EndRun)
            return;
    }
    guard_.step(358, [&] { window_.pointer.setShape(PointerShape::Default); });
    guard_.step(360, [&] { closeIfOpen(mysql_); });
    guard_.step(362, [&] { closeIfOpen(paradox_); });
}

AfterTable ParadoxToMySqlRun::sendTable(int itemIndex)
{
    QString tableName;
    guard_.step(128, [&] { tableName = window_.sourceList.item(itemIndex)->text(); });
    bool overwrite = false;
    if (guard_.test(130, [&] { return ListHasItem(window_.targetList, tableName); })) {
        guard_.step(132, [&] { overwrite = AskToOverwrite(tableName); });
        if (!overwrite)
            return AfterTable::NextTable; // [136]
    }
    if (endRequested())
        return AfterTable::EndRun;

    const std::string table = tableName.toStdString();
    const bool opened =
        guard_.step(138, [&] { source_.Open("SELECT * FROM " + transfer::backtickQuoted(table), paradox_); });
    const ChosenCreateStatement create =
        chooseCreateStatement(guard_, kCreateLabels, table, source_, transfer::TargetKind::MySQL,
                              window_.customizeBox.isChecked(), environment_.customizationWindow);
    if (create.cancelled) {
        guard_.step(156, [&] { closeIfOpen(mysql_); });
        guard_.step(158, [&] { closeIfOpen(paradox_); });
        guard_.step(160, [&] { window_.pointer.setShape(PointerShape::Default); });
        return AfterTable::EndRun;
    }

    std::optional<std::string> backup;
    if (guard_.test(278, [&] { return overwrite; })) {
        if (!setAside(table, backup)) {
            guard_.step(346, [&] { source_.Close(); });
            return AfterTable::NextTable;
        }
        guard_.step(282, [&] { RemoveListItem(window_.targetList, tableName); });
    }
    const bool created = guard_.step(286, [&] { mysql_.Execute(create.statement); });

    // Rows are checked against the columns as made: the default types are known here; a
    // customised statement's columns are read back from the server.
    std::optional<MySqlColumnsFit> fit;
    if (create.isDefault)
        fit = MySqlColumnsFit::forDefaultTypes(create.fields);
    else if (created)
        guard_.step(286, [&] { fit = MySqlColumnsFit::forCreatedTable(mysql_, table); });
    const RowCopyOutcome rows = copyRows(guard_, kRowLabels, source_, mysql_, table, transfer::TargetKind::MySQL,
                                         fit ? &*fit : nullptr, window_.progressBar, window_.endRequested);
    guard_.step(342, [&] { window_.pointer.setShape(PointerShape::Default); });
    guard_.step(344, [&] {
        window_.progressBar.setValue(0);
        window_.progressBar.setText(QString::fromLatin1(kIdleProgressText));
    });
    guard_.step(346, [&] { source_.Close(); });

    if (rows.stoppedByClose) {
        endRunCutShort(table, backup, created);
        return AfterTable::EndRun;
    }
    if (backup)
        settleSetAside(table, *backup, created, IncompleteTableReason(opened, created, rows));
    guard_.step(348, [&] { AddTableName(window_.targetList, tableName); });
    return AfterTable::NextTable;
}

bool ParadoxToMySqlRun::setAside(const std::string& table, std::optional<std::string>& backup)
{
    return guard_.step(280, [&] {
        const std::string name = freeBackupName(mysql_, table);
        // The server decides whether the name is taken, in its own letter case rules: a name
        // the list shows in another case, or no longer holds, has nothing to set aside.
        if (setAsideTable(mysql_, table, name))
            backup = name;
    });
}

void ParadoxToMySqlRun::settleSetAside(const std::string& table, const std::string& backup, bool created,
                                       const std::optional<QString>& shortfall)
{
    if (!shortfall) {
        guard_.step(280, [&] { dropMySqlTable(mysql_, backup); });
        return;
    }
    const QString name = QString::fromStdString(table);
    if (guard_.step(280, [&] { restoreSetAsideTable(mysql_, table, backup, created); }))
        guard_.report(280, NotOverwrittenMessage(name, *shortfall));
    else
        guard_.report(280, QStringLiteral("The table %1 was not overwritten, but could not take its name back: "
                                          "it is kept as %2.")
                               .arg(name, QString::fromStdString(backup)));
}

void ParadoxToMySqlRun::endRunCutShort(const std::string& table, const std::optional<std::string>& backup,
                                       bool created)
{
    // The program is ending: a table cut short does not stay behind looking complete.
    if (backup)
        guard_.step(280, [&] { restoreSetAsideTable(mysql_, table, *backup, created); });
    else if (created)
        guard_.step(286, [&] { dropMySqlTable(mysql_, table); });
}

} // namespace

void SendTablesToMySql(StepGuard& guard, const TransferWindow& window, const TransferEnvironment& environment)
{
    ParadoxToMySqlRun(guard, window, environment).run();
}

} // namespace quintabel
