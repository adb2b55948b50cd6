#include "connections/driver_choice.h"

#include "drivers/database_error.h"
#include "drivers/mysql/mysql_session.h"
#include "drivers/paradox/paradox_session.h"
#include "drivers/scratch/scratch_session.h"

#include <array>

namespace quintabel::connections {

namespace {

using OpenFunction = std::unique_ptr<db::Session> (*)(const db::ConnectionAttributes&,
                                                      const db::SessionOptions&);

struct DriverEntry {
    const char* key; // "DRIVER" or "PROVIDER"
    const char* name;
    OpenFunction open;
};

const std::array drivers{
    DriverEntry{"DRIVER", db::mysql::driverName, &db::mysql::openSession},
    DriverEntry{"DRIVER", db::paradox::driverName, &db::paradox::openSession},
    DriverEntry{"PROVIDER", db::scratch::providerName, &db::scratch::openSession},
};

} // namespace

std::unique_ptr<db::Session> openDriverSession(const db::ConnectionAttributes& attributes,
                                               const db::SessionOptions& options)
{
    const auto driver = attributes.find("DRIVER");
    const auto provider = attributes.find("PROVIDER");
    if (driver && provider)
        throw db::DatabaseError("The connection string names both a DRIVER and a PROVIDER.");
    if (!driver && !provider)
        throw db::DatabaseError("The connection string names no DRIVER and no PROVIDER.");
    const std::string key = driver ? "DRIVER" : "PROVIDER";
    const std::string& name = driver ? *driver : *provider;
    for (const DriverEntry& entry : drivers) {
        if (key == entry.key && db::equalsIgnoringCase(name, entry.name))
            return entry.open(attributes, options);
    }
    throw db::DatabaseError("No " + std::string(driver ? "driver" : "provider") + " named '" + name
                            + "' is installed.");
}

} // namespace quintabel::connections
