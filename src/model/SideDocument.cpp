#include "model/SideDocument.h"

CodecValue SideDocument::encode() const {
    return CodecValue::dict({{"url", CodecValue::url(url)}, {"tag", CodecValue::string(tag)}});
}

std::shared_ptr<SideDocument> SideDocument::decode(const CodecReader& reader) {
    return std::make_shared<SideDocument>(reader.required<QUrl>("url"),
                                          reader.required<QString>("tag"));
}
