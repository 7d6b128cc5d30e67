#pragma once
// A short sound from the program's resources ("bell.mp3"), rung from its beginning at the volume
// that an attenuation a in 0 … 1 gives: 10^(−2a), so 0 is full volume and 1 one hundredth.
// A missing or undecodable resource leaves it silent after one diagnostic line. It is played from
// a copy in the cache folder ($XDG_CACHE_HOME/net.brenmoor.varlin), made once.

#include <QString>
#include <functional>
#include <memory>

class AudioFilePlayer;

class SoundEffect {
public:
    SoundEffect(const QString& name, std::function<float()> attenuation);
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    void play();

    // None when the sound could not be opened.
    const AudioFilePlayer* avplayer() const { return _avplayer.get(); }

    static float volumeFor(float attenuation);

private:
    std::function<float()> attenuation;
    std::shared_ptr<AudioFilePlayer> _avplayer;
};
