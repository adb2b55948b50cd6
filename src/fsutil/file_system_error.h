#pragma once
// A failure of the file system, with the platform's own reason and the path it concerns.

#include <QString>

#include <stdexcept>
#include <system_error>

namespace quintabel {

class FileSystemError : public std::runtime_error {
public:
    // The description reads "<what> '<path>': <the platform's reason>."
    FileSystemError(const QString& what, const QString& path, std::error_code reason);

    std::error_code reason() const { return reason_; }

    // Permission denied, or a path that does not exist (or has a file where a folder should
    // be): the two failures after which a folder walk drops the folder without a word.
    bool isDeniedOrMissing() const;
    bool isMissing() const;

private:
    std::error_code reason_;
};

} // namespace quintabel
