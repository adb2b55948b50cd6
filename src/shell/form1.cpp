#include "shell/form1.h"

#include "base/application_title.h"
#include "base/maker.h"
#include "base/message_boxes.h"
#include "base/paradox_code_page_choice.h"
#include "base/path_helpers.h"
#include "base/settings_store.h"
#include "shell/enter_presses_button.h"
#include "shell/password_accessibility.h"
#include "shell/window_fonts.h"
#include "shell/window_look.h"

#include <QApplication>
#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtDebug>

namespace quintabel {

namespace {

constexpr int kWindowWidth = 440;

// A password shows one "*" per character, whatever the style's own mask character is.
constexpr char kPasswordMaskStyle[] = "QLineEdit { lineedit-password-character: 42; }";

} // namespace

Form1::Environment Form1::Environment::production()
{
    Environment environment;
    environment.programFolder = folderOfProgram();
    environment.drawWebSiteNumber = drawOneToHundred;
    environment.openWebSite = openInBrowser;
    environment.endProgram = [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    };
    return environment;
}

Form1::Form1(Environment environment, QWidget* parent)
    : QWidget(parent), environment_(std::move(environment)), pointer_(*this)
{
    setObjectName(QStringLiteral("Form1"));
    // Before the password field exists: its first text, restored at load, is already masked.
    maskPasswordsInAccessibilityEvents();
    createControls();
    arrangeControls();
    setFontsAndColours();
    arrangeTabOrder();
    prepareForKeyboardAndScreenReader();
    connectFields();
    connectCodePageChoice();
}

void Form1::createControls()
{
    // Each control carries its designer name, so that tests and later parts can find it.
    const auto named = [](auto* control, const char* designerName) {
        control->setObjectName(QString::fromLatin1(designerName));
        return control;
    };
    Frame1 = named(new QGroupBox(QStringLiteral("Paradox Database"), this), "Frame1");
    Label2 = named(new QLabel(QStringLiteral("Paradox Folder:"), Frame1), "Label2");
    Text1 = named(new QLineEdit(Frame1), "Text1");
    PushButton5 = named(new QPushButton(QStringLiteral("..."), Frame1), "PushButton5");
    Label7 = named(new QLabel(QStringLiteral("Code Page:"), Frame1), "Label7");
    Combo1 = named(new QComboBox(Frame1), "Combo1");
    for (const CodePageChoice& choice : paradoxCodePageChoices())
        Combo1->addItem(choice.caption, choice.number);
    PushButton4 = named(new QPushButton(QStringLiteral("Load Sample/Example Database"), Frame1), "PushButton4");
    PushButton3 = named(new QPushButton(QStringLiteral("Test Connection"), Frame1), "PushButton3");

    Frame2 = named(new QGroupBox(QStringLiteral("MySQL Login"), this), "Frame2");
    Label1 = named(new QLabel(QStringLiteral("Server:"), Frame2), "Label1");
    Text2 = named(new QLineEdit(Frame2), "Text2");
    Label6 = named(new QLabel(QStringLiteral("Port:"), Frame2), "Label6");
    Text3 = named(new QLineEdit(Frame2), "Text3");
    Label4 = named(new QLabel(QStringLiteral("Username:"), Frame2), "Label4");
    Text4 = named(new QLineEdit(Frame2), "Text4");
    Label5 = named(new QLabel(QStringLiteral("Password:"), Frame2), "Label5");
    Text5 = named(new QLineEdit(Frame2), "Text5");
    Label3 = named(new QLabel(QStringLiteral("Database:"), Frame2), "Label3");
    Text6 = named(new QLineEdit(Frame2), "Text6");
    PushButton6 = named(new QPushButton(QStringLiteral("Test Connection"), Frame2), "PushButton6");
    PushButton1 = named(new QPushButton(QStringLiteral("Help"), Frame2), "PushButton1");

    PushButton2 = named(new QPushButton(QStringLiteral("Next >"), this), "PushButton2");

    Text5->setEchoMode(QLineEdit::Password);
    Text5->setStyleSheet(QString::fromLatin1(kPasswordMaskStyle));

    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { PushButton5_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });

    for (QPushButton* button : buttons())
        pointer_.watchButton(*button);
    for (QWidget* surface : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2)})
        pointer_.watchSurface(*surface);
    for (QLineEdit* field : textFields())
        pointer_.watchSurface(*field);
    pointer_.watchSurface(*Combo1);
}

std::vector<QLineEdit*> Form1::textFields() const
{
    return {Text1, Text2, Text3, Text4, Text5, Text6};
}

std::vector<QPushButton*> Form1::buttons() const
{
    return {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6};
}

