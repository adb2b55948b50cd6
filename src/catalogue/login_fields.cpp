#include "catalogue/login_fields.h"

namespace quintabel {

connections::LoginFields ToLoginFields(const ConnectionFields& fields)
{
    connections::LoginFields login;
    login.paradoxFolder = fields.paradoxFolder.toStdString();
    login.server = fields.server.toStdString();
    login.port = fields.port.toStdString();
    login.user = fields.user.toStdString();
    login.password = fields.password.toStdString();
    login.database = fields.database.toStdString();
    login.paradoxCodePage = fields.paradoxCodePage;
    return login;
}

std::string MySqlConnectionStringOf(const ConnectionFields& fields)
{
    return connections::mySqlConnectionString(ToLoginFields(fields));
}

std::string ParadoxConnectionStringOf(const ConnectionFields& fields)
{
    return connections::paradoxConnectionString(ToLoginFields(fields));
}

} // namespace quintabel
