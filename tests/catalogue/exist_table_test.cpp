// ExistTable on the scratch database, where the MySQL to Paradox transfer asks it.

#include "catalogue/exist_table.h"

#include "connections/connection.h"
#include "connections/connection_string.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quintabel {
namespace {

TEST(ExistTable, FindsAScratchTableWhateverTheCaseOfATooZ)
{
    QTemporaryDir programFolder;
    QFile scratch(programFolder.filePath(QStringLiteral("dbtemp.mdb")));
    ASSERT_TRUE(scratch.open(QIODevice::WriteOnly)); // an empty file is an empty database
    scratch.close();
    connections::Connection connection;
    connection.Open(connections::scratchConnectionString(programFolder.path().toStdString()));
    connection.Execute("CREATE TABLE `Kunden` (`id` INT)");

    EXPECT_TRUE(ExistTable(connection, QStringLiteral("KUNDEN")));
    EXPECT_TRUE(ExistTable(connection, QStringLiteral("kunden")));
    EXPECT_FALSE(ExistTable(connection, QStringLiteral("Kunde")));
    EXPECT_FALSE(ExistTable(connection, QString()));

    connection.Close();
    EXPECT_ANY_THROW(ExistTable(connection, QStringLiteral("Kunden")));
}

} // namespace
} // namespace quintabel
