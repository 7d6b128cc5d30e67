#pragma once
// Each video opened makes FFmpeg and Qt Multimedia report every kind of hardware decoder they try
// and do not find (some fifteen lines on a computer without one), and how frames are converted
// without a GPU; the video plays in software all the same. Those reports are silenced here. A
// video that cannot be played still says so through the player's error.

// Once per run, before the first video opens; later calls do nothing.
void silenceVideoDecoderReports();
