#include "paradoxfile/errors.h"

namespace quintabel::paradox {

namespace {

std::string codePageInWords(int codePage, CodePageOrigin origin)
{
    const std::string number = "code page " + std::to_string(codePage);
    switch (origin) {
    case CodePageOrigin::Chosen:
        return number + ", the code page chosen for reading it";
    case CodePageOrigin::Header:
        return number + ", the code page its header names";
    case CodePageOrigin::SortOrder:
        return number + ", the code page of its sort order (its header names none)";
    case CodePageOrigin::Guessed:
        break;
    }
    return number + ", a guess (neither its header nor its sort order names a code page)";
}

std::string invalidTextProblem(const std::string& tableFile, const std::string& field, std::uint64_t record,
                               int codePage, CodePageOrigin origin, const std::string& headerPart)
{
    std::string where;
    if (record > 0)
        where = "the text of field '" + field + "' in record " + std::to_string(record);
    else
        where = headerPart.empty() ? std::string("text in its header") : headerPart;
    return "Paradox table '" + tableFile + "': " + where + " is not valid in " + codePageInWords(codePage, origin)
        + ".";
}

std::string invalidTextAdvice(CodePageOrigin origin)
{
    return origin == CodePageOrigin::Chosen
        ? "Read the table in the code page its text was written in."
        : "Its text was probably written in another code page: read the table in that one.";
}

} // namespace

InvalidTextError::InvalidTextError(std::string tableFile, std::string field, std::uint64_t record, int codePage,
                                   CodePageOrigin origin, const std::string& headerPart)
    : FormatError(invalidTextProblem(tableFile, field, record, codePage, origin, headerPart) + " "
                  + invalidTextAdvice(origin)),
      problem_(invalidTextProblem(tableFile, field, record, codePage, origin, headerPart)),
      tableFile_(std::move(tableFile)),
      field_(std::move(field)),
      record_(record),
      codePage_(codePage),
      origin_(origin)
{
}

} // namespace quintabel::paradox
