// "Send Table/s To Paradox" with a damaged scratch database beside the program: the file is
// made anew, the user is told once, and the tables go across as usual.

#include "canonical_values.h"
#include "transfer_fixture.h"

#include <fstream>

namespace quintabel::testing {
namespace {

// The boxes that are neither error reports nor questions.
std::vector<ShownBox> messagesOf(const ScriptedMessageBoxes& boxes)
{
    std::vector<ShownBox> messages;
    for (const ShownBox& box : boxes.shown()) {
        if (box.icon == BoxIcon::None && box.buttons == BoxButtons::Ok)
            messages.push_back(box);
    }
    return messages;
}

using DamagedScratchTransferTest = TransferTest;

TEST_F(DamagedScratchTransferTest, IsMadeAnewWithOneMessageAndEveryTableStillGoesAcross)
{
    const std::filesystem::path scratchFile = programFolder.path() / "dbtemp.mdb";
    std::ofstream(scratchFile, std::ios::binary | std::ios::trunc) << std::string(8192, '\x17');
    runSql("CREATE TABLE orders (id INT, city VARCHAR(20))");
    runSql("INSERT INTO orders VALUES (1, 'Köln'), (2, 'Lyon')");
    runSql("CREATE TABLE fresh (id INT)");
    runSql("INSERT INTO fresh VALUES (5)");

    sendToParadox({"fresh", "orders"});

    EXPECT_TRUE(reports().empty()) << reports().front().text.toStdString();
    const std::vector<ShownBox> messages = messagesOf(boxes.boxes);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text.toStdString(),
              "The scratch database '" + scratchFile.string()
                  + "' was damaged, probably by an interrupted run, and has been made anew. No table was lost: it "
                    "only holds copies while they are sent.");
    EXPECT_EQ(paradoxFolderFiles(), (std::vector<std::string>{"fresh.db", "orders.db"}));
    EXPECT_EQ(readBackWithPxlib(paradoxFile("orders.db")).records,
              (std::vector<std::vector<Cell>>{{"1", "Köln"}, {"2", "Lyon"}}));

    runSql("CREATE TABLE later (id INT)");
    sendToParadox({"later"});
    EXPECT_EQ(messagesOf(boxes.boxes).size(), 1u) << "the sound file is not made anew again";
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(scratchTables(programFolder.path()).empty());
}

} // namespace
} // namespace quintabel::testing
