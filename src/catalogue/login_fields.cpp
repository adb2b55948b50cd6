#include "catalogue/login_fields.h"

namespace quintabel {

connections::LoginFields toLoginFields(const ConnectionFields& fields)
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

std::string mySqlConnectionStringOf(const ConnectionFields& fields)
{
    return connections::mySqlConnectionString(toLoginFields(fields));
}

std::string paradoxConnectionStringOf(const ConnectionFields& fields)
{
    return connections::paradoxConnectionString(toLoginFields(fields));
}

} // namespace quintabel