void Form1::arrangeControls()
{
    auto* paradoxGrid = new QGridLayout(Frame1);
    paradoxGrid->addWidget(Label2, 0, 0);
    paradoxGrid->addWidget(Text1, 0, 1);
    paradoxGrid->addWidget(PushButton5, 0, 2);
    paradoxGrid->addWidget(Label7, 1, 0);
    paradoxGrid->addWidget(Combo1, 1, 1, 1, 2);
    auto* paradoxButtons = new QHBoxLayout;
    paradoxButtons->addWidget(PushButton4, 3);
    paradoxButtons->addWidget(PushButton3, 2);
    paradoxGrid->addLayout(paradoxButtons, 2, 0, 1, 3);

    auto* loginGrid = new QGridLayout(Frame2);
    loginGrid->addWidget(Label1, 0, 0);
    loginGrid->addWidget(Text2, 0, 1);
    loginGrid->addWidget(Label6, 0, 2);
    loginGrid->addWidget(Text3, 0, 3);
    loginGrid->addWidget(Label4, 1, 0);
    loginGrid->addWidget(Text4, 1, 1, 1, 3);
    loginGrid->addWidget(Label5, 2, 0);
    loginGrid->addWidget(Text5, 2, 1, 1, 3);
    loginGrid->addWidget(Label3, 3, 0);
    loginGrid->addWidget(Text6, 3, 1, 1, 3);
    auto* loginButtons = new QHBoxLayout;
    loginButtons->addWidget(PushButton6);
    loginButtons->addWidget(PushButton1);
    loginGrid->addLayout(loginButtons, 4, 0, 1, 4);
    loginGrid->setColumnStretch(1, 1);
    Text3->setMaximumWidth(70);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Frame1);
    column->addWidget(Frame2);
    column->addWidget(PushButton2);
    setFixedWidth(kWindowWidth);
}

void Form1::setFontsAndColours()
{
    const QFont textFont = arialBold(kTextPointSize);
    for (QWidget* frameOrLabel :
         std::initializer_list<QWidget*>{Frame1, Frame2, Label1, Label2, Label3, Label4, Label5, Label6, Label7})
        frameOrLabel->setFont(textFont);
    for (QLineEdit* field : textFields())
        field->setFont(textFont);
    Combo1->setFont(textFont);
    const QFont buttonFont = arialBold(kButtonPointSize);
    for (QPushButton* button : buttons())
        button->setFont(buttonFont);

    // The window, its labels and its frames are white until ApplySkin says otherwise.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
}

void Form1::arrangeTabOrder()
{
    QWidget* const order[] = {Text1, PushButton5, Combo1, PushButton3, Text2, Text3, Text4,
                              Text5, Text6, PushButton6, PushButton1, PushButton2, PushButton4};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void Form1::prepareForKeyboardAndScreenReader()
{
    // Each field is announced by its label's caption.
    const std::pair<QLabel*, QLineEdit*> labelled[] = {
        {Label2, Text1}, {Label1, Text2}, {Label6, Text3}, {Label4, Text4}, {Label5, Text5}, {Label3, Text6},
    };
    for (const auto& [label, field] : labelled)
        label->setBuddy(field);
    Label7->setBuddy(Combo1);
    // On Linux a reader announces a drop-down by its current choice and its label; the name
    // still serves the platforms that use it, and the list that opens needs one of its own.
    Combo1->setAccessibleName(QStringLiteral("Paradox code page"));
    Combo1->view()->setAccessibleName(QStringLiteral("Paradox code pages"));
    Combo1->setAccessibleDescription(
        QStringLiteral("The code page the Paradox tables' text is read in and new tables are written in"));
    // The caption "..." says nothing when read aloud; it stays as it is on screen.
    PushButton5->setAccessibleName(QStringLiteral("Browse for the Paradox folder"));
    for (QPushButton* button : buttons())
        letEnterPressButton(*button);
}

void Form1::connectFields()
{
    const std::pair<QLineEdit*, const char*> fieldKeys[] = {
        {Text1, settings_keys::kParadoxFolder}, {Text2, settings_keys::kServer},
        {Text3, settings_keys::kPort},          {Text4, settings_keys::kUser},
        {Text5, settings_keys::kPassword},      {Text6, settings_keys::kDatabase},
    };
    for (const auto& [field, key] : fieldKeys) {
        const QString settingKey = QString::fromLatin1(key);
        // Every change is stored at once, keystroke by keystroke. A failing write has no
        // error report of its own (it would interrupt typing), so it is only logged.
        connect(field, &QLineEdit::textChanged, this, [settingKey](const QString& text) {
            try {
                writeSetting(settingKey, text);
            } catch (const std::exception& failure) {
                qWarning("Quintabel: %s", failure.what());
            }
        });
        field->installEventFilter(this);
    }
}

void Form1::connectCodePageChoice()
{
    // Stored at once, as the text fields are; a failing write is only logged, as theirs is.
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int index) {
        try {
            writeSetting(QString::fromLatin1(settings_keys::kParadoxCodePage),
                         QString::number(Combo1->itemData(index).toInt()));
        } catch (const std::exception& failure) {
            qWarning("Quintabel: %s", failure.what());
        }
    });
}

