#pragma once
// Form3, the data type customisation window. A transfer with "Send with data type
// customization" ticked shows it modally once per table, through the customisation hand-off:
// it lists the source table's fields beside a proposed target type for each, lets the user
// replace a type ("Apply"), and on "OK" hands back the CREATE TABLE statement built from the
// types as they stand. "Cancel", Escape and the close box leave the hand-off cancelled.
//
// The list state and every rule about it live in CustomisationLists; this window shows that
// state, turns clicks into calls on it, and runs each handler under its step guard.

#include "base/connection_fields.h"
#include "customise/customisation_lists.h"
#include "shell/pointer_rules.h"
#include "shell/web_site.h"
#include "transfer/customise_handoff.h"

#include <QDialog>

#include <functional>
#include <optional>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quintabel {

// The reference page on ODBC data types that "Help" opens for a Paradox target.
inline constexpr char kOdbcDataTypesPage[] =
    "https://learn.microsoft.com/en-us/sql/odbc/reference/appendixes/sql-data-types";

class Form3 : public QDialog, public CustomisationWindow {
public:
    // What the window needs from the world around it.
    struct Environment {
        QString programFolder;                               // where HAND-M.CUR is looked for
        std::function<ConnectionFields()> connectionFields;  // the connection window's, read when loading
        WebSiteOpener openWebPage;                           // "Help" for a Paradox target
        // Runs the modal loop and returns when the window has closed. Tests drive the window
        // from here instead, so that none of them ever waits in a real modal loop.
        std::function<void(QDialog&)> runModalLoop;

        // The running program's: the folder of the executable, the browser, exec().
        static Environment production(std::function<ConnectionFields()> connectionFields);
    };

    explicit Form3(Environment environment, QWidget* parent = nullptr);

    // The hand-off's modal call: takes `mType`, `mSQL` and `mTableName` from the transfer,
    // loads, runs the modal loop, and gives back `mSQL` and `CustomizeCancelled` as the window
    // left them (changed by "OK" only).
    void showModal(CustomiseHandoff& handoff) override;

    // The hand-off as this showing of the window holds it.
    const CustomiseHandoff& handoff() const { return handoff_; }
    const customise::CustomisationLists& lists() const { return lists_; }
    // `mChanged`: "Apply" changed a type since loading.
    bool changed() const { return lists_.changed(); }
    PointerRules& pointer() { return pointer_; }

    // The load step ("Form3.Form_Load"): look, icon, hand pointer, then the fields of the
    // source table with their proposed types. A loader that fails is reported and the window
    // opens with what it had loaded.
    void Form_Load();

    // The close request, whatever caused it: true when the window may close. After "Apply"
    // changed a type it asks first; the answer No keeps the window open with all its state.
    bool Form_QueryUnload();

    void PushButton1_Click(); // "Apply"
    void PushButton2_Click(); // "OK"
    void PushButton3_Click(); // "Help"
    void PushButton4_Click(); // "Cancel"
    void List1_Click();       // a field selected: its type follows
    void List2_Click();       // a type selected: its field follows

    // Escape, the close box and "Cancel" all end here: the close request decides.
    void reject() override;

    // The controls, by their designer names.
    QPushButton* PushButton3;
    QGroupBox* Frame1;
    QListWidget* List1;
    QGroupBox* Frame2;
    QListWidget* List2;
    QGroupBox* Frame3;
    QLineEdit* Text1;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton4;

private:
    void createControls();
    void arrangeControls();
    void setFonts();
    void prepareForKeyboardAndScreenReader();
    void watchPointer();
    void loadFields();
    void showLoadedLists();
    void followSelection(std::optional<int> row);

    Environment environment_;
    PointerRules pointer_;
    CustomiseHandoff handoff_;
    customise::CustomisationLists lists_;
    // Set while one list's selection is being copied to the other, so that the copy does not
    // start the other list's selection handling again.
    bool followingSelection_ = false;
};

} // namespace quintabel
