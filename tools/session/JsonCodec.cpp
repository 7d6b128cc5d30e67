#include "JsonCodec.h"

#include <QJsonArray>
#include <QJsonObject>

QJsonValue JsonCodec::toJson(const CodecValue& value) {
    using Kind = CodecValue::Kind;
    switch (value.kind()) {
    case Kind::Bool:
        return value.toBool();
    case Kind::Integer:
        return value.toInteger();
    case Kind::Real:
        return value.toReal();
    case Kind::String:
        return value.toString();
    case Kind::Data:
        return QString::fromLatin1(value.toData().toBase64());
    case Kind::Date:
        return value.toDate().toUTC().toString(Qt::ISODateWithMs);
    case Kind::Url:
        return value.toUrl().toString(QUrl::FullyEncoded);
    case Kind::Array: {
        QJsonArray array;
        for (const CodecValue& element : value.toArray())
            array.append(toJson(element));
        return array;
    }
    case Kind::Dict: {
        QJsonObject object;
        for (const auto& [key, element] : value.toDict())
            object.insert(key, toJson(element));
        return object;
    }
    }
    return QJsonValue();
}

std::optional<CodecValue> JsonCodec::fromJson(const QJsonValue& value, QString* reason) {
    switch (value.type()) {
    case QJsonValue::Bool:
        return CodecValue::boolean(value.toBool());
    case QJsonValue::Double:
        if (value.toVariant().typeId() == QMetaType::LongLong)
            return CodecValue::integer(value.toInteger());
        return CodecValue::real(value.toDouble());
    case QJsonValue::String:
        // A session file that held it could not be opened again.
        if (value.toString().contains(QChar(0))) {
            if (reason)
                *reason = QStringLiteral("a text holds a zero character");
            return std::nullopt;
        }
        return CodecValue::string(value.toString());
    case QJsonValue::Array: {
        CodecValue::Array array;
        for (const QJsonValue& element : value.toArray()) {
            std::optional<CodecValue> converted = fromJson(element, reason);
            if (!converted)
                return std::nullopt;
            array.push_back(std::move(*converted));
        }
        return CodecValue::array(std::move(array));
    }
    case QJsonValue::Object: {
        CodecValue::Dict dict;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            // A null member counts as a missing key.
            if (it.value().isNull())
                continue;
            std::optional<CodecValue> converted = fromJson(it.value(), reason);
            if (!converted)
                return std::nullopt;
            dict.emplace_back(it.key(), std::move(*converted));
        }
        return CodecValue::dict(std::move(dict));
    }
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        break;
    }
    if (reason)
        *reason = QStringLiteral("null where a value is needed");
    return std::nullopt;
}
