#include "customise/field_loading.h"

#include "connections/connection.h"
#include "customise/proposed_types.h"
#include "drivers/quoted_text.h"
#include "transfer/ado_type_names.h"
#include "transfer/default_column_types.h"
#include "transfer/sql_names.h"

namespace quintabel::customise {

connections::LoginFields loginFieldsOf(const ConnectionFields& fields)
{
    return {fields.paradoxFolder.toStdString(), fields.server.toStdString(),   fields.port.toStdString(),
            fields.user.toStdString(),          fields.password.toStdString(), fields.database.toStdString(),
            fields.paradoxCodePage};
}

namespace {

// Runs the one-row query and appends, field by field in the record set's order, the name and
// then the proposal (or the default type) for `target` (the side the types are written for).
void loadFields(const std::string& connectionString, const std::string& firstRowQuery,
                TargetKind target, StartingTypes types, CustomisationLists& lists)
{
    connections::Connection connection;
    connection.setCursorLocation(connections::adUseClient);
    connection.Open(connectionString);
    connections::Recordset recordset;
    recordset.Open(firstRowQuery, connection, connections::adOpenStatic, connections::adLockOptimistic);

    for (int index = 0; index < recordset.FieldCount(); ++index) {
        const connections::Field field = recordset.Fields(index);
        lists.appendField(field.Name());
        if (types == StartingTypes::Default) {
            lists.appendType(defaultColumnDefinition(
                {field.Name(), field.Type(), field.Precision(), field.NumericScale()}, target));
            continue;
        }
        const FirstRowValue firstRowValue = recordset.Eof() ? FirstRowValue{} : FirstRowValue{field.Value()};
        lists.appendType(proposedType(AdoTypeName(field.Type()), target, firstRowValue));
    }

    // On a failure above both are released all the same, and releasing closes them.
    if (recordset.State() != connections::adStateClosed)
        recordset.Close();
    if (connection.State() != connections::adStateClosed)
        connection.Close();
}

} // namespace

std::string mySqlFirstRowQuery(std::string_view tableName)
{
    return "SELECT * FROM " + backtickQuoted(tableName) + " LIMIT 1";
}

std::string paradoxFirstRowQuery(std::string_view tableName)
{
    // A double quote in the name is written twice, so it cannot end the quoting.
    return "SELECT top 1 * FROM " + db::quotedWithMarks(tableName, '"', '"');
}

void LoadFieldsFromMySQL(const connections::LoginFields& login, std::string_view mTableName,
                         CustomisationLists& lists, StartingTypes types)
{
    loadFields(connections::mySqlConnectionString(login), mySqlFirstRowQuery(mTableName),
               TargetKind::Paradox, types, lists);
}

void LoadFieldsFromParadox(const connections::LoginFields& login, std::string_view mTableName,
                           CustomisationLists& lists, StartingTypes types)
{
    loadFields(connections::paradoxConnectionString(login), paradoxFirstRowQuery(mTableName),
               TargetKind::MySQL, types, lists);
}

} // namespace quintabel::customise
