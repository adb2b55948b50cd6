#include "paradoxfile/written_code_pages.h"

#include "paradoxfile/code_page.h"

#include <algorithm>
#include <array>
#include <memory>

namespace quintabel::paradox {

namespace {

struct WrittenCodePage {
    int codePage;
    LanguageDriver driver;
};

// Paradox's own driver for each code page, by its sort-order byte and id as BDE lists them
// (docs/paradox-format.md §7.2). Where a page has several (852: Czech, Polish, Hungarian,
// Slovene), one whose byte no other driver shares. 860, 863 and 1257 have no Paradox driver:
// their tables name "ascii" or "ANSIINTL", the drivers that leave the page to the header,
// which every reader takes the text's code page from.
constexpr std::array writtenCodePages{
    WrittenCodePage{437, {0x00, "ascii"}},      WrittenCodePage{850, {0x00, "ascii"}},
    WrittenCodePage{852, {0x0D, "czech"}},      WrittenCodePage{857, {0xC6, "turk"}},
    WrittenCodePage{860, {0x00, "ascii"}},      WrittenCodePage{861, {0xD0, "iceland"}},
    WrittenCodePage{863, {0x00, "ascii"}},      WrittenCodePage{865, {0xE6, "nordan40"}},
    WrittenCodePage{866, {0xC0, "cyrr"}},       WrittenCodePage{936, {0x03, "china"}},
    WrittenCodePage{1250, {0xDC, "anczech"}},   WrittenCodePage{1251, {0x8F, "ancyrr"}},
    WrittenCodePage{1252, {0x62, "ANSIINTL"}},  WrittenCodePage{1253, {0x0E, "angreek1"}},
    WrittenCodePage{1254, {0xD5, "ANTURK"}},    WrittenCodePage{1257, {0x62, "ANSIINTL"}},
};

constexpr std::array<int, writtenCodePages.size()> writtenNumbers = [] {
    std::array<int, writtenCodePages.size()> numbers{};
    for (std::size_t i = 0; i < writtenCodePages.size(); ++i)
        numbers[i] = writtenCodePages[i].codePage;
    return numbers;
}();

static_assert(std::is_sorted(writtenNumbers.begin(), writtenNumbers.end()));

// Opening a code page builds its tables; the converters are kept per thread, because a
// double-byte page's iconv state must not be shared between threads.
const std::vector<std::unique_ptr<CodePage>>& openWrittenCodePages()
{
    thread_local const std::vector<std::unique_ptr<CodePage>> pages = [] {
        std::vector<std::unique_ptr<CodePage>> opened;
        for (const int number : writtenNumbers)
            opened.push_back(CodePage::isSupported(number) ? std::make_unique<CodePage>(number) : nullptr);
        return opened;
    }();
    return pages;
}

} // namespace

std::optional<LanguageDriver> languageDriverForCodePage(int codePage)
{
    for (const WrittenCodePage& written : writtenCodePages)
        if (written.codePage == codePage)
            return written.driver;
    return std::nullopt;
}

std::span<const int> writableCodePages()
{
    return writtenNumbers;
}

std::vector<int> writableCodePagesHolding(std::string_view text)
{
    std::vector<int> holding;
    std::string stored;
    const auto& pages = openWrittenCodePages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        stored.clear();
        if (pages[i] && pages[i]->isSingleByte() && !pages[i]->encode(text, stored))
            holding.push_back(writtenNumbers[i]);
    }
    // GBK holds Cyrillic and Greek letters too, but a Chinese code page for Russian text would
    // mislead: it is named only when no single-byte page will do.
    if (holding.empty()) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            stored.clear();
            if (pages[i] && !pages[i]->isSingleByte() && !pages[i]->encode(text, stored))
                holding.push_back(writtenNumbers[i]);
        }
    }
    return holding;
}

std::string whereTextWouldFit(std::string_view text)
{
    const std::vector<int> holding = writableCodePagesHolding(text);
    if (holding.empty())
        return "no code page a Paradox table can be written in holds it";
    std::string list;
    for (std::size_t i = 0; i < holding.size(); ++i) {
        if (i > 0)
            list += i + 1 == holding.size() ? " and " : ", ";
        list += std::to_string(holding[i]);
    }
    return (holding.size() == 1 ? "code page " : "code pages ") + list + " would hold it";
}

} // namespace quintabel::paradox
