#pragma once
// The byte-source / byte-sink seam: the table codec reads and writes through these small
// interfaces, never through file names, so that tests, the fuzzer and fault injection work on
// memory, and the folder-level reader and writer plug in real files.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quintabel::paradox {

// Random-access bytes with a known size. The codec checks every range against size() before
// it reads, so readAt() only fails when the medium fails (or shrinks underneath).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills `buffer` with the bytes at `offset`; throws IoError when they cannot all be read.
    virtual void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const = 0;
    // What to call the source in messages: a path, or a label such as "<memory>".
    virtual std::string name() const = 0;
};

// Bytes in memory. Either borrows the caller's buffer (which must outlive the source) or owns
// a copy.
class MemorySource final : public ByteSource {
public:
    MemorySource(std::span<const std::uint8_t> bytes, std::string name = "<memory>");
    MemorySource(std::vector<std::uint8_t> bytes, std::string name = "<memory>");
    std::uint64_t size() const override { return view_.size(); }
    void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    std::string name() const override { return name_; }

private:
    std::vector<std::uint8_t> owned_;
    std::span<const std::uint8_t> view_;
    std::string name_;
};

// A file opened for reading; its size is taken when it is opened.
class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::filesystem::path& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    std::uint64_t size() const override { return size_; }
    void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    std::string name() const override { return path_.string(); }

private:
    std::filesystem::path path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Append-mostly output. The codec appends with write() and, once the data is complete, patches
// the header it wrote first with writeAt(). finish() makes everything durable (flush and
// fsync for a file) and reports any failure; a sink that was not finished is abandoned.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    // Overwrites bytes already written; never extends the output.
    virtual void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    virtual void finish() = 0;
    virtual std::uint64_t size() const = 0;
    virtual std::string name() const = 0;
};

class MemorySink final : public ByteSink {
public:
    explicit MemorySink(std::string name = "<memory>") : name_(std::move(name)) {}
    void write(std::span<const std::uint8_t> bytes) override;
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    void finish() override { finished_ = true; }
    std::uint64_t size() const override { return bytes_.size(); }
    std::string name() const override { return name_; }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    bool finished() const { return finished_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::string name_;
    bool finished_ = false;
};

// A file created for writing (it must not exist: O_CREAT | O_EXCL), written through a buffer.
// finish() flushes and fsyncs it. The sink never deletes the file; its owner does.
class FileSink final : public ByteSink {
public:
    explicit FileSink(const std::filesystem::path& path);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    void write(std::span<const std::uint8_t> bytes) override;
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    void finish() override;
    std::uint64_t size() const override { return size_; }
    std::string name() const override { return path_.string(); }

private:
    void flushBuffer();
    void writeFully(std::uint64_t offset, const std::uint8_t* data, std::size_t length);

    std::filesystem::path path_;
    int fd_ = -1;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t flushed_ = 0; // bytes already in the file
    std::uint64_t size_ = 0;    // bytes written, buffered or not
};

// For fault injection: passes bytes on to another sink until `limit` bytes have gone through,
// then throws IoError ("injected failure") from the write that would cross the limit, as a
// full disk would. Can also fail in finish().
class FailingSink final : public ByteSink {
public:
    FailingSink(std::unique_ptr<ByteSink> inner, std::uint64_t limit, bool failOnFinish = false);
    void write(std::span<const std::uint8_t> bytes) override;
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    void finish() override;
    std::uint64_t size() const override { return inner_->size(); }
    std::string name() const override { return inner_->name(); }

private:
    std::unique_ptr<ByteSink> inner_;
    std::uint64_t limit_;
    std::uint64_t passed_ = 0;
    bool failOnFinish_;
};

} // namespace quintabel::paradox
