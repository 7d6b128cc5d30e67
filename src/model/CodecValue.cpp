#include "model/CodecValue.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

CodecValue CodecValue::reals(const std::vector<double>& values) {
    Array array;
    array.reserve(values.size());
    for (double value : values)
        array.push_back(real(value));
    return CodecValue(std::move(array));
}

CodecValue CodecValue::dates(const std::vector<QDateTime>& values) {
    Array array;
    array.reserve(values.size());
    for (const QDateTime& value : values)
        array.push_back(date(value));
    return CodecValue(std::move(array));
}

const CodecValue* CodecValue::find(QLatin1StringView key) const {
    if (kind() != Kind::Dict)
        return nullptr;
    for (const auto& [name, value] : toDict())
        if (name == key)
            return &value;
    return nullptr;
}

CodecReader::CodecReader(const CodecValue& value, QString where, Form form)
    : _value(value), _where(std::move(where)), _form(form) {
    if (value.kind() != CodecValue::Kind::Dict)
        fail(QStringLiteral("not a dictionary"));
}

bool CodecReader::has(const char* key, CodecValue::Kind kind) const {
    const CodecValue* value = _value.find(QLatin1StringView(key));
    return value && value->kind() == kind;
}

CodecReader::CodecReader(const CodecValue& value, const CodecReader& parent, const char* key,
                         const char* item, int number)
    : _value(value), _parent(&parent), _key(key), _item(item), _number(number),
      _form(parent._form) {
    if (value.kind() != CodecValue::Kind::Dict)
        fail(QStringLiteral("not a dictionary"));
}

CodecReader CodecReader::requiredDict(const char* key) const {
    const CodecValue* value = _value.find(QLatin1StringView(key));
    if (!value)
        fail(QStringLiteral("missing key \"%1\"").arg(QLatin1String(key)));
    return CodecReader(*value, *this, key, nullptr, 0);
}

std::vector<CodecReader> CodecReader::requiredDicts(const char* key, const char* item) const {
    const CodecValue* value = _value.find(QLatin1StringView(key));
    if (!value)
        fail(QStringLiteral("missing key \"%1\"").arg(QLatin1String(key)));
    if (value->kind() != CodecValue::Kind::Array)
        fail(QStringLiteral("key \"%1\" is not an array").arg(QLatin1String(key)));
    std::vector<CodecReader> readers;
    readers.reserve(value->toArray().size());
    int number = 0;
    for (const CodecValue& element : value->toArray())
        readers.push_back(CodecReader(element, *this, nullptr, item, ++number));
    return readers;
}

// "entry 3, prevTimeRangeSet, range 2": each step from the outermost reader down to this one.
QString CodecReader::where() const {
    if (!_parent)
        return _where;
    const QString step = _item ? QLatin1String(_item) + QLatin1Char(' ') + QString::number(_number)
                               : QString::fromLatin1(_key);
    const QString outer = _parent->where();
    return outer.isEmpty() ? step : outer + QLatin1String(", ") + step;
}

void CodecReader::fail(const QString& problem) const {
    const QString place = where();
    QString reason = place.isEmpty() ? problem : place + QLatin1String(": ") + problem;
    // A reason may quote a text from the file; it is printed as one line whatever that holds.
    for (QChar& c : reason)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    throw CodecError{reason};
}

namespace {
using Kind = CodecValue::Kind;
using Form = CodecReader::Form;

bool isText(const CodecValue& value, Form form) {
    return form == Form::Text && value.kind() == Kind::String;
}

template <class T> std::optional<std::vector<T>> convertArray(const CodecValue& value, Form form) {
    if (value.kind() != Kind::Array)
        return std::nullopt;
    std::vector<T> result;
    result.reserve(value.toArray().size());
    for (const CodecValue& element : value.toArray()) {
        std::optional<T> converted = codecConvert<T>(element, form);
        if (!converted)
            return std::nullopt;
        result.push_back(std::move(*converted));
    }
    return result;
}
} // namespace

