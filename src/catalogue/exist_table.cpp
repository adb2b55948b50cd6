#include "catalogue/exist_table.h"

#include "catalogue/table_name_case.h"
#include "connections/connection.h"

namespace quintabel {

bool ExistTable(connections::Connection& connection, const QString& tableName)
{
    const QString wanted = asciiUpperCase(tableName);
    bool found = false;
    connections::Recordset schema = connection.OpenSchema(connections::adSchemaTables);
    while (!schema.Eof()) {
        const std::string type = db::toText(schema.Fields("TABLE_TYPE").Value());
        if (type == "TABLE") {
            const QString name = QString::fromStdString(db::toText(schema.Fields("TABLE_NAME").Value()));
            if (asciiUpperCase(name) == wanted)
                found = true;
        }
        schema.MoveNext();
    }
    schema.Close();
    return found;
}

} // namespace quintabel
