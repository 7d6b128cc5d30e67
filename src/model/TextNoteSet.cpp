#include "model/TextNoteSet.h"

#include "model/AtomicFile.h"
#include "model/TimeString.h"
#include "platform/Diagnostics.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace {
// UTF-8 unless a byte-order mark says otherwise; a file that is not valid UTF-8 was most likely
// written by an older editor in Latin-1.
QString decodeText(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> marked =
        QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(marked.value_or(QStringConverter::Utf8));
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

bool isLineBreak(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format;
}
} // namespace

TextNoteSet::TextNoteSet(QUrl mp3) : mp3URL(std::move(mp3)), textURL(textURLFor(mp3URL)) {
    QFile file(textURL.toLocalFile());
    if (file.open(QIODevice::ReadOnly))
        notes = parse(file.readAll());
}

std::vector<std::shared_ptr<TextNote>> TextNoteSet::parse(const QByteArray& bytes) {
    const QString content = decodeText(bytes);
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
    if (!text.isEmpty())
        note->text = text;
    else
        std::erase(notes, note);
    // Marked so that a failed write is retried when the entry is left.
    altered = true;
    save();
}
