#include "catalogue/window/form2.h"

#include "base/maker.h"
#include "base/message_boxes.h"
#include "base/path_helpers.h"
#include "base/settings_store.h"
#include "catalogue/window/customisation_boxes.h"
#include "catalogue/window/progress_bar.h"
#include "catalogue/window/table_name_list.h"
#include "shell/empty_list_focus.h"
#include "shell/enter_presses_button.h"
#include "shell/form1.h"
#include "shell/window_fonts.h"
#include "shell/window_look.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>

namespace quintabel {

namespace {

// The window is laid out in twips (1/1440 inch); at the logical 96 dots per inch that Qt
// scales from, 15 twips make one pixel.
int pixels(int twips)
{
    return qRound(twips / 15.0);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

constexpr int kClientWidth = 8040;
// The window reaches 580 twips below "< Back" counting its title bar and borders; what is
// left of that inside the window, under a standard title bar, is 105 twips.
constexpr int kBelowBackButton = 105;

const QString kForm2 = QStringLiteral("Form2");

} // namespace

Form2::Environment Form2::Environment::production()
{
    Environment environment;
    environment.programFolder = folderOfProgram();
    environment.endProgram = [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    };
    return environment;
}

Form2::Form2(Environment environment, QWidget& connectionWindow, QWidget* parent)
    : QWidget(parent), environment_(std::move(environment)), connectionWindow_(connectionWindow),
      pointer_(*this)
{
    setObjectName(kForm2);
    createControls();
    placeControls();
    setFonts();
    setTabOrder();
    prepareForKeyboardAndScreenReader();
    connectHandlers();
    watchPointer();
}

void Form2::createControls()
{
    Frame1 = new QGroupBox(QStringLiteral("MySQL Tables"), this);
    List1 = new QListWidget(Frame1);
    PushButton10 = new QPushButton(QStringLiteral("Select All"), Frame1);
    PushButton11 = new QPushButton(QStringLiteral("Deselect All"), Frame1);
    PushButton3 = new QPushButton(QStringLiteral("Send Table/s To Paradox"), Frame1);
    Check15 = new QCheckBox(QStringLiteral("Send with data type customization"), Frame1);
    PushButton1 = new QPushButton(QStringLiteral("Delete Table/s"), Frame1);
    PushButton6 = new QPushButton(QStringLiteral("Rename Table"), Frame1);

    Frame2 = new QGroupBox(QStringLiteral("Paradox Tables"), this);
    List2 = new QListWidget(Frame2);
    PushButton8 = new QPushButton(QStringLiteral("Select All"), Frame2);
    PushButton9 = new QPushButton(QStringLiteral("Deselect All"), Frame2);
    PushButton4 = new QPushButton(QStringLiteral("Send Table/s To MySQL"), Frame2);
    Check16 = new QCheckBox(QStringLiteral("Send with data type customization"), Frame2);
    PushButton5 = new QPushButton(QStringLiteral("Delete Table/s"), Frame2);
    PushButton7 = new QPushButton(QStringLiteral("Rename Table"), Frame2);

    ProgressBar1 = new ProgressBar(this);
    PushButton2 = new QPushButton(QStringLiteral("< Back"), this);
    PushButton12 = new QPushButton(QStringLiteral("Help"), this);

    prepareTableList(*List1);
    prepareTableList(*List2);

    const std::pair<QObject*, const char*> names[] = {
        {Frame1, "Frame1"},           {Frame2, "Frame2"},           {List1, "List1"},
        {List2, "List2"},             {Check15, "Check15"},         {Check16, "Check16"},
        {ProgressBar1, "ProgressBar1"}, {PushButton1, "PushButton1"}, {PushButton2, "PushButton2"},
        {PushButton3, "PushButton3"}, {PushButton4, "PushButton4"}, {PushButton5, "PushButton5"},
        {PushButton6, "PushButton6"}, {PushButton7, "PushButton7"}, {PushButton8, "PushButton8"},
        {PushButton9, "PushButton9"}, {PushButton10, "PushButton10"}, {PushButton11, "PushButton11"},
        {PushButton12, "PushButton12"},
    };
    for (const auto& [control, designerName] : names)
        control->setObjectName(QString::fromLatin1(designerName));
}

void Form2::placeControls()
{
    struct Placement {
        QWidget* control;
        int left, top, width, height; // twips; inside a frame, relative to the frame
    };
    const Placement placements[] = {
        {Frame1, 120, 120, 3840, 4700},
        {List1, 240, 360, 3330, 1635},
        {PushButton10, 240, 2100, 1600, 405},
        {PushButton11, 1960, 2100, 1600, 405},
        {PushButton3, 240, 2600, 3330, 405},
        {Check15, 240, 3100, 3330, 405},
        {PushButton1, 240, 3600, 3330, 405},
        {PushButton6, 240, 4100, 3330, 405},
        {Frame2, 4080, 120, 3840, 4700},
        {List2, 240, 360, 3330, 1635},
        {PushButton8, 240, 2100, 1600, 405},
        {PushButton9, 1960, 2100, 1600, 405},
        {PushButton4, 240, 2600, 3330, 405},
        {Check16, 240, 3100, 3330, 405},
        {PushButton5, 240, 3600, 3330, 405},
        {PushButton7, 240, 4100, 3330, 405},
        {ProgressBar1, 120, 4940, 7800, 405},
        {PushButton2, 120, 5460, 3840, 405},
        {PushButton12, 4080, 5460, 3840, 405},
    };
    for (const Placement& placement : placements)
        placement.control->setGeometry(
            twipsRect(placement.left, placement.top, placement.width, placement.height));
    // The height follows at load, from the position of "< Back".
    setFixedWidth(pixels(kClientWidth));
}

void Form2::setFonts()
{
    // The window's font reaches the frames, lists, check boxes and the progress bar.
    setFont(arialBold(kTextPointSize));
    const QFont buttonFont = arialBold(kButtonPointSize);
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setFont(buttonFont);
}

void Form2::setTabOrder()
{
    // Frames and the progress bar take no focus, so the order starts at List1.
    QWidget* const order[] = {List1,       List2,       PushButton10, PushButton11, PushButton3, PushButton1,
                              PushButton6, PushButton8, PushButton9,  PushButton4,  PushButton5, PushButton7,
                              PushButton2, Check15,     Check16,      PushButton12};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void Form2::prepareForKeyboardAndScreenReader()
{
    // A list is announced by its frame's caption; the progress bar by the text it shows while
    // no transfer runs, its value by Qt.
    List1->setAccessibleName(Frame1->title());
    List2->setAccessibleName(Frame2->title());
    ProgressBar1->setAccessibleName(QString::fromLatin1(kIdleProgressText));
    showFocusWhenEmpty(*List1);
    showFocusWhenEmpty(*List2);
    for (QPushButton* button : findChildren<QPushButton*>())
        letEnterPressButton(*button);
}

void Form2::connectHandlers()
{
    const std::pair<QPushButton*, void (Form2::*)()> clicks[] = {
        {PushButton1, &Form2::PushButton1_Click},   {PushButton2, &Form2::PushButton2_Click},
        {PushButton3, &Form2::PushButton3_Click},   {PushButton4, &Form2::PushButton4_Click},
        {PushButton5, &Form2::PushButton5_Click},   {PushButton6, &Form2::PushButton6_Click},
        {PushButton7, &Form2::PushButton7_Click},   {PushButton8, &Form2::PushButton8_Click},
        {PushButton9, &Form2::PushButton9_Click},   {PushButton10, &Form2::PushButton10_Click},
        {PushButton11, &Form2::PushButton11_Click}, {PushButton12, &Form2::PushButton12_Click},
    };
    for (const auto& [button, handler] : clicks)
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
    // Every change of a box stores it, whether the user or the opening of the window made it.
    connect(Check15, &QCheckBox::toggled, this, [this] { Check15_Click(); });
    connect(Check16, &QCheckBox::toggled, this, [this] { Check16_Click(); });
}

void Form2::watchPointer()
{
    for (QPushButton* button : findChildren<QPushButton*>())
        pointer_.watchButton(*button);
    for (QWidget* surface : std::initializer_list<QWidget*>{List1, List2, Frame1, Frame2})
        pointer_.watchSurface(*surface);
    // The check boxes and the progress bar have no pointer rule: the pointer keeps whatever
    // shape it had. Their mouse moves would otherwise travel on to the frame or the window
    // behind them and bring back the default pointer, so they end there.
    for (QWidget* keeper : std::initializer_list<QWidget*>{Check15, Check16, ProgressBar1}) {
        keeper->setMouseTracking(true);
        keeper->installEventFilter(this);
    }
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && (watched == Check15 || watched == Check16 || watched == ProgressBar1))
        return static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
    return QWidget::eventFilter(watched, event);
}

void Form2::Form_Load()
{
    StepGuard guard(kForm2, QStringLiteral("Form_Load"));
    guard.step(100, [&] { ApplyFaceColour(*this); });
    guard.step(102, [&] { setWindowIcon(programIcon()); });
    const QString cursorFile = handCursorFile(environment_.programFolder);
    if (guard.test(106, [&] { return PathExists(cursorFile); }))
        guard.step(108, [&] { pointer_.setHandImage(loadHandCursor(cursorFile)); });
    guard.step(110, [&] { setWindowTitle(QString::fromLatin1(maker::kProductName)); });
    guard.step(112, [&] {
        const QRect back = PushButton2->geometry();
        setFixedHeight(back.y() + back.height() + pixels(kBelowBackButton));
    });
}

void Form2::ensureLoaded()
{
    if (loaded_)
        return;
    loaded_ = true;
    Form_Load();
}

void Form2::Check15_Click()
{
    StepGuard guard(kForm2, QStringLiteral("Check15_Click"));
    guard.step(100, [&] { storeCustomisationBox(*Check15, QLatin1String(settings_keys::kWithDataTypeChange1)); });
}

void Form2::Check16_Click()
{
    StepGuard guard(kForm2, QStringLiteral("Check16_Click"));
    guard.step(100, [&] { storeCustomisationBox(*Check16, QLatin1String(settings_keys::kWithDataTypeChange2)); });
}

bool Form2::ignoresClicks() const
{
    return longOperationRunning_ || pointer_.shape() == PointerShape::Busy;
}

void Form2::runLongOperation(const QString& procedure, const HandlerBody& body)
{
    if (ignoresClicks() || !body)
        return;
    longOperationRunning_ = true;
    const auto finished = qScopeGuard([this] { longOperationRunning_ = false; });
    StepGuard guard(kForm2, procedure);
    try {
        body(guard);
    } catch (...) {
        // A body runs its steps under the guard; a failure outside every step still must not
        // travel into the event loop, which would end the program.
        guard.reportCurrentException(0);
    }
}

void Form2::PushButton1_Click()
{
    runLongOperation(QStringLiteral("PushButton1_Click"), deleteMySqlTables_);
}

void Form2::PushButton2_Click()
{
    // Hiding the window under a running operation would let "Next >" list both sides afresh
    // while the operation still walks them.
    if (ignoresClicks())
        return;
    StepGuard guard(kForm2, QStringLiteral("PushButton2_Click"));
    guard.step(100, [&] {
        connectionWindow_.show();
        connectionWindow_.raise();
        connectionWindow_.activateWindow();
    });
    guard.step(102, [&] { hide(); });
}

void Form2::PushButton3_Click()
{
    runLongOperation(QStringLiteral("PushButton3_Click"), sendToParadox_);
}

void Form2::PushButton4_Click()
{
    runLongOperation(QStringLiteral("PushButton4_Click"), sendToMySql_);
}

void Form2::PushButton5_Click()
{
    runLongOperation(QStringLiteral("PushButton5_Click"), deleteParadoxTables_);
}

void Form2::PushButton6_Click()
{
    runLongOperation(QStringLiteral("PushButton6_Click"), renameMySqlTable_);
}

void Form2::PushButton7_Click()
{
    runLongOperation(QStringLiteral("PushButton7_Click"), renameParadoxTable_);
}

void Form2::selectAll(const QString& procedure, QListWidget& list, bool selected)
{
    StepGuard guard(kForm2, procedure);
    guard.step(102, [&] {
        if (selected)
            selectAllItems(list);
        else
            deselectAllItems(list);
    });
}

void Form2::PushButton8_Click()
{
    selectAll(QStringLiteral("PushButton8_Click"), *List2, true);
}

void Form2::PushButton9_Click()
{
    selectAll(QStringLiteral("PushButton9_Click"), *List2, false);
}

void Form2::PushButton10_Click()
{
    selectAll(QStringLiteral("PushButton10_Click"), *List1, true);
}

void Form2::PushButton11_Click()
{
    selectAll(QStringLiteral("PushButton11_Click"), *List1, false);
}

void Form2::PushButton12_Click()
{
    StepGuard guard(kForm2, QStringLiteral("PushButton12_Click"));
    guard.step(100, [&] { showMessage(QString::fromLatin1(kHelpMessagePrefix) + QString::fromLatin1(maker::kContactPage)); });
}

void Form2::closeEvent(QCloseEvent* event)
{
    endRequested_ = true;
    event->accept();
    if (environment_.endProgram)
        environment_.endProgram();
}

} // namespace quintabel
