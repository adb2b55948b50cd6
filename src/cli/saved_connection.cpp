#include "cli/saved_connection.h"

#include "base/paradox_code_page_choice.h"
#include "base/settings_store.h"

#include <QtGlobal>

namespace quintabel::cli {

namespace {

QString saved(const char* key, const QString& fallback)
{
    return readSetting(QString::fromLatin1(key), fallback);
}

} // namespace

SavedConnection savedConnection(const ConnectionOverrides& overrides)
{
    SavedConnection connection;
    ConnectionFields& fields = connection.fields;
    // The defaults the connection window shows for fields never saved.
    fields.server = QStringLiteral("localhost");
    fields.port = QStringLiteral("3306");
    connection.settingsProblem = settingsReadProblem();
    if (!connection.settingsProblem) {
        try {
            fields.paradoxFolder = saved(settings_keys::kParadoxFolder, QString());
            fields.server = saved(settings_keys::kServer, QStringLiteral("localhost"));
            fields.port = saved(settings_keys::kPort, QStringLiteral("3306"));
            fields.user = saved(settings_keys::kUser, QString());
            fields.password = saved(settings_keys::kPassword, QString());
            fields.database = saved(settings_keys::kDatabase, QString());
            fields.paradoxCodePage = codePageOfSetting(saved(settings_keys::kParadoxCodePage, QString()));
        } catch (const std::exception& failure) {
            connection.settingsProblem = QString::fromUtf8(failure.what());
        }
    }
    if (overrides.paradoxFolder)
        fields.paradoxFolder = *overrides.paradoxFolder;
    if (overrides.server)
        fields.server = *overrides.server;
    if (overrides.port)
        fields.port = *overrides.port;
    if (overrides.user)
        fields.user = *overrides.user;
    if (overrides.database)
        fields.database = *overrides.database;
    if (overrides.paradoxCodePage)
        fields.paradoxCodePage = *overrides.paradoxCodePage;
    return connection;
}

QString choosePassword(const std::optional<QString>& environment, const QString& saved,
                       const std::function<std::optional<QString>()>& prompt)
{
    if (environment)
        return *environment;
    if (!saved.isEmpty())
        return saved;
    if (prompt)
        return prompt().value_or(QString());
    return QString();
}

std::optional<QString> passwordFromEnvironment()
{
    if (!qEnvironmentVariableIsSet(kPasswordVariable))
        return std::nullopt;
    return qEnvironmentVariable(kPasswordVariable);
}

} // namespace quintabel::cli
