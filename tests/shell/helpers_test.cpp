#include "base/application_title.h"
#include "shell/list_helpers.h"
#include "base/path_helpers.h"
#include "shell/web_site.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace quintabel {
namespace {

TEST(FileNameOfPath, IsTheTextAfterTheLastSeparator)
{
    EXPECT_EQ(FileNameOfPath(QStringLiteral("/data/paradox/ORDERS.DB")), QStringLiteral("ORDERS.DB"));
    EXPECT_EQ(FileNameOfPath(QStringLiteral("ORDERS.DB")), QStringLiteral("ORDERS.DB"));
    EXPECT_EQ(FileNameOfPath(QStringLiteral("/data/paradox/")), QString());
    EXPECT_EQ(FileNameOfPath(QString()), QString());
}

TEST(ListHelpers, MembershipIgnoresCaseButRemovalNeedsTheExactText)
{
    QListWidget list;
    EXPECT_FALSE(ListHasItem(list, QStringLiteral("customer")));
    list.addItems({QStringLiteral("CUSTOMER"), QStringLiteral("orders"), QStringLiteral("CUSTOMER"),
                   QStringLiteral("Zeta")});

    EXPECT_TRUE(ListHasItem(list, QStringLiteral("customer")));
    EXPECT_TRUE(ListHasItem(list, QStringLiteral("ZETA")));
    EXPECT_FALSE(ListHasItem(list, QStringLiteral("custome")));

    RemoveListItem(list, QStringLiteral("customer"));
    EXPECT_EQ(list.count(), 4);

    RemoveListItem(list, QStringLiteral("CUSTOMER"));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("orders"));
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("Zeta"));
}

TEST(ApplicationTitle, DropsTheLastWordAndKeepsAtMostFortyCharacters)
{
    EXPECT_EQ(applicationTitleFor(QStringLiteral("Quintabel")), QStringLiteral("Quintabel"));
    EXPECT_EQ(applicationTitleFor(QStringLiteral("Quintabel Table Copier")), QStringLiteral("Quintabel Table"));
    const QString longName = QStringLiteral("Quintabel copies tables between MySQL and Paradox folders");
    EXPECT_EQ(applicationTitleFor(longName), QStringLiteral("Quintabel copies tables between MySQL"));
    EXPECT_EQ(applicationTitleFor(QString(45, QLatin1Char('q'))), QString(40, QLatin1Char('q')));

    SetApplicationTitle();
    EXPECT_EQ(applicationTitle(), QStringLiteral("Quintabel"));
}

TEST(PathTests, AnswerForFilesFoldersMissingAndEmptyPaths)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("HAND-M.CUR"));
    QFile(file).open(QIODevice::WriteOnly);

    EXPECT_TRUE(PathExists(file));
    EXPECT_TRUE(PathExists(folder.path()));
    EXPECT_FALSE(PathExists(folder.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(PathExists(QString()));

    EXPECT_EQ(IsFolder(folder.path()), std::optional<bool>(true));
    EXPECT_EQ(IsFolder(folder.path() + QLatin1Char('/')), std::optional<bool>(true));
    EXPECT_EQ(IsFolder(file), std::optional<bool>(false));
    EXPECT_EQ(IsFolder(folder.filePath(QStringLiteral("missing"))), std::nullopt);
    EXPECT_EQ(IsFolder(QString()), std::nullopt);
}

TEST(MaybeOpenWebSite, OpensTheMakersSiteOnlyWhenTheDrawIsSeven)
{
    std::vector<QUrl> opened;
    const WebSiteOpener record = [&](const QUrl& address) { opened.push_back(address); };
    for (int number : {1, 6, 8, 100})
        MaybeOpenWebSite([number] { return number; }, record);
    EXPECT_TRUE(opened.empty());
    MaybeOpenWebSite([] { return 7; }, record);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front(), QUrl(QStringLiteral("https://www.corvandel.example/quintabel/")));
}

} // namespace
} // namespace quintabel
