#include "model/PlistCodec.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <plist/plist.h>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {
using Kind = CodecValue::Kind;

// Property-list dates count from 2001-01-01 00:00 UTC.
const QDateTime referenceDate(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// Writes the binary property-list format ("bplist00") itself: libplist's writer uniques objects
// through a small fixed hash table and takes about half a second for a 2,000-entry session.
// Strings, numbers, dates and booleans are uniqued like the original encoder does (the keys repeat
// in every entry), which keeps the file as small as the original's.
class BinaryWriter {
public:
    QByteArray write(const CodecValue& root) {
        add(root);
        const quint64 count = _objects.size();
        _refSize = count < 0x100 ? 1 : count < 0x10000 ? 2 : 4;
        QByteArray out("bplist00");
        out.reserve(qsizetype(count) * 12);
        std::vector<quint64> offsets;
        offsets.reserve(count);
        for (const Object& object : _objects) {
            offsets.push_back(quint64(out.size()));
            writeObject(out, object);
        }
        const quint64 tableOffset = quint64(out.size());
        const int offsetSize = byteCount(tableOffset);
        for (quint64 offset : offsets)
            appendBigEndian(out, offset, offsetSize);
        out.append(6, '\0');
        out.append(char(offsetSize));
        out.append(char(_refSize));
        appendBigEndian(out, count, 8);
        appendBigEndian(out, 0, 8);
        appendBigEndian(out, tableOffset, 8);
        return out;
    }

private:
    enum class Type { Bool, Integer, Real, Date, Data, String, Array, Dict };
    struct Object {
        Type type;
        const CodecValue* value = nullptr; // scalars; strings keep their text below
        QString text;
        std::vector<quint32> refs; // arrays: elements; dictionaries: keys, then values
    };

    static int byteCount(quint64 value) {
        return value < 0x100 ? 1 : value < 0x10000 ? 2 : value < 0x100000000ull ? 4 : 8;
    }

    static void appendBigEndian(QByteArray& out, quint64 value, int bytes) {
        for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
            out.append(char((value >> shift) & 0xff));
    }

    static void appendInteger(QByteArray& out, qint64 value) {
        // One, two and four bytes hold unsigned values; eight bytes a signed one.
        const int bytes = value < 0 ? 8 : byteCount(quint64(value));
        out.append(char(0x10 | (bytes == 1 ? 0 : bytes == 2 ? 1 : bytes == 4 ? 2 : 3)));
        appendBigEndian(out, quint64(value), bytes);
    }

    static void appendMarker(QByteArray& out, int type, quint64 length) {
        if (length < 15) {
            out.append(char(type | int(length)));
            return;
        }
        out.append(char(type | 0x0f));
        appendInteger(out, qint64(length));
    }

    static void appendDouble(QByteArray& out, int marker, double value) {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        out.append(char(marker));
        appendBigEndian(out, bits, 8);
    }

    quint32 addString(const QString& text) {
        const auto found = _strings.constFind(text);
        if (found != _strings.constEnd())
            return *found;
        const quint32 index = quint32(_objects.size());
        _objects.push_back({Type::String, nullptr, text, {}});
        _strings.insert(text, index);
        return index;
    }

    quint32 addContainer(Type type) {
        _objects.push_back({type, nullptr, {}, {}});
        return quint32(_objects.size() - 1);
    }

    quint32 add(const CodecValue& value) {
        switch (value.kind()) {
        case Kind::Bool:
            return addScalar(Type::Bool, value);
        case Kind::Integer:
            return addScalar(Type::Integer, value);
        case Kind::Real:
            return addScalar(Type::Real, value);
        case Kind::Date:
            return addScalar(Type::Date, value);
        case Kind::Data:
            return addScalar(Type::Data, value);
        case Kind::String:
            return addString(value.toString());
        case Kind::Url: {
            // The original encoder's keyed form of a URL.
            const quint32 index = addContainer(Type::Dict);
            const quint32 key = addString(QStringLiteral("relative"));
            const quint32 text = addString(value.toUrl().toString(QUrl::FullyEncoded));
            _objects[index].refs = {key, text};
            return index;
        }
        case Kind::Array: {
            const quint32 index = addContainer(Type::Array);
            std::vector<quint32> refs;
            refs.reserve(value.toArray().size());
            for (const CodecValue& element : value.toArray())
                refs.push_back(add(element));
            _objects[index].refs = std::move(refs);
            return index;
        }
        case Kind::Dict: {
            const quint32 index = addContainer(Type::Dict);
            const CodecValue::Dict& dict = value.toDict();
            std::vector<quint32> refs(dict.size() * 2);
            for (size_t i = 0; i < dict.size(); ++i)
                refs[i] = addString(dict[i].first);
            for (size_t i = 0; i < dict.size(); ++i)
                refs[dict.size() + i] = add(dict[i].second);
            _objects[index].refs = std::move(refs);
            return index;
        }
        }
        return addScalar(Type::Bool, value);
    }

    // Numbers, dates and booleans are uniqued by value, as the original encoder does.
    quint32 addScalar(Type type, const CodecValue& value) {
        quint64 bits = 0;
        switch (type) {
        case Type::Bool:
            bits = value.toBool();
            break;
        case Type::Integer:
            bits = quint64(value.toInteger());
            break;
        case Type::Real: {
            const double real = value.toReal();
            std::memcpy(&bits, &real, sizeof bits);
            break;
        }
        case Type::Date:
            bits = quint64(value.toDate().toMSecsSinceEpoch());
            break;
        default:
            _objects.push_back({type, &value, {}, {}});
            return quint32(_objects.size() - 1);
        }
        const auto [found, inserted] =
            _scalars.try_emplace({int(type), bits}, quint32(_objects.size()));
        if (inserted)
            _objects.push_back({type, &value, {}, {}});
        return found->second;
    }

    void writeObject(QByteArray& out, const Object& object) const {
        switch (object.type) {
        case Type::Bool:
            out.append(char(object.value->toBool() ? 0x09 : 0x08));
            break;
        case Type::Integer:
            appendInteger(out, object.value->toInteger());
            break;
        case Type::Real:
            appendDouble(out, 0x23, object.value->toReal());
            break;
        case Type::Date:
            appendDouble(out, 0x33, double(referenceDate.msecsTo(object.value->toDate())) / 1000.0);
            break;
        case Type::Data:
            appendMarker(out, 0x40, quint64(object.value->toData().size()));
            out.append(object.value->toData());
            break;
        case Type::String:
            appendString(out, object.text);
            break;
        case Type::Array:
        case Type::Dict: {
            const quint64 count =
                object.type == Type::Dict ? object.refs.size() / 2 : object.refs.size();
            appendMarker(out, object.type == Type::Dict ? 0xd0 : 0xa0, count);
            for (quint32 ref : object.refs)
                appendBigEndian(out, ref, _refSize);
            break;
        }
        }
    }

    static void appendString(QByteArray& out, const QString& given) {
        // A zero character (typed into a tag, say) would make a file that cannot be opened
        // again: it is left out.
        const QString text = given.contains(QChar(0)) ? QString(given).remove(QChar(0)) : given;
        const bool ascii =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            appendMarker(out, 0x50, quint64(text.size()));
            out.append(text.toLatin1());
            return;
        }
        appendMarker(out, 0x60, quint64(text.size()));
        for (QChar c : text)
            appendBigEndian(out, c.unicode(), 2);
    }

    std::vector<Object> _objects;
    QHash<QString, quint32> _strings;
    std::map<std::pair<int, quint64>, quint32> _scalars;
    int _refSize = 1;
};

