#include "platform/AlsaMixer.h"

#include <alsa/asoundlib.h>
#include <cmath>

namespace {

constexpr const char* deviceName = "default";
constexpr const char* elementName = "Master";

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card ALSA's configuration code writes several lines to stderr on every open; the
// callers report a missing device in one line of their own.
class QuietAlsa {
public:
    QuietAlsa() { snd_lib_error_set_handler(ignoreAlsaError); }
    ~QuietAlsa() { snd_lib_error_set_handler(nullptr); }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;
};

// The default device's simple mixer, open for the life of one call.
class OpenMixer {
public:
    OpenMixer() {
        const QuietAlsa quiet;
        if (snd_mixer_open(&handle, 0) < 0) {
            handle = nullptr;
            return;
        }
        if (snd_mixer_attach(handle, deviceName) < 0 ||
            snd_mixer_selem_register(handle, nullptr, nullptr) < 0 || snd_mixer_load(handle) < 0) {
            snd_mixer_close(handle);
            handle = nullptr;
        }
    }
    ~OpenMixer() {
        if (handle)
            snd_mixer_close(handle);
    }
    OpenMixer(const OpenMixer&) = delete;
    OpenMixer& operator=(const OpenMixer&) = delete;

    bool isOpen() const { return handle != nullptr; }

    snd_mixer_elem_t* master() const {
        if (!handle)
            return nullptr;
        snd_mixer_selem_id_t* id;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, elementName);
        return snd_mixer_find_selem(handle, id);
    }

private:
    snd_mixer_t* handle = nullptr;
};

bool elementHas(snd_mixer_elem_t* element, AudioMixer::Property property) {
    if (!element)
        return false;
    return property == AudioMixer::Property::MainVolume
               ? snd_mixer_selem_has_playback_volume(element)
               : snd_mixer_selem_has_playback_switch(element);
}

uint32_t cardNumber() {
    const QuietAlsa quiet;
    snd_ctl_t* control = nullptr;
    if (snd_ctl_open(&control, deviceName, 0) < 0)
        return 0;
    snd_ctl_card_info_t* info;
    snd_ctl_card_info_alloca(&info);
    // Sound servers' virtual devices have no card: they count as card 0.
    int card = -1;
    if (snd_ctl_card_info(control, info) >= 0)
        card = snd_ctl_card_info_get_card(info);
    snd_ctl_close(control);
    return card >= 0 ? uint32_t(card) : 0;
}

} // namespace

bool AlsaMixer::hasDefaultOutputDevice() const {
    return OpenMixer().isOpen();
}

std::optional<uint32_t> AlsaMixer::defaultOutputDevice() const {
    if (!OpenMixer().master())
        return std::nullopt;
    return cardNumber();
}

bool AlsaMixer::hasProperty(uint32_t, Property property) const {
    return elementHas(OpenMixer().master(), property);
}

bool AlsaMixer::isSettable(uint32_t, Property property) const {
    snd_mixer_elem_t* element = OpenMixer().master();
    return elementHas(element, property) && snd_mixer_selem_is_active(element);
}

std::optional<float> AlsaMixer::read(uint32_t, Property property) const {
    const OpenMixer mixer;
    snd_mixer_elem_t* element = mixer.master();
    if (!elementHas(element, property))
        return std::nullopt;
    if (property == Property::Mute) {
        int on = 0;
        if (snd_mixer_selem_get_playback_switch(element, SND_MIXER_SCHN_FRONT_LEFT, &on) < 0)
            return std::nullopt;
        return on ? 0.0f : 1.0f;
    }
    long minimum = 0;
    long maximum = 0;
    long level = 0;
    if (snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum) < 0 ||
        maximum <= minimum ||
        snd_mixer_selem_get_playback_volume(element, SND_MIXER_SCHN_FRONT_LEFT, &level) < 0)
        return std::nullopt;
    return float(double(level - minimum) / double(maximum - minimum));
}

bool AlsaMixer::write(uint32_t, Property property, float value) {
    const OpenMixer mixer;
    snd_mixer_elem_t* element = mixer.master();
    if (!elementHas(element, property))
        return false;
    if (property == Property::Mute)
        return snd_mixer_selem_set_playback_switch_all(element, value != 0.0f ? 0 : 1) >= 0;
    long minimum = 0;
    long maximum = 0;
    if (snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum) < 0)
        return false;
    const long level = minimum + std::lround(double(value) * double(maximum - minimum));
    return snd_mixer_selem_set_playback_volume_all(element, level) >= 0;
}