void Form1::showCodePage(int number)
{
    const int index = Combo1->findData(number);
    Combo1->setCurrentIndex(index >= 0 ? index : 0);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // A field that takes focus selects its whole text, so typing replaces it.
    if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            field->selectAll();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_Load()
{
    using namespace settings_keys;
    StepGuard guard(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    guard.step(100, [&] { ApplySkin(*this, environment_.programFolder); });
    guard.step(104, [&] { setWindowTitle(QString::fromLatin1(maker::kProductName)); });
    guard.step(104, [&] { setWindowIcon(programIcon()); });
    guard.step(104, [&] { SetApplicationTitle(); });
    guard.step(106, [&] { MaybeOpenWebSite(environment_.drawWebSiteNumber, environment_.openWebSite); });
    const QString cursorFile = handCursorFile(environment_.programFolder);
    if (guard.test(124, [&] { return PathExists(cursorFile); }))
        guard.step(126, [&] { pointer_.setHandImage(loadHandCursor(cursorFile)); });
    // A settings file that cannot be read would fail each of the six reads below alike: say so
    // once, and start from the defaults a first start has.
    if (const std::optional<QString> problem = settingsReadProblem()) {
        showMessage(*problem + QStringLiteral("\r\n\r\nQuintabel starts with the default server and port. "
                                              "Check the file's permissions, or move it aside to start afresh."));
        Text2->setText(QStringLiteral("localhost"));
        Text3->setText(QStringLiteral("3306"));
    } else {
        guard.step(128, [&] { Text1->setText(readSetting(QLatin1String(kParadoxFolder), QString())); });
        guard.step(128, [&] { showCodePage(codePageOfSetting(readSetting(QLatin1String(kParadoxCodePage), QString()))); });
        guard.step(130, [&] { Text2->setText(readSetting(QLatin1String(kServer), QStringLiteral("localhost"))); });
        guard.step(132, [&] { Text3->setText(readSetting(QLatin1String(kPort), QStringLiteral("3306"))); });
        guard.step(134, [&] { Text4->setText(readSetting(QLatin1String(kUser), QString())); });
        guard.step(136, [&] { Text5->setText(readSetting(QLatin1String(kPassword), QString())); });
        guard.step(138, [&] { Text6->setText(readSetting(QLatin1String(kDatabase), QString())); });
    }
    if (startupContinuation_)
        startupContinuation_(guard);
}

void Form1::loadAndShow()
{
    Form_Load();
    const bool hiddenByStartup = testAttribute(Qt::WA_WState_ExplicitShowHide) && isHidden();
    if (!hiddenByStartup)
        show();
}

ConnectionFields Form1::fields() const
{
    return {Text1->text(), Text2->text(), Text3->text(), Text4->text(), Text5->text(), Text6->text(),
            Combo1->currentData().toInt()};
}

void Form1::PushButton1_Click()
{
    StepGuard guard(QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
    const QString paragraphBreak = QStringLiteral("\r\r");
    QString message;
    guard.step(104, [&] {
        message = QStringLiteral("If you cannot establish connection to your database with this "
                                 "program, please go to: ") + paragraphBreak;
    });
    guard.step(106, [&] { message += QString::fromLatin1(maker::kWorkbenchDownloadPage) + paragraphBreak; });
    guard.step(108, [&] {
        message += QStringLiteral("Download and install the MySQL Workbench. Try to connect to the "
                                  "same database (with the same login information you are using "
                                  "here). This will determine if the login you are using is "
                                  "correct.") + paragraphBreak;
    });
    guard.step(110, [&] {
        message += QStringLiteral("Finally, make sure your host allows a direct connection to your "
                                  "MySQL database -- not a web based connection, for example.");
    });
    guard.step(112, [&] { showMessage(message); });
}

void Form1::runInjected(const QString& procedure, const HandlerBody& body)
{
    StepGuard guard(QStringLiteral("Form1"), procedure);
    if (body)
        body(guard);
}

void Form1::PushButton2_Click()
{
    runInjected(QStringLiteral("PushButton2_Click"), nextBody_);
}

void Form1::PushButton3_Click()
{
    runInjected(QStringLiteral("PushButton3_Click"), paradoxTestBody_);
}

void Form1::PushButton4_Click()
{
    runInjected(QStringLiteral("PushButton4_Click"), loadSampleBody_);
}

void Form1::PushButton5_Click()
{
    runInjected(QStringLiteral("PushButton5_Click"), browseBody_);
}

void Form1::PushButton6_Click()
{
    runInjected(QStringLiteral("PushButton6_Click"), mySqlTestBody_);
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (environment_.endProgram)
        environment_.endProgram();
}

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/quintabel/quintabel-32.png"));
    icon.addFile(QStringLiteral(":/quintabel/quintabel.png"));
    return icon;
}

} // namespace quintabel
