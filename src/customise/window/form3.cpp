#include "customise/window/form3.h"

#include "base/application_title.h"
#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "base/step_guard.h"
#include "customise/accepted_types.h"
#include "customise/customised_create.h"
#include "customise/field_loading.h"
#include "shell/empty_list_focus.h"
#include "shell/enter_presses_button.h"
#include "shell/form1.h"
#include "shell/window_fonts.h"
#include "shell/window_look.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QUrl>
#include <QVBoxLayout>

namespace quintabel {

namespace {

constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 460;

const QString kModule = QStringLiteral("Form3");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<int> selectedRowOf(const QListWidget& list)
{
    const QList<QListWidgetItem*> selected = list.selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return list.row(selected.front());
}

// Shows `row` as the one selected entry of `list`, or none when the list has no such entry.
void showSelectedRow(QListWidget& list, std::optional<std::size_t> row)
{
    if (!row || *row >= static_cast<std::size_t>(list.count())) {
        list.clearSelection();
        return;
    }
    list.setCurrentRow(static_cast<int>(*row), QItemSelectionModel::ClearAndSelect);
    list.scrollToItem(list.currentItem());
}

} // namespace

Form3::Environment Form3::Environment::production(std::function<ConnectionFields()> connectionFields)
{
    Environment environment;
    environment.programFolder = folderOfProgram();
    environment.connectionFields = std::move(connectionFields);
    environment.openWebPage = openInBrowser;
    environment.runModalLoop = [](QDialog& window) { window.exec(); };
    return environment;
}

Form3::Form3(Environment environment, QWidget* parent)
    : QDialog(parent), environment_(std::move(environment)), pointer_(*this)
{
    setObjectName(QStringLiteral("Form3"));
    setModal(true);
    setWindowTitle(fromUtf8(customise::windowCaption));
    createControls();
    arrangeControls();
    setFonts();
    prepareForKeyboardAndScreenReader();
    watchPointer();
}

void Form3::createControls()
{
    PushButton3 = new QPushButton(QStringLiteral("Help"), this);
    Frame1 = new QGroupBox(QStringLiteral("Fields"), this);
    List1 = new QListWidget(Frame1);
    Frame2 = new QGroupBox(QStringLiteral("Data Type"), this);
    List2 = new QListWidget(Frame2);
    Frame3 = new QGroupBox(QStringLiteral("Change Selected Data Type To This"), this);
    Text1 = new QLineEdit(Frame3);
    PushButton1 = new QPushButton(QStringLiteral("Apply"), Frame3);
    PushButton2 = new QPushButton(QStringLiteral("OK"), this);
    PushButton4 = new QPushButton(QStringLiteral("Cancel"), this);

    const auto name = [](QObject* control, const char* designerName) {
        control->setObjectName(QString::fromLatin1(designerName));
    };
    name(PushButton1, "PushButton1"), name(PushButton2, "PushButton2");
    name(PushButton3, "PushButton3"), name(PushButton4, "PushButton4");
    name(Frame1, "Frame1"), name(Frame2, "Frame2"), name(Frame3, "Frame3");
    name(List1, "List1"), name(List2, "List2"), name(Text1, "Text1");

    for (QListWidget* list : {List1, List2})
        list->setSelectionMode(QAbstractItemView::SingleSelection);

    // Return in the text box must not press a button the user did not choose (a dialog's
    // buttons would otherwise take turns as its default button).
    for (QPushButton* button : {PushButton1, PushButton2, PushButton3, PushButton4}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] { List1_Click(); });
    connect(List2, &QListWidget::itemSelectionChanged, this, [this] { List2_Click(); });
}

