#include "platform/audio/VoiceMixer.h"

#include "platform/audio/AudioVoice.h"

#include <algorithm>
#include <thread>

bool VoiceMixer::join(AudioVoice* voice) {
    for (auto& slot : voiceSlots) {
        AudioVoice* empty = nullptr;
        if (slot.compare_exchange_strong(empty, voice))
            return true;
    }
    return false;
}

void VoiceMixer::leave(AudioVoice* voice) {
    for (auto& slot : voiceSlots) {
        AudioVoice* present = voice;
        slot.compare_exchange_strong(present, nullptr);
    }
    waitForRender();
}

bool VoiceMixer::empty() const {
    return std::all_of(voiceSlots.begin(), voiceSlots.end(),
                       [](const auto& slot) { return slot.load() == nullptr; });
}

void VoiceMixer::waitForRender() const {
    // Sequentially consistent with render(): either render() saw the cleared slot, or it had
    // already begun and the count is odd until it ends.
    const uint64_t count = renderCount.load();
    if (count % 2 == 0)
        return;
    while (renderCount.load() == count)
        std::this_thread::yield();
}

void VoiceMixer::render(float* out, int frames, int64_t firstFrame) {
    renderCount.fetch_add(1);
    std::fill(out, out + frames * channels, 0.0f);
    for (auto& slot : voiceSlots)
        if (AudioVoice* voice = slot.load())
            voice->mixInto(out, frames, firstFrame);
    renderCount.fetch_add(1);
}
