#pragma once
// Binary property lists to and from the neutral codec tree: sessions and the run state alike are
// read and written here. Reading goes through libplist; writing is done here (see BinaryWriter).

#include "model/CodecValue.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace PlistCodec {

// A URL is written in the original encoder's keyed form {"relative": absolute URL text}.
QByteArray encode(const CodecValue& root);

// Binary or XML property list; none with a one-line reason when the bytes are not one.
std::optional<CodecValue> decode(const QByteArray& bytes, QString* reason);

} // namespace PlistCodec
