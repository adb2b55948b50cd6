#include "shell/form1.h"

#include "base/application_title.h"
#include "base/settings_store.h"
#include "shell/window_look.h"
#include "shell/support/scripted_message_boxes.h"
#include "shell/support/temporary_settings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace quintabel {
namespace {

class Form1Test : public ::testing::Test {
protected:
    Form1::Environment environment()
    {
        Form1::Environment environment;
        environment.programFolder = programFolder.path();
        environment.drawWebSiteNumber = [this] { return webSiteDraw; };
        environment.openWebSite = [this](const QUrl& address) { opened.push_back(address); };
        environment.endProgram = [this] { ++programEnds; };
        return environment;
    }

    QString stored(const char* key) { return readSetting(QLatin1String(key), QStringLiteral("<none>")); }

    void putFileBesideProgram(const QString& relativePath, const QString& copyOf = QString())
    {
        const QString target = programFolder.filePath(relativePath);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!copyOf.isEmpty()) {
            ASSERT_TRUE(QFile::copy(copyOf, target));
            return;
        }
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    testing::ScriptedBoxesInstalled installed;
    testing::ScriptedMessageBoxes& boxes = installed.boxes;
    testing::TemporarySettings settings;
    QTemporaryDir programFolder;
    int webSiteDraw = 1;
    std::vector<QUrl> opened;
    int programEnds = 0;
};

TEST_F(Form1Test, FirstStartWithAnEmptyStore)
{
    Form1 form(environment());
    form.Form_Load();

    const ConnectionFields fields = form.fields();
    EXPECT_EQ(fields.paradoxFolder, QString());
    EXPECT_EQ(fields.server, QStringLiteral("localhost"));
    EXPECT_EQ(fields.port, QStringLiteral("3306"));
    EXPECT_EQ(fields.user, QString());
    EXPECT_EQ(fields.password, QString());
    EXPECT_EQ(fields.database, QString());

    // Restoring the defaults changed two fields, and each change was stored.
    using namespace settings_keys;
    EXPECT_EQ(stored(kServer), QStringLiteral("localhost"));
    EXPECT_EQ(stored(kPort), QStringLiteral("3306"));
    for (const char* untouched : {kParadoxFolder, kUser, kPassword, kDatabase})
        EXPECT_EQ(stored(untouched), QStringLiteral("<none>")) << untouched;

    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quintabel"));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_TRUE(opened.empty());
}

TEST_F(Form1Test, AnUnreadableStoreIsReportedOnceAndTheDefaultsAreShown)
{
    // A folder where the settings file should be: it exists, and no one can read it as a file.
    ASSERT_TRUE(QDir().mkpath(settings.storeFile()));
    Form1 form(environment());
    form.Form_Load();

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.errorReports().empty());
    EXPECT_TRUE(boxes.shown()[0].text.contains(settings.storeFile())) << boxes.shown()[0].text.toStdString();
    EXPECT_EQ(form.fields().server, QStringLiteral("localhost"));
    EXPECT_EQ(form.fields().port, QStringLiteral("3306"));
}

TEST_F(Form1Test, EveryKeystrokeIsStoredAndRestoredOnTheNextStart)
{
    {
        Form1 form(environment());
        form.Form_Load();
        form.Text1->setText(QStringLiteral("/data/paradox"));
        form.Text2->clear();
        QTest::keyClicks(form.Text2, QStringLiteral("db1"));
        EXPECT_EQ(stored(settings_keys::kServer), QStringLiteral("db1"));
        QTest::keyClicks(form.Text5, QStringLiteral("pw"));
        EXPECT_EQ(stored(settings_keys::kPassword), QStringLiteral("pw"));
        EXPECT_EQ(form.Text5->displayText(), QStringLiteral("**"));
        form.Text3->setText(QStringLiteral("33 06"));
        form.Text4->setText(QStringLiteral(" root "));
        form.Text6->setText(QStringLiteral("shop"));
    }
    Form1 restarted(environment());
    restarted.Form_Load();
    const ConnectionFields fields = restarted.fields();
    EXPECT_EQ(fields.paradoxFolder, QStringLiteral("/data/paradox"));
    EXPECT_EQ(fields.server, QStringLiteral("db1"));
    EXPECT_EQ(fields.port, QStringLiteral("33 06"));
    EXPECT_EQ(fields.user, QStringLiteral(" root "));
    EXPECT_EQ(fields.password, QStringLiteral("pw"));
    EXPECT_EQ(fields.database, QStringLiteral("shop"));

    restarted.Text5->clear();
    EXPECT_EQ(stored(settings_keys::kPassword), QString());
}

