#pragma once
// The audio files Varlin reads, for the places that must tell them apart before adding one:
// file panels list them by name, and a file handed over from outside is asked of its content.

#include <QString>
#include <QStringList>

// The extensions (lower case, without the dot) under which the decoders' formats are usually
// saved. Only a hint for panels: a file is read by its content, never refused for its name.
const QStringList& audioFileExtensions();

// Whether the file holds sound that Varlin plays, judged by its content as the player judges it.
// Reads the file's header and first frames (for an MP3 without a Xing/LAME tag, its frame
// headers): fine for a few files at once, not for a folder on the main thread.
bool isReadableAudioFile(const QString& path);
