// "Send Table/s To MySQL" against the tests' MariaDB server.
#include "transfer_fixture.h"
