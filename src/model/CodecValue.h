#pragma once
// The neutral tree that stored records are encoded into and decoded from: one key table per
// record, whatever the file form (binary property list for sessions and run state, JSON for the
// session tool). Dictionaries keep their keys in the order written.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

class CodecValue {
public:
    enum class Kind { Bool, Integer, Real, String, Data, Date, Url, Array, Dict };
    using Array = std::vector<CodecValue>;
    using Dict = std::vector<std::pair<QString, CodecValue>>;

    static CodecValue boolean(bool value) { return CodecValue(value); }
    static CodecValue integer(qint64 value) { return CodecValue(value); }
    static CodecValue real(double value) { return CodecValue(value); }
    static CodecValue string(QString value) { return CodecValue(std::move(value)); }
    static CodecValue data(QByteArray value) { return CodecValue(std::move(value)); }
    static CodecValue date(QDateTime value) { return CodecValue(std::move(value)); }
    static CodecValue url(QUrl value) { return CodecValue(std::move(value)); }
    static CodecValue array(Array value) { return CodecValue(std::move(value)); }
    static CodecValue dict(Dict value) { return CodecValue(std::move(value)); }
    static CodecValue reals(const std::vector<double>& values);
    static CodecValue dates(const std::vector<QDateTime>& values);

    Kind kind() const { return Kind(_value.index()); }

    bool toBool() const { return std::get<bool>(_value); }
    qint64 toInteger() const { return std::get<qint64>(_value); }
    double toReal() const { return std::get<double>(_value); }
    const QString& toString() const { return std::get<QString>(_value); }
    const QByteArray& toData() const { return std::get<QByteArray>(_value); }
    const QDateTime& toDate() const { return std::get<QDateTime>(_value); }
    const QUrl& toUrl() const { return std::get<QUrl>(_value); }
    const Array& toArray() const { return std::get<Array>(_value); }
    const Dict& toDict() const { return std::get<Dict>(_value); }

    // The value under `key` of a dictionary; null when absent or when this is no dictionary.
    const CodecValue* find(QLatin1StringView key) const;

private:
    using Storage =
        std::variant<bool, qint64, double, QString, QByteArray, QDateTime, QUrl, Array, Dict>;
    template <class T> explicit CodecValue(T value) : _value(std::move(value)) {}

    Storage _value;
};

// Decoding failures carry a one-line reason naming the key and where it was met.
struct CodecError {
    QString reason;
};

// Reads one dictionary of a decoded tree. A required key that is missing or of the wrong type
// throws CodecError; an optional one of the wrong type reads as none, like a missing one. A
// reader taken from another (a nested dictionary, an element) refers to it and is used while it
// lives: the place named in a failure reason is only spelt out when there is a failure.
class CodecReader {
public:
    // Text: the tree came from a text form (JSON), where dates, URLs and data are strings.
    enum class Form { Binary, Text };

    // Throws CodecError when `value` is not a dictionary.
    CodecReader(const CodecValue& value, QString where, Form form);

    template <class T> T required(const char* key) const;
    template <class T> std::optional<T> optional(const char* key) const;

    CodecReader requiredDict(const char* key) const;
    // Array of dictionaries; `item` names one element in a failure reason ("entry 3").
    std::vector<CodecReader> requiredDicts(const char* key, const char* item) const;

    // A present dictionary decoded by `decode`; none when missing, of the wrong type, or when
    // `decode` fails.
    template <class Decode>
    auto optionalDict(const char* key, Decode decode) const
        -> std::optional<decltype(decode(std::declval<CodecReader>()))> {
        try {
            if (has(key, CodecValue::Kind::Dict))
                return decode(requiredDict(key));
        } catch (const CodecError&) {
        }
        return std::nullopt;
    }

    template <class Decode>
    auto optionalDicts(const char* key, const char* item, Decode decode) const
        -> std::optional<std::vector<decltype(decode(std::declval<CodecReader>()))>> {
        try {
            if (has(key, CodecValue::Kind::Array)) {
                std::vector<decltype(decode(std::declval<CodecReader>()))> values;
                for (const CodecReader& reader : requiredDicts(key, item))
                    values.push_back(decode(reader));
                return values;
            }
        } catch (const CodecError&) {
        }
        return std::nullopt;
    }

    bool has(const char* key, CodecValue::Kind kind) const;

    // Throws CodecError with `problem` prefixed by where this dictionary sits.
    [[noreturn]] void fail(const QString& problem) const;

private:
    // A dictionary under `key` of `parent`, or its element `number` (from 1) named `item`.
    CodecReader(const CodecValue& value, const CodecReader& parent, const char* key,
                const char* item, int number);
    QString where() const;

    const CodecValue& _value;
    QString _where; // the outermost reader's place
    const CodecReader* _parent = nullptr;
    const char* _key = nullptr;
    const char* _item = nullptr;
    int _number = 0;
    Form _form;
};

// Conversion of one tree value to a model type; none when the value has another type.
template <class T> std::optional<T> codecConvert(const CodecValue& value, CodecReader::Form form);
// The type's name as a failure reason gives it ("a real number").
template <class T> QString codecTypeName();

#define VARLIN_CODEC_TYPE(T)                                                                       \
    template <> std::optional<T> codecConvert<T>(const CodecValue&, CodecReader::Form);            \
    template <> QString codecTypeName<T>();
VARLIN_CODEC_TYPE(bool)
VARLIN_CODEC_TYPE(qint64)
VARLIN_CODEC_TYPE(double)
VARLIN_CODEC_TYPE(QString)
VARLIN_CODEC_TYPE(QByteArray)
VARLIN_CODEC_TYPE(QDateTime)
VARLIN_CODEC_TYPE(QUrl)
VARLIN_CODEC_TYPE(std::vector<double>)
VARLIN_CODEC_TYPE(std::vector<QDateTime>)
#undef VARLIN_CODEC_TYPE

template <class T> std::optional<T> CodecReader::optional(const char* key) const {
    const CodecValue* value = _value.find(QLatin1StringView(key));
    return value ? codecConvert<T>(*value, _form) : std::nullopt;
}

template <class T> T CodecReader::required(const char* key) const {
    const CodecValue* value = _value.find(QLatin1StringView(key));
    if (!value)
        fail(QStringLiteral("missing key \"%1\"").arg(QLatin1String(key)));
    std::optional<T> converted = codecConvert<T>(*value, _form);
    if (!converted)
        fail(QStringLiteral("key \"%1\" is not %2").arg(QLatin1String(key), codecTypeName<T>()));
    return std::move(*converted);
}
