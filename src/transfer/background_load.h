#pragma once
// One batch of rows sent by LOAD DATA LOCAL from memory on a thread of its own, so that the
// program reads the source's next rows and writes them out while the server stores this
// batch. On a large table the program's own work per row and the server's are about even:
// done one after the other they take about twice as long as either.
//
// The connection is lent to the thread for the whole batch: nothing else may use it until
// wait() has returned (a MariaDB connection carries one statement at a time). The content
// is the caller's and must stay unchanged until then too. The SAVEPOINT that lets the batch
// be undone goes on the same thread just before the LOAD, sparing the program its round trip.

#include "drivers/database_error.h"
#include "drivers/driver.h"

#include <future>
#include <optional>
#include <string>

namespace quintabel {

namespace connections {
class Connection;
}

class BackgroundLoad {
public:
    // What became of the batch: the SAVEPOINT's refusal (then no LOAD was tried), or the
    // LOAD's rows and warnings, or its refusal.
    struct Answer {
        std::optional<db::DatabaseError> savepointRefusal;
        std::optional<db::LoadedRows> loaded;
        std::optional<db::DatabaseError> loadRefusal;
    };

    BackgroundLoad() = default;
    BackgroundLoad(const BackgroundLoad&) = delete;
    BackgroundLoad& operator=(const BackgroundLoad&) = delete;
    // A batch still under way is waited for: the connection and the content must outlive it.
    ~BackgroundLoad();

    // Runs `savepoint`, then `statement` with `content` served as `fileName`. Only one batch
    // is under way at a time: a caller starts the next only after wait().
    void start(connections::Connection& target, const std::string& savepoint, const std::string& statement,
               const std::string& fileName, const std::string& content);
    bool underWay() const { return answer_.valid(); }
    // The answer for the batch started last; a failure other than the database's own is
    // thrown here, as if the batch had been sent on the caller's thread.
    Answer wait();

private:
    std::future<Answer> answer_;
};

} // namespace quintabel
