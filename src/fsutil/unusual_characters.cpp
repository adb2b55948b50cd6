#include "fsutil/unusual_characters.h"

#include <QList>
#include <QStringDecoder>

#include <optional>

namespace quintabel {

bool HasUnusualCharacters(const QString& name)
{
    for (const uint code : name.toUcs4()) {
        if (code < 32 || (code >= 127 && code <= 159) || code == uint{'?'})
            return true;
    }
    return false;
}

std::optional<QString> nameFromFileSystem(QByteArrayView rawName)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = decoder.decode(rawName);
    if (decoder.hasError())
        return std::nullopt;
    return name;
}

bool HasUnusualCharacters(QByteArrayView rawName)
{
    const std::optional<QString> name = nameFromFileSystem(rawName);
    return !name || HasUnusualCharacters(*name);
}

} // namespace quintabel
