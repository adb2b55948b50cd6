#include "catalogue_test_support.h"

#include "mariadb_test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

namespace quintabel::testing {

Form1::Environment QuietConnectionWindow(const QString& programFolder, int& programEnds)
{
    Form1::Environment environment;
    environment.programFolder = programFolder;
    environment.drawWebSiteNumber = [] { return 1; };
    environment.openWebSite = [](const QUrl&) { ADD_FAILURE() << "no web site may open in a test"; };
    environment.endProgram = [&programEnds] { ++programEnds; };
    return environment;
}

Form2::Environment QuietTablesWindow(const QString& programFolder, int& programEnds)
{
    Form2::Environment environment;
    environment.programFolder = programFolder;
    environment.endProgram = [&programEnds] { ++programEnds; };
    return environment;
}

void CreateFiles(const QString& root, const QStringList& relativePaths)
{
    for (const QString& relativePath : relativePaths) {
        const QString path = root + QLatin1Char('/') + relativePath;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath())) << path.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    }
}

ConnectionFields SandboxFields(const std::string& database, const QString& paradoxFolder)
{
    ConnectionFields fields;
    fields.paradoxFolder = paradoxFolder;
    fields.server = QStringLiteral("127.0.0.1");
    fields.port = QString::fromStdString(sandboxPort());
    fields.user = QStringLiteral("quintabel");
    fields.password = QStringLiteral("quintabel-sandbox");
    fields.database = QString::fromStdString(database);
    return fields;
}

ConnectionFields UnreachableFields()
{
    ConnectionFields fields = SandboxFields("nothing_here");
    fields.port = QStringLiteral("1"); // tcpmux: no server of ours ever listens there
    return fields;
}

void TypeFields(Form1& window, const ConnectionFields& fields)
{
    window.Text1->setText(fields.paradoxFolder);
    window.Text2->setText(fields.server);
    window.Text3->setText(fields.port);
    window.Text4->setText(fields.user);
    window.Text5->setText(fields.password);
    window.Text6->setText(fields.database);
}

QStringList ItemTexts(const QListWidget& list)
{
    QStringList texts;
    for (int index = 0; index < list.count(); ++index)
        texts.append(list.item(index)->text());
    return texts;
}

QStringList SelectedTexts(const QListWidget& list)
{
    QStringList names;
    for (int index = 0; index < list.count(); ++index) {
        if (list.item(index)->isSelected())
            names.append(list.item(index)->text());
    }
    return names;
}

} // namespace quintabel::testing
