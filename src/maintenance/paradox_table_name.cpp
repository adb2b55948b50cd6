#include "maintenance/paradox_table_name.h"

#include "base/expected_problem.h"
#include "maintenance/working_names.h"

#include <algorithm>
#include <stdexcept>

namespace quintabel {

namespace {

bool isControlCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

[[noreturn]] void refuse(const std::string& name, const std::string& why)
{
    throw Expected<std::runtime_error>("'" + name + "' cannot be the name of a Paradox table: " + why
                                       + " Nothing was written; choose another name.");
}

} // namespace

void checkParadoxTableName(const std::string& name)
{
    if (name.empty())
        refuse(name, "a table needs a name.");
    if (name == "." || name == "..")
        refuse(name, "it names a folder, not a file.");
    if (name.find('/') != std::string::npos)
        refuse(name, "a table name cannot hold '/', which separates folders.");
    if (std::any_of(name.begin(), name.end(), isControlCharacter))
        refuse(name, "a table name cannot hold control characters.");
    if (isWorkingName(name))
        refuse(name, "names beginning with '" + std::string(kWorkingNamePrefix)
                         + "' belong to Quintabel's own working files, which are never listed.");
    if (name.front() == '~')
        refuse(name, "names beginning with '~' mark temporary files, which are never listed.");
}

} // namespace quintabel
