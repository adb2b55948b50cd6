#include "catalogue/exist_table.h"

#include "connections/connection.h"

namespace quintabel {

bool ExistTable(connections::Connection& connection, const QString& tableName)
{
    const QString wanted = tableName.toUpper();
    bool found = false;
    connections::Recordset schema = connection.OpenSchema(connections::adSchemaTables);
    while (!schema.Eof()) {
        const std::string type = db::toText(schema.Fields("TABLE_TYPE").Value());
        if (type == "TABLE") {
            const QString name = QString::fromStdString(db::toText(schema.Fields("TABLE_NAME").Value()));
            if (name.toUpper() == wanted)
                found = true;
        }
        schema.MoveNext();
    }
    schema.Close();
    return found;
}

} // namespace quintabel
