#pragma once
// The six fields of the connection window, read at the moment of use: the one source of
// connection data for the whole program.

#include <QString>

namespace quintabel {

struct ConnectionFields {
    QString paradoxFolder; // Text1
    QString server;        // Text2
    QString port;          // Text3, as typed
    QString user;          // Text4
    QString password;      // Text5
    QString database;      // Text6
};

} // namespace quintabel
