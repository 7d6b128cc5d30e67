#include "platform/AlsaMixer.h"

#include <QMutexLocker>
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

} // namespace

// The default device's simple mixer while it is open. Elements are looked up inside each call,
// since ALSA frees them with the mixer and when the device removes them.
class AlsaMixer::Open {
public:
    // Null when the device cannot be opened.
    static std::unique_ptr<Open> attach() {
        const QuietAlsa quiet;
        snd_mixer_t* handle = nullptr;
        if (snd_mixer_open(&handle, 0) < 0)
            return nullptr;
        std::unique_ptr<Open> mixer(new Open(handle));
        if (snd_mixer_attach(handle, deviceName) < 0 ||
            snd_mixer_selem_register(handle, nullptr, nullptr) < 0 || snd_mixer_load(handle) < 0)
            return nullptr;
        return mixer;
    }
    ~Open() { snd_mixer_close(handle); }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;

    // Takes in what changed on the device since the last call, such as a volume someone else
    // set (reads otherwise return the values of the last change seen); false when the device
    // has gone away.
    bool update() { return snd_mixer_handle_events(handle) >= 0; }

    std::optional<uint32_t> card() const {
        snd_hctl_t* hctl = nullptr;
        snd_ctl_card_info_t* info;
        snd_ctl_card_info_alloca(&info);
        if (snd_mixer_get_hctl(handle, deviceName, &hctl) < 0 ||
            snd_ctl_card_info(snd_hctl_ctl(hctl), info) < 0)
            return std::nullopt;
        // Sound servers' virtual devices have no card: they count as card 0.
        const int number = snd_ctl_card_info_get_card(info);
        return number >= 0 ? uint32_t(number) : 0;
    }

    bool has(Property property) const { return has(master(), property); }

    bool settable(Property property) const {
        snd_mixer_elem_t* element = master();
        return has(element, property) && snd_mixer_selem_is_active(element);
    }

    std::optional<float> read(Property property) const {
        snd_mixer_elem_t* element = master();
        if (!has(element, property))
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

    bool write(Property property, float value) {
        snd_mixer_elem_t* element = master();
        if (!has(element, property))
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

private:
    explicit Open(snd_mixer_t* handle) : handle(handle) {}

    snd_mixer_elem_t* master() const {
        snd_mixer_selem_id_t* id;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, elementName);
        return snd_mixer_find_selem(handle, id);
    }

    static bool has(snd_mixer_elem_t* element, Property property) {
        if (!element)
            return false;
        return property == Property::MainVolume ? snd_mixer_selem_has_playback_volume(element)
                                                : snd_mixer_selem_has_playback_switch(element);
    }

    snd_mixer_t* handle;
};

AlsaMixer::AlsaMixer(Clock clock) : clock(std::move(clock)) {}

AlsaMixer::~AlsaMixer() = default;

AlsaMixer::Open* AlsaMixer::current() const {
    const std::chrono::steady_clock::time_point now = clock();
    const bool paused = now - lastUse > reopenAfterPause;
    lastUse = now;
    if (open && (paused || !open->update()))
        open.reset();
    if (!open)
        open = Open::attach();
    return open.get();
}

template <typename Result> Result AlsaMixer::closeOnFailure(Result result) const {
    if (!result)
        open.reset();
    return result;
}

bool AlsaMixer::hasDefaultOutputDevice() const {
    const QMutexLocker locked(&lock);
    return current() != nullptr;
}

std::optional<uint32_t> AlsaMixer::defaultOutputDevice() const {
    const QMutexLocker locked(&lock);
    const Open* mixer = current();
    return mixer ? closeOnFailure(mixer->card()) : std::nullopt;
}

bool AlsaMixer::hasProperty(uint32_t, Property property) const {
    const QMutexLocker locked(&lock);
    const Open* mixer = current();
    return mixer && mixer->has(property);
}

bool AlsaMixer::isSettable(uint32_t, Property property) const {
    const QMutexLocker locked(&lock);
    const Open* mixer = current();
    return mixer && mixer->settable(property);
}

std::optional<float> AlsaMixer::read(uint32_t, Property property) const {
    const QMutexLocker locked(&lock);
    const Open* mixer = current();
    return mixer ? closeOnFailure(mixer->read(property)) : std::nullopt;
}

bool AlsaMixer::write(uint32_t, Property property, float value) {
    const QMutexLocker locked(&lock);
    Open* mixer = current();
    return mixer && closeOnFailure(mixer->write(property, value));
}