uint64_t bigEndian(const QByteArray& bytes, qsizetype at, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

// Whether a text object of a binary property list holds a zero character. libplist aborts the
// program (an assertion) when it hands out a dictionary key that holds one, so such a file is
// refused before libplist reads it. Anything malformed here is left for libplist to refuse.
bool holdsTextWithZero(const QByteArray& bytes) {
    constexpr qsizetype trailerBytes = 32;
    const qsizetype size = bytes.size();
    if (!bytes.startsWith("bplist00") || size < 8 + trailerBytes)
        return false;
    const qsizetype trailer = size - trailerBytes;
    const int offsetBytes = uint8_t(bytes[trailer + 6]);
    const uint64_t count = bigEndian(bytes, trailer + 8, 8);
    const uint64_t table = bigEndian(bytes, trailer + 24, 8);
    if (offsetBytes < 1 || offsetBytes > 8 || table > uint64_t(trailer) ||
        count > (uint64_t(trailer) - table) / uint64_t(offsetBytes))
        return false;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t offset = bigEndian(bytes, qsizetype(table + i * offsetBytes), offsetBytes);
        if (offset >= uint64_t(trailer))
            continue;
        const int marker = uint8_t(bytes[qsizetype(offset)]);
        const int unitBytes = marker >> 4 == 0x5 ? 1 : marker >> 4 == 0x6 ? 2 : 0;
        if (!unitBytes)
            continue;
        uint64_t units = uint64_t(marker & 0x0f);
        qsizetype start = qsizetype(offset) + 1;
        if (units == 0x0f) {
            // The length follows as an integer object of 1, 2, 4 or 8 bytes.
            const int lengthMarker = start < trailer ? uint8_t(bytes[start]) : 0;
            const int lengthBytes = 1 << (lengthMarker & 0x0f);
            if (lengthMarker >> 4 != 0x1 || lengthBytes > 8 || start + 1 + lengthBytes > trailer)
                continue;
            units = bigEndian(bytes, start + 1, lengthBytes);
            start += 1 + lengthBytes;
        }
        if (units > uint64_t(trailer - start) / uint64_t(unitBytes))
            continue;
        for (qsizetype at = start; at < start + qsizetype(units) * unitBytes; at += unitBytes)
            if (bytes[at] == 0 && bytes[at + unitBytes - 1] == 0)
                return true;
    }
    return false;
}

