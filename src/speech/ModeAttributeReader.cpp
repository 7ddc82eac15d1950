#include "speech/ModeAttributeReader.h"

#include "platform/AudioOutput.h"
#include "speech/TTTS.h"

namespace olv {
namespace {

// A destination that takes nothing in: the component is opened only to be asked questions.
class DiscardingOutput final : public AudioOutput {
public:
    std::string Open(int, const PcmFormat&) override { return {}; }
    void Write(const int16_t*, size_t) override {}
    void Pause() override {}
    void Resume() override {}
    void Reset() override {}
    void Close() override {}
    int64_t PlayedUSecs() const override { return 0; }
    size_t PendingFrames() const override { return 0; }
    State CurrentState() const override { return State::Idle; }
    std::string Failure() const override { return {}; }
};

} // namespace

ModeAttributes ModeAttributeReader::Read(const TGUID& modeId) {
    TTTS tts;
    tts.SetActive(false);
    tts.SelectMode(modeId);
    tts.SetOutputDest(TOutputDest::odOther);
    tts.OnMakeOtherDest = [](TTTS&, std::unique_ptr<AudioOutput>& destination) {
        destination = std::make_unique<DiscardingOutput>();
    };
    tts.SetActive(true);
    ModeAttributes found;
    found.Pitch = {tts.PitchMin(), tts.PitchMax(), tts.Pitch()};
    found.Speed = {tts.SpeedMin(), tts.SpeedMax(), tts.Speed()};
    found.VolumeLeft = {tts.VolumeLeftMin(), tts.VolumeLeftMax(), tts.VolumeLeft()};
    found.VolumeRight = {tts.VolumeRightMin(), tts.VolumeRightMax(), tts.VolumeRight()};
    tts.SetActive(false);
    return found;
}

} // namespace olv
