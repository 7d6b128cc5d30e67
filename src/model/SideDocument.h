#pragma once
// A document attached to an entry (a PDF cue sheet, an MP4 video). The tag is the file's
// extension as given when attached, and the title of its button.

#include "model/CodecValue.h"

#include <QUrl>
#include <memory>

class SideDocument {
public:
    SideDocument(QUrl url, QString tag) : url(std::move(url)), tag(std::move(tag)) {}

    CodecValue encode() const;
    static std::shared_ptr<SideDocument> decode(const CodecReader& reader);

    // Equal when the URLs are.
    bool operator==(const SideDocument& other) const { return url == other.url; }

    QUrl url;
    QString tag;
};
