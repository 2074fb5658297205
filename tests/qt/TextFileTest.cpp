#include "qt/core/TextFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace vindle {
namespace {

// Files may grow to `bytes` at most while it lives: a longer write fails as
// on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(TextFileTest, ASaveReplacesTheWholeFileOrNothing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("module.json");

    EXPECT_FALSE(loadTextFile(path).error.isEmpty());
    EXPECT_EQ(saveTextFile(path, "first\n"), QString());
    EXPECT_EQ(saveTextFile(path, "second\n"), QString());
    EXPECT_EQ(loadTextFile(path).text, "second\n");

    // A write that fails half-way leaves the old file, and no other.
    const std::string longText(64 * 1024, 'x');
    QString error;
    {
        const FileSizeLimit limit(1024);
        error = saveTextFile(path, longText);
    }
    EXPECT_TRUE(error.contains("module.json")) << error.toStdString();
    const LoadedText kept = loadTextFile(path);
    EXPECT_EQ(kept.error, QString());
    EXPECT_EQ(kept.text, "second\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"module.json"});

    EXPECT_FALSE(saveTextFile(folder.filePath("missing/module.json"), "x").isEmpty());
}

} // namespace
} // namespace vindle