void Form3::arrangeControls()
{
    auto* fieldsFrame = new QVBoxLayout(Frame1);
    fieldsFrame->addWidget(List1);
    auto* typesFrame = new QVBoxLayout(Frame2);
    typesFrame->addWidget(List2);
    auto* lists = new QHBoxLayout;
    lists->addWidget(Frame1, 1);
    lists->addWidget(Frame2, 1);

    auto* editFrame = new QHBoxLayout(Frame3);
    editFrame->addWidget(Text1, 1);
    editFrame->addWidget(PushButton1);

    auto* closing = new QHBoxLayout;
    closing->addWidget(PushButton2, 1);
    closing->addWidget(PushButton4, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(PushButton3);
    column->addLayout(lists, 1);
    column->addWidget(Frame3);
    column->addLayout(closing);
    resize(kWindowWidth, kWindowHeight);
}

void Form3::setFonts()
{
    setFont(arialBold(kTextPointSize));
    for (QPushButton* button : {PushButton1, PushButton2, PushButton3, PushButton4})
        button->setFont(arialBold(kButtonPointSize));
}

void Form3::prepareForKeyboardAndScreenReader()
{
    // The lists and the text box are announced by their frames' captions.
    List1->setAccessibleName(Frame1->title());
    List2->setAccessibleName(Frame2->title());
    Text1->setAccessibleName(Frame3->title());
    // A failed load leaves the lists empty.
    showFocusWhenEmpty(*List1);
    showFocusWhenEmpty(*List2);
    for (QPushButton* button : {PushButton1, PushButton2, PushButton3, PushButton4})
        letEnterPressButton(*button);
}

void Form3::watchPointer()
{
    for (QPushButton* button : {PushButton1, PushButton2, PushButton3, PushButton4})
        pointer_.watchButton(*button);
    // A list's mouse moves reach its viewport, not the list itself.
    for (QWidget* surface : std::initializer_list<QWidget*>{Frame1, Frame2, Frame3, List1, List1->viewport(),
                                                            List2, List2->viewport(), Text1})
        pointer_.watchSurface(*surface);
}

void Form3::showModal(CustomiseHandoff& handoff)
{
    handoff_ = handoff;
    Form_Load();
    environment_.runModalLoop(*this);
    handoff.mSQL = handoff_.mSQL;
    handoff.CustomizeCancelled = handoff_.CustomizeCancelled;
}

void Form3::Form_Load()
{
    StepGuard guard(kModule, QStringLiteral("Form_Load"));
    guard.step(100, [&] { ApplyFaceColour(*this); });
    guard.step(102, [&] { setWindowIcon(programIcon()); });
    const QString cursorFile = handCursorFile(environment_.programFolder);
    if (guard.test(104, [&] { return PathExists(cursorFile); }))
        guard.step(106, [&] { pointer_.setHandImage(loadHandCursor(cursorFile)); });
    // Each showing starts afresh: nothing of the previous table remains, `mChanged` is false.
    guard.step(108, [&] { lists_ = customise::CustomisationLists(); });
    if (guard.test(110, [&] { return handoff_.mType == targetKindText(TargetKind::Paradox); }))
        guard.step(112, [&] {
            customise::LoadFieldsFromMySQL(customise::loginFieldsOf(environment_.connectionFields()),
                                           handoff_.mTableName, lists_);
        });
    else if (guard.test(114, [&] { return handoff_.mType == targetKindText(TargetKind::MySQL); }))
        guard.step(116, [&] {
            customise::LoadFieldsFromParadox(customise::loginFieldsOf(environment_.connectionFields()),
                                             handoff_.mTableName, lists_);
        });
    // A failed loader leaves what it had appended: that is what the window shows.
    showLoadedLists();
}

void Form3::showLoadedLists()
{
    const QScopedValueRollback following(followingSelection_, true);
    List1->clear();
    List2->clear();
    for (const std::string& fieldName : lists_.fieldNames())
        List1->addItem(fromUtf8(fieldName));
    for (const std::string& typeText : lists_.typeTexts())
        List2->addItem(fromUtf8(typeText));
    Text1->clear();
}

void Form3::List1_Click()
{
    followSelection(selectedRowOf(*List1));
}

void Form3::List2_Click()
{
    followSelection(selectedRowOf(*List2));
}

void Form3::followSelection(std::optional<int> row)
{
    if (followingSelection_)
        return;
    const QScopedValueRollback following(followingSelection_, true);
    if (!row) {
        lists_.clearSelection();
        List1->clearSelection();
        List2->clearSelection();
        return;
    }
    // The extra field of a failed load has no type entry: it is selected alone and the text
    // box is emptied, so that no other field's type stands there as if it were its own.
    const std::optional<std::string> typeText = lists_.selectRow(static_cast<std::size_t>(*row));
    showSelectedRow(*List1, lists_.selectedRow());
    showSelectedRow(*List2, typeText ? lists_.selectedRow() : std::nullopt);
    Text1->setText(typeText ? fromUtf8(*typeText) : QString());
}

void Form3::PushButton1_Click()
{
    StepGuard guard(kModule, QStringLiteral("PushButton1_Click"));
    const QString typed = Text1->text();
    auto outcome = customise::ApplyOutcome::NothingSelected;
    guard.step(100, [&] { outcome = lists_.apply(typed.toStdString()); });
    if (outcome == customise::ApplyOutcome::Applied) {
        // The entry shows exactly the text that "OK" will write.
        guard.step(102, [&] {
            const std::size_t row = *lists_.selectedRow();
            List2->item(static_cast<int>(row))->setText(fromUtf8(lists_.typeTexts()[row]));
        });
    } else if (outcome == customise::ApplyOutcome::InvalidType) {
        guard.step(106, [&] { showMessage(fromUtf8(customise::invalidTypeMessage)); });
    }
}

void Form3::PushButton2_Click()
{
    StepGuard guard(kModule, QStringLiteral("PushButton2_Click"));
    const bool squareBrackets =
        guard.test(100, [&] { return customise::columnQuotingFor(handoff_.mType) == TargetKind::Paradox; });
    // The statement is built in one go, without letting the message loop run in between: a
    // "Cancel" handled halfway would otherwise close the window, and the end of this handler
    // would then report the run as confirmed.
    guard.step(squareBrackets ? 104 : 132, [&] { handoff_.mSQL = lists_.confirm(handoff_.mSQL, handoff_.mType); });
    guard.step(158, [&] { handoff_.CustomizeCancelled = false; });
    guard.step(160, [&] { close(); });
}

void Form3::PushButton3_Click()
{
    StepGuard guard(kModule, QStringLiteral("PushButton3_Click"));
    if (guard.test(100, [&] { return handoff_.mType == targetKindText(TargetKind::Paradox); }))
        guard.step(102, [&] { environment_.openWebPage(QUrl(QString::fromLatin1(kOdbcDataTypesPage))); });
    else if (guard.test(104, [&] { return handoff_.mType == targetKindText(TargetKind::MySQL); }))
        guard.step(106, [&] { showMessage(fromUtf8(customise::acceptedTypeHelpText())); });
}

void Form3::PushButton4_Click()
{
    StepGuard guard(kModule, QStringLiteral("PushButton4_Click"));
    guard.step(100, [&] { close(); });
}

void Form3::reject()
{
    if (Form_QueryUnload())
        QDialog::reject();
}

bool Form3::Form_QueryUnload()
{
    StepGuard guard(kModule, QStringLiteral("Form_QueryUnload"));
    if (!guard.test(100, [&] { return lists_.closeNeedsQuestion(); }))
        return true;
    // Should the question itself fail, the window stays open: the user's changes are kept.
    bool leaveWithoutChanges = false;
    guard.step(102, [&] {
        leaveWithoutChanges = askYesNo(fromUtf8(customise::unsavedChangeQuestion), applicationTitle());
    });
    return leaveWithoutChanges;
}

} // namespace quintabel
