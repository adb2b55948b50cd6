#include "transfer/mysql_set_aside.h"

#include "catalogue/exist_table.h"
#include "connections/connection.h"
#include "drivers/database_error.h"
#include "transfer/sql_names.h"

#include <QList>
#include <QString>

namespace quintabel {

namespace {

constexpr int kLongestMySqlName = 64;
// MariaDB's ER_NO_SUCH_TABLE.
constexpr int kNoSuchTable = 1146;

// The first `count` characters of a UTF-8 name (MySQL counts a name's length in characters).
std::string firstCharacters(const std::string& name, int count)
{
    const QList<uint> characters = QString::fromStdString(name).toUcs4();
    if (characters.size() <= count)
        return name;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), count).toStdString();
}

int characterCount(const std::string& text)
{
    return static_cast<int>(QString::fromStdString(text).toUcs4().size());
}

} // namespace

std::string freeBackupName(connections::Connection& mysql, const std::string& table)
{
    const std::string base = "quintabel-old-" + table;
    for (int attempt = 1;; ++attempt) {
        const std::string suffix = attempt == 1 ? std::string() : "-" + std::to_string(attempt);
        const std::string candidate = firstCharacters(base, kLongestMySqlName - characterCount(suffix)) + suffix;
        if (!ExistTable(mysql, QString::fromStdString(candidate)))
            return candidate;
    }
}

bool setAsideTable(connections::Connection& mysql, const std::string& table, const std::string& backup)
{
    try {
        mysql.Execute("RENAME TABLE " + transfer::backtickQuoted(table) + " TO " + transfer::backtickQuoted(backup));
        return true;
    } catch (const db::DatabaseError& failure) {
        if (failure.number() == kNoSuchTable)
            return false;
        throw;
    }
}

void restoreSetAsideTable(connections::Connection& mysql, const std::string& table, const std::string& backup,
                          bool newTableCreated)
{
    if (newTableCreated)
        dropMySqlTable(mysql, table);
    mysql.Execute("RENAME TABLE " + transfer::backtickQuoted(backup) + " TO " + transfer::backtickQuoted(table));
}

void dropMySqlTable(connections::Connection& mysql, const std::string& table)
{
    mysql.Execute("DROP TABLE " + transfer::backtickQuoted(table));
}

} // namespace quintabel
