#pragma once
// The codec tree as JSON, for reading and editing sessions by hand: dates as ISO 8601 UTC text,
// URLs as (file) URL text, data as Base64. Reading JSON gives a tree that is decoded in the text
// form, where those strings stand for dates, URLs and data again.

#include "model/CodecValue.h"

#include <QJsonValue>
#include <optional>

namespace JsonCodec {

QJsonValue toJson(const CodecValue& value);
// None with a reason for JSON the tree cannot hold (null inside an array).
std::optional<CodecValue> fromJson(const QJsonValue& value, QString* reason);

} // namespace JsonCodec
