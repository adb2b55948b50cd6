// pdxtool: look inside a Paradox table, or copy one as a Paradox 5.x table.
#include "pdxtool/commands.h"

#include <cstdio>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return quintabel::pdxtool::run(arguments, stdout, stderr);
}
