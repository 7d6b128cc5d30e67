#include "model/TextNoteSet.h"

#include "model/AtomicFile.h"
#include "model/TimeString.h"
#include "platform/Diagnostics.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace {
// Notes for one track run to a few kilobytes; anything near this is not a notes file.
constexpr qint64 largestNotesFile = 1 << 20;

// Windows-1252 at 0x80 to 0x9F, where Latin-1 has control codes; 0 where it leaves a byte
// undefined.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<QString> decodeWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = uchar(bytes[i]);
        const bool high = byte >= 0x80 && byte < 0xA0;
        if (high && windows1252High[byte - 0x80] == 0)
            return std::nullopt;
        text[i] = QChar(high ? windows1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

// UTF-8 unless a byte-order mark says otherwise; a file that is not valid UTF-8 was most likely
// written by an older editor in Windows-1252. None when it is neither.
std::optional<QString> decodeText(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> marked =
        QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(marked.value_or(QStringConverter::Utf8));
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    return marked ? std::nullopt : decodeWindows1252(bytes);
}

// Text holds no control characters but its line and page breaks; a NUL or any other one means
// the bytes are something else.
bool isText(const QString& text) {
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.category() == QChar::Other_Control && !QStringView(u"\t\n\v\f\r").contains(c);
    });
}

// The notes file's text, or why it cannot be used. A missing file is empty text.
struct NotesFile {
    QString text;
    std::optional<QString> refusal;
};

NotesFile notesText(const QByteArray& bytes) {
    std::optional<QString> text = decodeText(bytes);
    if (!text)
        return {{}, QStringLiteral("neither UTF-8 nor Windows-1252 text")};
    if (!isText(*text))
        return {{}, QStringLiteral("binary data")};
    return {std::move(*text), std::nullopt};
}

NotesFile readNotesFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return {{}, QStringLiteral("not a file")};
    if (info.size() > largestNotesFile)
        return {{}, QStringLiteral("larger than 1 MiB")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    return notesText(file.readAll());
}

bool isLineBreak(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format;
}
} // namespace

TextNoteSet::TextNoteSet(QUrl mp3) : mp3URL(std::move(mp3)), textURL(textURLFor(mp3URL)) {
    const NotesFile file = readNotesFile(textURL.toLocalFile());
    refusal = file.refusal;
    if (refusal) {
        printLine(QStringLiteral("%1 is not used for notes (%2); it is left as it is")
                      .arg(textURL.toLocalFile(), *refusal));
        return;
    }
    notes = parseText(file.text);
}

std::vector<std::shared_ptr<TextNote>> TextNoteSet::parse(const QByteArray& bytes,
                                                          std::optional<QString>* refusal) {
    NotesFile file = notesText(bytes);
    if (refusal)
        *refusal = file.refusal;
    return file.refusal ? std::vector<std::shared_ptr<TextNote>>() : parseText(file.text);
}

std::vector<std::shared_ptr<TextNote>> TextNoteSet::parseText(const QString& content) {
    std::vector<std::shared_ptr<TextNote>> notes;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= content.size(); ++i) {
        if (i < content.size() && !isLineBreak(content[i]))
            continue;
        if (std::shared_ptr<TextNote> note = TextNote::parse(content.mid(lineStart, i - lineStart)))
            notes.push_back(std::move(note));
        lineStart = i + 1;
    }
    return notes;
}

QUrl TextNoteSet::textURLFor(const QUrl& mp3URL) {
    const QFileInfo info(mp3URL.toLocalFile());
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return QUrl::fromLocalFile(info.path() + QLatin1Char('/') + base + QLatin1String(".txt"));
}

QString TextNoteSet::text() const {
    QString content = mp3URL.toLocalFile() + QLatin1Char('\n');
    for (const std::shared_ptr<TextNote>& note : notes)
        content += timeString(0, 2, note->time) + QLatin1Char(' ') + note->text + QLatin1Char('\n');
    return content;
}

bool TextNoteSet::save() {
    if (refusal) {
        printLine(QStringLiteral("Notes not saved: %1 is not used for notes (%2)")
                      .arg(textURL.toLocalFile(), *refusal));
        return false;
    }
    if (!AtomicFile::write(textURL.toLocalFile(), text().toUtf8())) {
        printLine(QStringLiteral("can't write ") + textURL.toString());
        return false;
    }
    altered = false;
    return true;
}

int TextNoteSet::noteIndex(double t) const {
    int index = 0;
    for (int i = 0; i < int(notes.size()); ++i) {
        if (notes[i]->time > t)
            break;
        index = i;
    }
    return index;
}

std::shared_ptr<TextNote> TextNoteSet::noteNear(double t) const {
    for (const std::shared_ptr<TextNote>& note : notes)
        if (note->time - preTrigger < t && t < note->time + postTrigger)
            return note;
    return nullptr;
}

std::shared_ptr<TextNote> TextNoteSet::addNote(double t) {
    auto note = std::make_shared<TextNote>(t, QString());
    auto after =
        std::find_if(notes.begin(), notes.end(),
                     [t](const std::shared_ptr<TextNote>& other) { return other->time > t; });
    notes.insert(after, note);
    altered = true;
    return note;
}

void TextNoteSet::commitNoteText(const std::shared_ptr<TextNote>& note, const QString& text) {
    if (refusal) {
        // Read-only: the note goes, and the line keeps what was typed.
        std::erase(notes, note);
        printLine(QStringLiteral("Note \"%1\" at %2 not saved: %3 is not used for notes (%4)")
                      .arg(text, timeString(0, 2, note->time).trimmed(), textURL.toLocalFile(),
                           *refusal));
        return;
    }
    if (!text.isEmpty())
        note->text = text;
    else
        std::erase(notes, note);
    // Marked so that a failed write is retried when the entry is left.
    altered = true;
    save();
}
