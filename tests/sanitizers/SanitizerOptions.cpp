// Linked into every program of a sanitizer build, so that a finding fails whatever ran the
// program (ctest, a test's child process, the end-to-end harness, a tool run by the build): the
// first report ends the process with exit code 23, leaks included (without halt_on_error a leak
// report leaves the exit code at 0). Options given in the environment still override these.
//
// Suppressions name third-party libraries only, each with its reason; a finding in Varlin's own
// code is fixed, never suppressed.

extern "C" {

__attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return "detect_leaks=1:halt_on_error=1:exitcode=23:strict_init_order=1";
}

__attribute__((used, visibility("default"))) const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1:exitcode=23";
}

__attribute__((used, visibility("default"))) const char* __lsan_default_options() {
    return "exitcode=23:print_suppressions=0";
}

__attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    // Matched against every frame of the allocation's stack; the test programs record whole
    // stacks (fast_unwind_on_malloc=0 in tests/CMakeLists.txt), so each names the library's
    // own function.
    return
        // QtPdf 6.4: the document loader's PDFium file access and what hangs off it are never
        // freed.
        "leak:QPdfDocumentPrivate::initiateAsyncLoadWithTotalSizeKnown\n"
        "leak:QPdfDocumentPrivate::tryLoadDocument\n"
        // QPdfView registers a flick-gesture recognizer with QScroller that is never
        // unregistered, and its page renderer starts a QThread that it never deletes.
        "leak:QScroller::grabGesture\n"
        "leak:QPdfPageRenderer::setRenderMode\n"
        // Qt Multimedia's FFmpeg back end leaves the options dictionary of avcodec_open2
        // unfreed for each video it opens.
        "leak:libffmpegmediaplugin.so\n"
        // libsndfile 1.2.0 gives up on an Ogg Vorbis stream whose headers do not decode without
        // clearing the vorbis_info it set up for it.
        "leak:vorbis_info_init\n"
        // libpulse 16.1: the sink and source queries that SDL's pulseaudio driver makes on its
        // hot-plug thread are not freed when a sink or the whole server goes away mid-query.
        "leak:pa_pdispatch_run\n"
        // SDL 2.26 started again on another audio driver after its first one failed (a sound
        // server away, looked for every 2 s) keeps the failed driver's device list; SDL's
        // library has no symbols, so only its name can be matched.
        "leak:libSDL2-2.0.so.0\n";
}

__attribute__((used, visibility("default"))) const char* __tsan_default_options() {
    // The sound-server tests start a private server from a process whose threads run; the
    // forked child only executes the server, so it may start threads of its own.
    return "halt_on_error=1:exitcode=23:second_deadlock_stack=1:die_after_fork=0";
}

__attribute__((used, visibility("default"))) const char* __tsan_default_suppressions() {
    return
        // A queued call hands its slot object to the receiving thread under a reference count
        // kept with atomics inside QtCore, which is not instrumented: the sender's release and
        // the receiver's delete look unordered.
        "race:QMetaObject::invokeMethodImpl\n"
        // The ALSA PulseAudio plugin passes operations to libpulse's mainloop thread through
        // libpulse's lock-free queues, which are not instrumented either.
        "race:libpulse.so.0\n"
        // Qt 6.4 is not built for ThreadSanitizer: its QMutex and QWaitCondition wait on futexes
        // that it cannot see, so what Qt's thread pool, QtConcurrent or a QThread hands from one
        // thread to another (a finished task deleted, a posted event, a pool thread's wait
        // condition destroyed after the thread was joined) looks unordered.
        "race:libQt6Core.so.6\n"
        "race:libQt6Concurrent.so.6\n"
        // GLib's main context, under the D-Bus connection's thread, wakes itself through an
        // eventfd it writes from one thread and closes from another under its own locks.
        "race:libglib-2.0.so.0\n";
}
}