template <> std::optional<bool> codecConvert<bool>(const CodecValue& value, Form) {
    return value.kind() == Kind::Bool ? std::optional(value.toBool()) : std::nullopt;
}

template <> std::optional<qint64> codecConvert<qint64>(const CodecValue& value, Form form) {
    if (value.kind() == Kind::Integer)
        return value.toInteger();
    // A text form keeps no distinction between whole and real numbers.
    if (form == Form::Text && value.kind() == Kind::Real && std::isfinite(value.toReal()) &&
        value.toReal() == std::trunc(value.toReal()) && std::fabs(value.toReal()) < 9.0e15)
        return qint64(value.toReal());
    return std::nullopt;
}

template <> std::optional<double> codecConvert<double>(const CodecValue& value, Form) {
    if (value.kind() == Kind::Real)
        return value.toReal();
    if (value.kind() == Kind::Integer)
        return double(value.toInteger());
    return std::nullopt;
}

template <> std::optional<QString> codecConvert<QString>(const CodecValue& value, Form) {
    return value.kind() == Kind::String ? std::optional(value.toString()) : std::nullopt;
}

template <> std::optional<QByteArray> codecConvert<QByteArray>(const CodecValue& value, Form form) {
    if (value.kind() == Kind::Data)
        return value.toData();
    if (isText(value, form)) {
        auto decoded = QByteArray::fromBase64Encoding(value.toString().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            return *decoded;
    }
    return std::nullopt;
}

template <> std::optional<QDateTime> codecConvert<QDateTime>(const CodecValue& value, Form form) {
    if (value.kind() == Kind::Date)
        return value.toDate();
    if (isText(value, form)) {
        // Property lists are read back as whole seconds from 2001 in 32 bits: a date outside
        // them would be written, and read back as another.
        static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        constexpr qint64 reach = std::numeric_limits<int32_t>::max();
        QDateTime date = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
        if (date.isValid() && std::abs(reference.secsTo(date)) < reach)
            return date;
    }
    return std::nullopt;
}

// A URL is stored in the keyed form of the original encoder, {"relative": text} with an optional
// "base" URL, or as plain text.
template <> std::optional<QUrl> codecConvert<QUrl>(const CodecValue& value, Form form) {
    if (value.kind() == Kind::Url)
        return value.toUrl();
    const CodecValue* text =
        value.kind() == Kind::Dict ? value.find(QLatin1StringView("relative")) : &value;
    if (!text || text->kind() != Kind::String)
        return std::nullopt;
    QUrl url(text->toString(), QUrl::TolerantMode);
    if (!url.isValid() || url.isEmpty())
        return std::nullopt;
    if (const CodecValue* base = value.find(QLatin1StringView("base"))) {
        std::optional<QUrl> baseUrl = codecConvert<QUrl>(*base, form);
        if (!baseUrl)
            return std::nullopt;
        url = baseUrl->resolved(url);
    }
    return url;
}

template <>
std::optional<std::vector<double>> codecConvert<std::vector<double>>(const CodecValue& value,
                                                                     Form form) {
    return convertArray<double>(value, form);
}

template <>
std::optional<std::vector<QDateTime>> codecConvert<std::vector<QDateTime>>(const CodecValue& value,
                                                                           Form form) {
    return convertArray<QDateTime>(value, form);
}

template <> QString codecTypeName<bool>() {
    return QStringLiteral("a boolean");
}
template <> QString codecTypeName<qint64>() {
    return QStringLiteral("an integer");
}
template <> QString codecTypeName<double>() {
    return QStringLiteral("a real number");
}
template <> QString codecTypeName<QString>() {
    return QStringLiteral("a string");
}
template <> QString codecTypeName<QByteArray>() {
    return QStringLiteral("data");
}
template <> QString codecTypeName<QDateTime>() {
    return QStringLiteral("a date");
}
template <> QString codecTypeName<QUrl>() {
    return QStringLiteral("a URL");
}
template <> QString codecTypeName<std::vector<double>>() {
    return QStringLiteral("an array of real numbers");
}
template <> QString codecTypeName<std::vector<QDateTime>>() {
    return QStringLiteral("an array of dates");
}
