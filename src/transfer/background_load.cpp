#include "transfer/background_load.h"

#include "connections/connection.h"

#include <stdexcept>

namespace quintabel {

BackgroundLoad::~BackgroundLoad()
{
    if (answer_.valid())
        answer_.wait();
}

void BackgroundLoad::start(connections::Connection& target, const std::string& savepoint, const std::string& statement,
                           const std::string& fileName, const std::string& content)
{
    // Two batches at once would share the connection: a fault of the caller, never to be run.
    if (answer_.valid())
        throw std::logic_error("A LOAD DATA batch was started while the one before was still under way");
    answer_ = std::async(std::launch::async, [&target, savepoint, statement, fileName, &content] {
        Answer answer;
        try {
            target.Execute(savepoint);
        } catch (const db::DatabaseError& failure) {
            answer.savepointRefusal = failure;
            return answer;
        }
        try {
            answer.loaded = target.LoadFromMemory(statement, fileName, content);
        } catch (const db::DatabaseError& failure) {
            answer.loadRefusal = failure;
        }
        return answer;
    });
}

BackgroundLoad::Answer BackgroundLoad::wait()
{
    if (!answer_.valid())
        throw std::logic_error("No LOAD DATA batch is under way to wait for");
    return answer_.get();
}

} // namespace quintabel
