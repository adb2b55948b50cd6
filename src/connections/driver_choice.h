#pragma once
// Picks the driver that a connection string's DRIVER or PROVIDER names and opens a session
// with it.

#include "drivers/driver.h"

#include <memory>

namespace quintabel::connections {

// A name no driver answers to, or a string naming neither or both, is a DatabaseError.
std::unique_ptr<db::Session> openDriverSession(const db::ConnectionAttributes& attributes,
                                               const db::SessionOptions& options);

} // namespace quintabel::connections
