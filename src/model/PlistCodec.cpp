#include "model/PlistCodec.h"

#include <cmath>
#include <limits>
#include <memory>
#include <plist/plist.h>

namespace {
using Kind = CodecValue::Kind;

// Property-list dates count from 2001-01-01 00:00 UTC.
const QDateTime referenceDate(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

plist_t toPlist(const CodecValue& value) {
    switch (value.kind()) {
    case Kind::Bool:
        return plist_new_bool(value.toBool());
    case Kind::Integer:
        // libplist has no signed node; a negative value is written as its 64-bit pattern, which
        // the binary format stores as the same signed 8-byte integer.
        return plist_new_uint(uint64_t(value.toInteger()));
    case Kind::Real:
        return plist_new_real(value.toReal());
    case Kind::String:
        return plist_new_string(value.toString().toUtf8().constData());
    case Kind::Data:
        return plist_new_data(value.toData().constData(), uint64_t(value.toData().size()));
    case Kind::Date: {
        const qint64 msecs = referenceDate.msecsTo(value.toDate());
        const qint64 seconds = msecs >= 0 ? msecs / 1000 : -((999 - msecs) / 1000);
        return plist_new_date(int32_t(seconds), int32_t((msecs - seconds * 1000) * 1000));
    }
    case Kind::Url: {
        plist_t dict = plist_new_dict();
        plist_dict_set_item(dict, "relative",
                            plist_new_string(value.toUrl().toString(QUrl::FullyEncoded).toUtf8().constData()));
        return dict;
    }
    case Kind::Array: {
        plist_t array = plist_new_array();
        for (const CodecValue& element : value.toArray())
            plist_array_append_item(array, toPlist(element));
        return array;
    }
    case Kind::Dict: {
        plist_t dict = plist_new_dict();
        for (const auto& [key, element] : value.toDict())
            plist_dict_set_item(dict, key.toUtf8().constData(), toPlist(element));
        return dict;
    }
    }
    return plist_new_bool(false);
}

QString fromUtf8(const char* text, uint64_t length) {
    return QString::fromUtf8(text, qsizetype(length));
}

std::optional<CodecValue> fromPlist(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return CodecValue::boolean(value != 0);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return CodecValue::integer(qint64(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return CodecValue::real(value);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return CodecValue::string(fromUtf8(text, length));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return CodecValue::data(QByteArray(bytes, qsizetype(length)));
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t micros = 0;
        plist_get_date_val(node, &seconds, &micros);
        // The reader can be a microsecond off; whole milliseconds are what the model keeps.
        const double msecs = double(seconds) * 1000.0 + double(micros) / 1000.0;
        return CodecValue::date(referenceDate.addMSecs(qint64(std::llround(msecs))));
    }
    case PLIST_ARRAY: {
        CodecValue::Array array;
        const uint32_t count = plist_array_get_size(node);
        array.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            std::optional<CodecValue> element = fromPlist(plist_array_get_item(node, i));
            if (!element)
                return std::nullopt;
            array.push_back(std::move(*element));
        }
        return CodecValue::array(std::move(array));
    }
    case PLIST_DICT: {
        CodecValue::Dict dict;
        dict.reserve(plist_dict_get_size(node));
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        for (;;) {
            char* key = nullptr;
            plist_t element = nullptr;
            plist_dict_next_item(node, iter, &key, &element);
            if (!element) {
                free(key);
                break;
            }
            const QString name = QString::fromUtf8(key);
            free(key);
            std::optional<CodecValue> converted = fromPlist(element);
            if (!converted) {
                free(iter);
                return std::nullopt;
            }
            dict.emplace_back(name, std::move(*converted));
        }
        free(iter);
        return CodecValue::dict(std::move(dict));
    }
    default:
        return std::nullopt;
    }
}
} // namespace

QByteArray PlistCodec::encode(const CodecValue& root) {
    PlistPtr plist(toPlist(root));
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(static_cast<plist_t>(plist.get()), &bytes, &length);
    QByteArray result(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    return result;
}

std::optional<CodecValue> PlistCodec::decode(const QByteArray& bytes, QString* reason) {
    auto failure = [reason](const char* text) -> std::optional<CodecValue> {
        if (reason)
            *reason = QString::fromLatin1(text);
        return std::nullopt;
    };
    if (bytes.isEmpty())
        return failure("the file is empty");
    if (bytes.size() > qsizetype(std::numeric_limits<uint32_t>::max()))
        return failure("the file is too large for a property list");
    plist_t raw = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &raw);
    PlistPtr plist(raw);
    if (!raw)
        return failure("not a property list");
    std::optional<CodecValue> value = fromPlist(raw);
    if (!value)
        return failure("the property list holds a value of an unsupported type");
    return value;
}
