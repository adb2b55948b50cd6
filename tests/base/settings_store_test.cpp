#include "base/settings_store.h"

#include "shell/support/temporary_settings.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quintabel {
namespace {

mode_t modeOf(const QString& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    return status.st_mode & 07777;
}

// Sets the umask for one test and puts the old one back.
class Umask {
public:
    explicit Umask(mode_t mask) : previous_(::umask(mask)) {}
    ~Umask() { ::umask(previous_); }

private:
    mode_t previous_;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    testing::TemporarySettings settings;
};

TEST_F(SettingsStoreTest, MissingKeyReadsAsTheDefaultAndWrittenTextsReadBackExactly)
{
    EXPECT_EQ(readSetting(QStringLiteral("Server"), QStringLiteral("localhost")), QStringLiteral("localhost"));
    EXPECT_FALSE(QFile::exists(settings.storeFile())); // reading creates nothing

    const QString awkward = QStringLiteral("@pass;word = \"x\" \u00E9 [Quintabel]");
    writeSetting(QStringLiteral("Password"), awkward);
    writeSetting(QStringLiteral("With Data Type Change 1"), QStringLiteral("1"));
    writeSetting(QStringLiteral("User"), QString());
    EXPECT_EQ(readSetting(QStringLiteral("Password"), QString()), awkward);
    EXPECT_EQ(readSetting(QStringLiteral("With Data Type Change 1"), QStringLiteral("0")), QStringLiteral("1"));
    // An empty text is a stored value, not a missing key.
    EXPECT_EQ(readSetting(QStringLiteral("User"), QStringLiteral("default")), QString());
}

TEST_F(SettingsStoreTest, StoreLivesUnderCorvandelInSectionQuintabel)
{
    writeSetting(QStringLiteral("Server"), QStringLiteral("db.example"));
    QFile file(settings.storeFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray contents = file.readAll();
    EXPECT_TRUE(contents.contains("[Quintabel]")) << contents.constData();
    EXPECT_TRUE(contents.contains("Server=db.example")) << contents.constData();
}

TEST_F(SettingsStoreTest, FileIsOwnerOnlyWhateverTheUmaskAndAfterOutsideChanges)
{
    {
        Umask permissive(0);
        writeSetting(QStringLiteral("Password"), QStringLiteral("secret"));
        EXPECT_EQ(modeOf(settings.storeFile()), 0600u);
        writeSetting(QStringLiteral("Password"), QStringLiteral("secret2"));
        EXPECT_EQ(modeOf(settings.storeFile()), 0600u);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(settings.storeFile()).constData(), 0644), 0);
    writeSetting(QStringLiteral("Password"), QStringLiteral("secret3"));
    EXPECT_EQ(modeOf(settings.storeFile()), 0600u);
}

TEST_F(SettingsStoreTest, UnwritableStoreIsAClearFailure)
{
    // A file where the settings folder should be: the store cannot be created.
    QFile blocker(settings.folder() + QStringLiteral("/Corvandel"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        writeSetting(QStringLiteral("Server"), QStringLiteral("x"));
        FAIL() << "the write claimed success";
    } catch (const std::runtime_error& failure) {
        EXPECT_TRUE(QString::fromUtf8(failure.what()).contains(QStringLiteral("settings file")))
            << failure.what();
    }
}

} // namespace
} // namespace quintabel
