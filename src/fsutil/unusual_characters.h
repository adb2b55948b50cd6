#pragma once
// HasUnusualCharacters: whether a folder name holds characters that the folder walk does not
// trust: control characters (below 32), DEL and the C1 controls (127 to 159), and "?", which
// stands for a character that could not be represented.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quintabel {

bool HasUnusualCharacters(const QString& name);

// For a name as the file system stores it: a name that is not valid UTF-8 counts as unusual.
bool HasUnusualCharacters(QByteArrayView rawName);

// The name as text, or no value when it is not valid UTF-8.
std::optional<QString> nameFromFileSystem(QByteArrayView rawName);

} // namespace quintabel
