#include "paradoxfile/byte_io.h"

#include "paradoxfile/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintabel::paradox {

namespace {

std::string systemError(int error)
{
    return std::strerror(error);
}

// The failure of a write that the system refused with `error` (errno, kept before anything
// else could change it): a full disk is told apart.
[[noreturn]] void throwWriteFailure(int error, const std::string& what)
{
    const std::string message = what + ": " + systemError(error) + ".";
    if (error == ENOSPC || error == EDQUOT)
        throw DiskFullError(message);
    throw IoError(message);
}

constexpr std::size_t fileSinkBufferSize = 1 << 20;

} // namespace

MemorySource::MemorySource(std::span<const std::uint8_t> bytes, std::string name)
    : view_(bytes), name_(std::move(name))
{
}

MemorySource::MemorySource(std::vector<std::uint8_t> bytes, std::string name)
    : owned_(std::move(bytes)), view_(owned_), name_(std::move(name))
{
}

void MemorySource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const
{
    if (offset > view_.size() || buffer.size() > view_.size() - offset)
        throw IoError("Cannot read " + std::to_string(buffer.size()) + " bytes at offset "
                      + std::to_string(offset) + " of '" + name_ + "': it holds only "
                      + std::to_string(view_.size()) + " bytes.");
    if (!buffer.empty())
        std::memcpy(buffer.data(), view_.data() + offset, buffer.size());
}

FileSource::FileSource(const std::filesystem::path& path) : path_(path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw IoError("Cannot open '" + path.string() + "': " + systemError(errno) + ".");
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::close(fd_);
        throw IoError("Cannot read the size of '" + path.string() + "': " + systemError(error) + ".");
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw IoError("'" + path.string() + "' is not a regular file.");
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
}

FileSource::~FileSource()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void FileSource::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = ::pread(fd_, buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw IoError("Cannot read '" + path_.string() + "': " + systemError(errno) + ".");
        }
        if (got == 0)
            throw IoError("Cannot read '" + path_.string() + "': the file ended at "
                          + std::to_string(offset + done) + " bytes while it was being read.");
        done += static_cast<std::size_t>(got);
    }
}

void MemorySink::write(std::span<const std::uint8_t> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void MemorySink::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (offset > bytes_.size() || bytes.size() > bytes_.size() - offset)
        throw IoError("Cannot overwrite bytes past the end of '" + name_ + "'.");
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

FileSink::FileSink(const std::filesystem::path& path) : path_(path)
{
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        const int error = errno;
        throwWriteFailure(error, "Cannot create '" + path.string() + "'");
    }
    buffer_.reserve(fileSinkBufferSize);
}

FileSink::~FileSink()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void FileSink::writeFully(std::uint64_t offset, const std::uint8_t* data, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t put = ::pwrite(fd_, data + done, length - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            throwWriteFailure(error, "Cannot write '" + path_.string() + "'");
        }
        if (put == 0)
            throw IoError("Cannot write '" + path_.string() + "': no bytes were written.");
        done += static_cast<std::size_t>(put);
    }
}

void FileSink::flushBuffer()
{
    if (buffer_.empty())
        return;
    writeFully(flushed_, buffer_.data(), buffer_.size());
    flushed_ += buffer_.size();
    buffer_.clear();
}

void FileSink::write(std::span<const std::uint8_t> bytes)
{
    if (fd_ < 0)
        throw IoError("Cannot write '" + path_.string() + "': it is already finished.");
    if (buffer_.size() + bytes.size() > fileSinkBufferSize)
        flushBuffer();
    if (bytes.size() >= fileSinkBufferSize) {
        writeFully(flushed_, bytes.data(), bytes.size());
        flushed_ += bytes.size();
    } else {
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    }
    size_ += bytes.size();
}

void FileSink::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (offset > size_ || bytes.size() > size_ - offset)
        throw IoError("Cannot overwrite bytes past the end of '" + path_.string() + "'.");
    flushBuffer();
    writeFully(offset, bytes.data(), bytes.size());
}

void FileSink::finish()
{
    if (fd_ < 0)
        return;
    flushBuffer();
    if (::fsync(fd_) != 0) {
        const int error = errno;
        throwWriteFailure(error, "Cannot write '" + path_.string() + "' to the disk");
    }
    const int fd = fd_;
    fd_ = -1;
    // close() can report a deferred write error (NFS); it counts as a failed write.
    if (::close(fd) != 0) {
        const int error = errno;
        throwWriteFailure(error, "Cannot close '" + path_.string() + "'");
    }
}

FailingSink::FailingSink(std::unique_ptr<ByteSink> inner, std::uint64_t limit, bool failOnFinish)
    : inner_(std::move(inner)), limit_(limit), failOnFinish_(failOnFinish)
{
}

void FailingSink::write(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > limit_ - std::min(limit_, passed_)) {
        // Pass on what still fits, as a disk that fills up part-way would.
        const auto room = static_cast<std::size_t>(limit_ - std::min(limit_, passed_));
        inner_->write(bytes.first(room));
        passed_ += room;
        throw IoError("Cannot write '" + inner_->name() + "': injected failure after "
                      + std::to_string(limit_) + " bytes.");
    }
    inner_->write(bytes);
    passed_ += bytes.size();
}

void FailingSink::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > limit_ - std::min(limit_, passed_))
        throw IoError("Cannot write '" + inner_->name() + "': injected failure after "
                      + std::to_string(limit_) + " bytes.");
    inner_->writeAt(offset, bytes);
    passed_ += bytes.size();
}

void FailingSink::finish()
{
    if (failOnFinish_)
        throw IoError("Cannot write '" + inner_->name() + "' to the disk: injected failure.");
    inner_->finish();
}

} // namespace quintabel::paradox
