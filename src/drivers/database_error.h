#pragma once
// The one kind of failure every driver and the connection layer raise: a description in the
// driver's own words, and the driver's error number where it has one (MariaDB's error code).

#include <stdexcept>
#include <string>

namespace quintabel::db {

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& description, int number = 0)
        : std::runtime_error(description), number_(number)
    {
    }

    std::string description() const { return what(); }
    int number() const { return number_; }

private:
    int number_;
};

} // namespace quintabel::db
