#include "platform/qt/QtAudioOutput.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace olv {
namespace {

std::string ErrorText(QAudio::Error error) {
    switch (error) {
    case QAudio::NoError:
        return "";
    case QAudio::OpenError:
        return "the audio device could not be opened (is a sound server running?)";
    case QAudio::IOError:
        return "the audio device could not be written";
    case QAudio::UnderrunError:
        return "the audio device ran out of data";
    case QAudio::FatalError:
        return "the audio device failed (the sound server went away)";
    }
    return "the audio device failed";
}

int streamsOpened = 0; // main thread only

} // namespace

int QtAudioOutput::StreamsOpened() {
    return streamsOpened;
}

QtAudioOutput::~QtAudioOutput() {
    Close();
}

std::string QtAudioOutput::Open(int device, const PcmFormat& format) {
    Close();
    const QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
    QAudioDevice chosen;
    if (device == -1)
        chosen = QMediaDevices::defaultAudioOutput();
    else if (device >= 0 && device < outputs.size())
        chosen = outputs[device];
    if (chosen.isNull())
        return "there is no audio device number " + std::to_string(device);
    QAudioFormat wanted;
    wanted.setSampleRate(format.SampleRate);
    wanted.setChannelCount(format.Channels);
    wanted.setSampleFormat(QAudioFormat::Int16);
    if (!chosen.isFormatSupported(wanted))
        return "the audio device does not play " + std::to_string(format.SampleRate) + " Hz";
    bytesPerFrame_ = static_cast<size_t>(format.Channels) * 2;
    sink_ = std::make_unique<QAudioSink>(chosen, wanted);
    QObject::connect(sink_.get(), &QAudioSink::stateChanged,
                     [this](QAudio::State state) { OnStateChanged(state); });
    std::string why = Start();
    if (!why.empty())
        sink_.reset();
    return why;
}

// Starting fails without any signal when there is no sound server: the error tells.
std::string QtAudioOutput::Start() {
    if (!source_.isOpen())
        source_.open(QIODevice::ReadOnly);
    ++streamsOpened;
    sink_->start(&source_);
    return ErrorText(sink_->error());
}

void QtAudioOutput::OnStateChanged(QAudio::State state) {
    if (stopping_ || state != QAudio::StoppedState || !sink_)
        return;
    QAudio::Error error = sink_->error();
    if (error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError)
        failure_ = ErrorText(error);
}

void QtAudioOutput::Write(const int16_t* samples, size_t frames) {
    if (sink_)
        source_.Append(reinterpret_cast<const char*>(samples), frames * bytesPerFrame_);
}

void QtAudioOutput::Pause() {
    if (sink_)
        sink_->suspend();
}

void QtAudioOutput::Resume() {
    if (sink_)
        sink_->resume();
}

void QtAudioOutput::Reset() {
    if (!sink_)
        return;
    stopping_ = true;
    sink_->stop();
    stopping_ = false;
    source_.Clear();
    failure_.clear();
    std::string why = Start();
    if (!why.empty())
        failure_ = why;
}

void QtAudioOutput::Close() {
    if (sink_) {
        stopping_ = true;
        sink_->stop();
        sink_.reset();
        stopping_ = false;
    }
    source_.Clear();
    if (source_.isOpen())
        source_.close();
    failure_.clear();
}

int64_t QtAudioOutput::PlayedUSecs() const {
    return sink_ ? sink_->processedUSecs() : 0;
}

size_t QtAudioOutput::PendingFrames() const {
    return source_.Pending() / bytesPerFrame_;
}

AudioOutput::State QtAudioOutput::CurrentState() const {
    if (!sink_)
        return State::Stopped;
    switch (sink_->state()) {
    case QAudio::ActiveState:
        return State::Active;
    case QAudio::SuspendedState:
        return State::Suspended;
    case QAudio::IdleState:
        return State::Idle;
    case QAudio::StoppedState:
        break;
    }
    return State::Stopped;
}

} // namespace olv
