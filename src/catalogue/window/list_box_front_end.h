#pragma once
// The tables window as the engine's front end (frontend/front_end.h): its list boxes, progress
// bar, tick boxes and pointer behave exactly as when the runs drove the widgets themselves.

#include "frontend/front_end.h"

#include <functional>
#include <optional>

class QCheckBox;
class QListWidget;

namespace quintabel {

class PointerRules;
class ProgressBar;

// A table list box of the tables window seen as a TableListView.
class ListBoxTables final : public TableListView {
public:
    explicit ListBoxTables(QListWidget& list) : list_(list) {}

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
    QListWidget& list_;
};

// The widgets one run works on. The structured events are ignored: the window's boxes
// already say it all.
struct ListBoxParts {
    QListWidget& sourceList;
    QListWidget* targetList = nullptr;        // none for deleting and renaming
    const QCheckBox* customiseBox = nullptr;  // none: nothing is customised
    ProgressBar* progressBar = nullptr;       // none: progress is not shown
    PointerRules* pointer = nullptr;          // none: the pointer stays as it is
    // True once the window has been closed: the program is ending.
    std::function<bool()> endRequested;
};

class ListBoxFrontEnd final : public FrontEnd {
public:
    explicit ListBoxFrontEnd(const ListBoxParts& parts);

    TableListView& sourceList() override { return source_; }
    // Without a target list box, a list of its own, empty at first.
    TableListView& targetList() override;
    bool customiseTypes() const override;
    bool stopRequested() const override;
    void showRowProgress(const QString& tableName, std::int64_t row, std::int64_t rowCount) override;
    void showIdle() override;
    void showBusy(bool busy) override;
    void showWaitingForFolder(const QString& folder, bool waiting) override;

private:
    ListBoxParts parts_;
    ListBoxTables source_;
    std::optional<ListBoxTables> target_;
    NamedTables noTarget_;
};

} // namespace quintabel
