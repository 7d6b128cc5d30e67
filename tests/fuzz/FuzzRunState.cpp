// A run-state file's bytes: whatever decodes must write and read back as the same state.
#include "FuzzCheck.h"
#include "model/AppState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString reason;
    const std::optional<AppState> state = AppState::decodeFile(fuzzInput(data, size), &reason);
    require(state || (!reason.isEmpty() && !reason.contains('\n')), "a one-line reason");
    if (!state)
        return 0;
    const QByteArray written = state->encodedFile();
    const std::optional<AppState> back = AppState::decodeFile(written, &reason);
    require(back.has_value(), "a written run state reads back");
    require(back->encodedFile() == written, "a written run state reads back unchanged");
    return 0;
}
