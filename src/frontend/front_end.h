#pragma once
// What the engine's runs (the two transfers, deleting and renaming tables) ask of whoever
// started them: the tables window, or a front end without windows such as the command line.
// Everything here is Qt Core: a run never sees a widget.
//
// installedMessageBoxes stay where they were: every message, question, error report and input box goes
// through the installed message boxes (base/message_boxes.h). A front end without windows
// installs its own MessageBoxes and answers from its options; BoxRequest::question tells the
// overwrite question from the trim question, and the rename run's input box (the only one)
// is answered with the new name.
//
// A run talks to one FrontEnd for its whole length and does not keep it afterwards. The runs:
//   sendTablesToParadox / sendTablesToMySql (StepGuard&, FrontEnd&, const TransferEnvironment&)
//   deleteMySqlTables / renameMySqlTable    (StepGuard&, FrontEnd&, const ConnectionFields&)
//   deleteParadoxTables / renameParadoxTable (StepGuard&, FrontEnd&, const QString& folder)
// and the listings without widgets: mySqlTableNames(fields) and paradoxTableNames(folder)
// (catalogue/), each a QStringList in the order the lists show.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quintabel {

// One side's list of table names, as a run reads and edits it. The tables window's list
// boxes stand behind it in the windows; NamedTables (below) is a plain list of names.
class TableListView {
public:
    virtual ~TableListView() = default;

    virtual int count() const = 0;
    virtual QString nameAt(int index) const = 0;
    virtual bool isSelected(int index) const = 0;
    // The current item's index, or -1: a run without a current item asks for a selection.
    virtual int currentIndex() const = 0;

    // True when some name equals `name` without regard to letter case.
    virtual bool lists(const QString& name) const = 0;

    // Removes the name at `index`; an index past the end removes nothing.
    virtual void removeAt(int index) = 0;
    // Removes every name that equals `name` exactly (case included).
    virtual void removeName(const QString& name) = 0;
    // Adds `name` at its alphabetical place (letter case ignored; equal names may repeat).
    virtual void addName(const QString& name) = 0;
    // Empties the list before it is listed afresh with addName.
    virtual void clearNames() = 0;
    // After a rename: the name at `index` goes, `newName` enters at its alphabetical place
    // unselected, and the first name becomes the current one.
    virtual void replaceRenamed(int index, const QString& newName) = 0;
};

// The name as `list` spells it: `name` itself when listed so, else the first listed name that
// equals it without regard to letter case; nothing when `list` does not list it.
std::optional<QString> listedSpelling(const TableListView& list, const QString& name);

// A list of names given outright (by a front end that takes table names as arguments): every
// name is selected, the first is current, and the edits of a run change the list as they
// would a window's.
class NamedTables final : public TableListView {
public:
    NamedTables() = default;
    explicit NamedTables(const QStringList& names);

    // The names now listed, top to bottom.
    QStringList names() const;

    int count() const override;
    QString nameAt(int index) const override;
    bool isSelected(int index) const override;
    int currentIndex() const override;
    bool lists(const QString& name) const override;
    void removeAt(int index) override;
    void removeName(const QString& name) override;
    void addName(const QString& name) override;
    void clearNames() override;
    void replaceRenamed(int index, const QString& newName) override;

private:
    struct Entry {
        QString name;
        bool selected; // given names are; names a run adds are not
    };
    std::vector<Entry> entries_;
};

// How a table's run ended.
enum class TableEnd {
    Written,    // the table stands in the target under its name
    Skipped,    // the user (or the front end's answer) declined the trim or overwrite question
    NotWritten, // created or copied but not written: a failed CREATE, write-out or swap, or an
                // overwrite refused because the copy was incomplete; the old table stays
    CutShort,   // a failure stopped the rows; nothing of the table was kept
    Cancelled,  // the customisation window was cancelled, or a stop was requested: the run ends
};

// One row the target did not take, or that was not sent because the target could not hold it.
struct RefusedRow {
    QString table;               // the target name, as the progress shows it
    std::int64_t row = 0;        // the source row, counted from 1
    std::optional<QString> column; // the column the reason names, when known
    QString reason;              // the text the report gives
    QString statement;           // the row's own INSERT statement (may be empty)
};

// Something a table's run told the user besides its end and its refused rows, which a report
// must keep as well.
struct TableNotice {
    enum class Kind {
        ValuesChanged,   // values the target cannot hold arrived changed (MySQL's zero dates left blank)
        RowCountDiffers, // the source's header promised another number of rows than its file held
        KeyNotKept,      // the table arrived whole, but without (some of) its keys: the message says why
    };
    Kind kind = Kind::ValuesChanged;
    QString table;                 // the target name, as the progress shows it
    std::optional<QString> column; // ValuesChanged: the column whose values changed
    std::int64_t rows = 0;         // ValuesChanged: the rows changed; RowCountDiffers: the rows read
    std::int64_t rowsPromised = 0; // RowCountDiffers: the rows the header promised
    QString message;               // what the user was told
};

// The end of one table's run.
struct TableOutcome {
    QString sourceName;          // as listed on the source side
    QString targetName;          // as written (cut to 8 characters for Paradox)
    std::int64_t rowsSent = 0;   // rows that arrived in the target (or would have, if written)
    std::int64_t rowsRefused = 0; // rows that did not
    TableEnd end = TableEnd::Written;
    QString message;             // what the run told the user of the table's end; empty when Written
};

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // The side the run reads its tables from (for deleting and renaming: the side whose tables
    // change), with the user's selection.
    virtual TableListView& sourceList() = 0;
    // The other side's names: the overwrite question looks here, and a transfer removes, adds
    // and relists names in it as the target's tables change.
    virtual TableListView& targetList() = 0;

    // Whether the user asked to customise the column types of each table sent ("Send with
    // data type customization" ticked). The customisation window itself is the environment's
    // (transfer/transfer_environment.h).
    virtual bool customiseTypes() const = 0;

    // Asked before every row and every table: true stops the run there, leaving no
    // half-written table behind.
    virtual bool stopRequested() const = 0;

    // Row `row` of the `rowCount` rows of `tableName` is in hand.
    virtual void showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount) = 0;
    // No table is being copied.
    virtual void showIdle() = 0;
    // The busy pointer while a run works; false restores the default pointer.
    virtual void showBusy(bool busy) = 0;
    // With `waiting`: another program is writing in the Paradox folder `folder`, and the run
    // waits for it to finish, until stopRequested() says otherwise. Without: the wait is over.
    virtual void showWaitingForFolder(const QString& folder, bool waiting);

    // Structured events for a machine-readable report. The windows ignore them: their boxes
    // already say it all.
    virtual void tableStarted(const QString& sourceName, const QString& targetName);
    virtual void rowRefused(const RefusedRow& row);
    virtual void tableNotice(const TableNotice& notice);
    virtual void tableFinished(const TableOutcome& outcome);
};

// What a run hands the Paradox folder's write lock as its wait (maintenance/durable_files.h):
// the front end says that the run waits, the windows keep answering meanwhile, and a stop
// request gives the wait up.
std::function<bool(bool waiting)> waitForParadoxFolder(FrontEnd& frontEnd, const QString& folder);

} // namespace quintabel