TEST_F(Form1Test, TheParadoxCodePageChoiceIsStoredAndRestoredAndAnUnknownOneMeansEachTablesOwn)
{
    {
        Form1 form(environment());
        form.Form_Load();
        EXPECT_EQ(form.Combo1->currentText(), QStringLiteral("As each table says"));
        EXPECT_EQ(form.fields().paradoxCodePage, 0);
        EXPECT_EQ(stored(settings_keys::kParadoxCodePage), QStringLiteral("<none>")) << "nothing chosen, nothing stored";
        EXPECT_EQ(form.Combo1->accessibleName(), QStringLiteral("Paradox code page"));
        EXPECT_EQ(form.Label7->buddy(), form.Combo1);

        form.Combo1->setCurrentIndex(form.Combo1->findData(1251));
        EXPECT_EQ(stored(settings_keys::kParadoxCodePage), QStringLiteral("1251"));
        EXPECT_EQ(form.fields().paradoxCodePage, 1251);
    }
    {
        Form1 restarted(environment());
        restarted.Form_Load();
        EXPECT_EQ(restarted.fields().paradoxCodePage, 1251);
        EXPECT_EQ(restarted.Combo1->currentText(), QStringLiteral("1251 Windows (Cyrillic)"));
    }
    // A value no one could have chosen here (edited by hand, or from a later version) is not
    // a reason to read tables in it.
    for (const char* odd : {"1234", "cp1251", "", " 866 "}) {
        writeSetting(QString::fromLatin1(settings_keys::kParadoxCodePage), QString::fromLatin1(odd));
        Form1 form(environment());
        form.Form_Load();
        EXPECT_EQ(form.fields().paradoxCodePage, std::string(odd) == " 866 " ? 866 : 0) << odd;
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Form1Test, FocusSelectsTheWholeText)
{
    Form1 form(environment());
    form.Form_Load();
    form.Text2->setCursorPosition(3);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(form.Text2, &focusIn);
    EXPECT_EQ(form.Text2->selectedText(), QStringLiteral("localhost"));
}

TEST_F(Form1Test, TabOrderRunsThroughTheFieldsAndButtonsAsDesigned)
{
    Form1 form(environment());
    const std::vector<QWidget*> expected = {form.Text1, form.PushButton5, form.Combo1, form.PushButton3, form.Text2,
                                            form.Text3, form.Text4, form.Text5, form.Text6,
                                            form.PushButton6, form.PushButton1, form.PushButton2,
                                            form.PushButton4};
    QWidget* current = expected.front();
    for (size_t i = 1; i < expected.size(); ++i) {
        do
            current = current->nextInFocusChain();
        while (current->focusPolicy() == Qt::NoFocus);
        EXPECT_EQ(current, expected[i]) << "after " << expected[i - 1]->objectName().toStdString()
                                        << " came " << current->objectName().toStdString();
    }
}

TEST_F(Form1Test, HelpShowsFourParagraphsUnderTheApplicationTitle)
{
    Form1 form(environment());
    form.Form_Load();
    form.PushButton1->click();
    ASSERT_EQ(boxes.shown().size(), 1u);
    const testing::ShownBox& help = boxes.shown().front();
    EXPECT_EQ(help.title, applicationTitle());
    EXPECT_EQ(help.icon, BoxIcon::None);
    EXPECT_EQ(help.buttons, BoxButtons::Ok);
    const QStringList paragraphs = help.text.split(QStringLiteral("\r\r"));
    ASSERT_EQ(paragraphs.size(), 4);
    EXPECT_EQ(paragraphs[0], QStringLiteral("If you cannot establish connection to your database with this program, please go to: "));
    EXPECT_EQ(paragraphs[1], QStringLiteral("https://dev.mysql.com/downloads/workbench/"));
    EXPECT_TRUE(paragraphs[2].startsWith(QStringLiteral("Download and install the MySQL Workbench.")));
    EXPECT_TRUE(paragraphs[3].endsWith(QStringLiteral("not a web based connection, for example.")));
    EXPECT_FALSE(help.text.contains(QLatin1Char('\n')));
}

TEST_F(Form1Test, InjectedHandlersRunUnderTheirOwnLocations)
{
    Form1 form(environment());
    std::vector<QString> seen;
    const auto failingBody = [&](StepGuard& guard) {
        seen.push_back(guard.location());
        guard.step(100, [] { throw std::runtime_error("Could not connect"); });
    };
    form.setNextBody(failingBody);
    form.setParadoxTestBody(failingBody);
    form.setLoadSampleBody(failingBody);
    form.setBrowseBody(failingBody);
    form.setMySqlTestBody(failingBody);
    for (QPushButton* button : {form.PushButton2, form.PushButton3, form.PushButton4, form.PushButton5, form.PushButton6})
        button->click();

    const std::vector<QString> expected = {
        QStringLiteral("in Tabulex2021/08/31.Form1.PushButton2_Click "),
        QStringLiteral("in Tabulex2021/08/31.Form1.PushButton3_Click "),
        QStringLiteral("in Tabulex2021/08/31.Form1.PushButton4_Click "),
        QStringLiteral("in Tabulex2021/08/31.Form1.PushButton5_Click "),
        QStringLiteral("in Tabulex2021/08/31.Form1.PushButton6_Click "),
    };
    EXPECT_EQ(seen, expected);
    ASSERT_EQ(boxes.errorReports().size(), 5u);
    EXPECT_TRUE(boxes.errorReports()[3].text.contains(expected[3] + QStringLiteral("at line 100")));
}

TEST_F(Form1Test, StartupContinuationRunsAfterTheFieldsWithTheLoadsLocation)
{
    writeSetting(QLatin1String(settings_keys::kDatabase), QStringLiteral("shop"));
    Form1 form(environment());
    QString databaseSeen;
    form.setStartupContinuation([&](StepGuard& guard) {
        databaseSeen = form.fields().database;
        guard.step(140, [] { throw std::runtime_error("no tables"); });
        form.hide(); // as opening the tables window does
    });
    form.loadAndShow();
    EXPECT_EQ(databaseSeen, QStringLiteral("shop"));
    ASSERT_EQ(boxes.errorReports().size(), 1u);
    EXPECT_TRUE(boxes.errorReports()[0].text.contains(QStringLiteral("in Tabulex2021/08/31.Form1.Form_Load at line 140")));
    EXPECT_FALSE(form.isVisible());

    Form1 plain(environment());
    plain.loadAndShow();
    EXPECT_TRUE(plain.isVisible());
}

TEST_F(Form1Test, UnreadableHandCursorFileIsReportedAtItsStepAndStartUpGoesOn)
{
    putFileBesideProgram(QStringLiteral("HAND-M.CUR"));
    Form1 form(environment());
    form.Form_Load();
    ASSERT_EQ(boxes.errorReports().size(), 1u);
    EXPECT_TRUE(boxes.errorReports()[0].text.contains(QStringLiteral("Form1.Form_Load at line 126")));
    EXPECT_FALSE(form.pointer().hasHandImage());
    EXPECT_EQ(form.fields().server, QStringLiteral("localhost"));
}

TEST_F(Form1Test, HandCursorBesideTheProgramIsLoadedAtStartUp)
{
    putFileBesideProgram(QStringLiteral("HAND-M.CUR"), QStringLiteral(QUINTABEL_SOURCE_DIR "/resources/HAND-M.CUR"));
    Form1 form(environment());
    EXPECT_FALSE(form.pointer().hasHandImage());
    form.Form_Load();
    EXPECT_TRUE(form.pointer().hasHandImage());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Form1Test, WhiteByDesignButtonFaceWithTheSkinFile)
{
    const auto background = [](QWidget* widget) { return widget->palette().color(widget->backgroundRole()); };
    {
        Form1 form(environment());
        form.Form_Load();
        EXPECT_EQ(background(&form), QColor(Qt::white));
        EXPECT_EQ(background(form.Label1), QColor(Qt::white));
        EXPECT_EQ(background(form.Frame2), QColor(Qt::white));
    }
    putFileBesideProgram(QStringLiteral("x/o.cjs"));
    Form1 skinned(environment());
    skinned.Form_Load();
    ASSERT_NE(buttonFaceColour(), QColor(Qt::white));
    EXPECT_EQ(background(&skinned), buttonFaceColour());
    EXPECT_EQ(background(skinned.Label5), buttonFaceColour());
    EXPECT_EQ(background(skinned.Frame1), buttonFaceColour());
    EXPECT_NE(skinned.Text1->palette().color(QPalette::Base), buttonFaceColour());
}

TEST_F(Form1Test, WebSiteOpensOnlyOnTheLuckyDraw)
{
    webSiteDraw = 7;
    Form1 form(environment());
    form.Form_Load();
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(Form1Test, ClosingTheWindowEndsTheProgram)
{
    Form1 form(environment());
    form.loadAndShow();
    form.close();
    EXPECT_EQ(programEnds, 1);
}

} // namespace
} // namespace quintabel