QString fromUtf8(const char* text, uint64_t length) {
    return QString::fromUtf8(text, qsizetype(length));
}

// The same few keys come back in every entry of a session: each is made into text once and
// shared after that.
class KeyTexts {
public:
    const QString& operator()(const char* key) {
        const auto found = texts.find(std::string_view(key));
        if (found != texts.end())
            return found->second;
        return texts.emplace(key, QString::fromUtf8(key)).first->second;
    }
    // Set by a text holding a zero character: it would be saved into a file that cannot be
    // opened again, so the whole file is refused, whatever its format.
    bool textWithZero = false;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> texts;
};

std::optional<CodecValue> fromPlist(plist_t node, KeyTexts& keyText) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return CodecValue::boolean(value != 0);
    }
    case PLIST_UINT: {
        // libplist has no signed node: an 8-byte negative integer reads as its 64-bit pattern.
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
        if (std::memchr(text, 0, length)) {
            keyText.textWithZero = true;
            return std::nullopt;
        }
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
        // libplist hands a date out as 32-bit seconds from 2001; one outside them comes out as
        // the lowest value, which no file written by a program holds.
        if (seconds == std::numeric_limits<int32_t>::min())
            return std::nullopt;
        // Before 2001 libplist gives the whole seconds rounded towards zero but the fraction
        // without its sign.
        if (seconds < 0)
            micros = -std::abs(micros);
        // The reader can be a microsecond off; whole milliseconds are what the model keeps.
        const double msecs = double(seconds) * 1000.0 + double(micros) / 1000.0;
        return CodecValue::date(referenceDate.addMSecs(qint64(std::llround(msecs))));
    }
    case PLIST_ARRAY: {
        CodecValue::Array array;
        array.reserve(plist_array_get_size(node));
        // The iterator walks the children in one pass; fetching by index starts over each time.
        plist_array_iter iter = nullptr;
        plist_array_new_iter(node, &iter);
        for (;;) {
            plist_t item = nullptr;
            plist_array_next_item(node, iter, &item);
            if (!item)
                break;
            std::optional<CodecValue> element = fromPlist(item, keyText);
            if (!element) {
                free(iter);
                return std::nullopt;
            }
            array.push_back(std::move(*element));
        }
        free(iter);
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
            const QString& name = keyText(key);
            free(key);
            std::optional<CodecValue> converted = fromPlist(element, keyText);
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
    return BinaryWriter().write(root);
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
    if (holdsTextWithZero(bytes))
        return failure("a text in the property list holds a zero character");
    plist_t raw = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &raw);
    PlistPtr plist(raw);
    if (!raw)
        return failure("not a property list");
    KeyTexts keyTexts;
    std::optional<CodecValue> value = fromPlist(raw, keyTexts);
    if (!value && keyTexts.textWithZero)
        return failure("a text in the property list holds a zero character");
    if (!value)
        return failure(
            "the property list holds a value of an unsupported type or a date out of range");
    return value;
}
