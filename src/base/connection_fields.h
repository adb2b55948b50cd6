#pragma once
// The six fields of the connection window and its Paradox code page choice, read at the moment
// of use: the one source of connection data for the whole program.

#include <QString>

namespace quintabel {

struct ConnectionFields {
    QString paradoxFolder; // Text1
    QString server;        // Text2
    QString port;          // Text3, as typed
    QString user;          // Text4
    QString password;      // Text5
    QString database;      // Text6
    // Combo1: the code page to read every Paradox table in and to write new ones in; 0 for the
    // one each table's header names (new tables then in Windows-1252).
    int paradoxCodePage = 0;
};

} // namespace quintabel
