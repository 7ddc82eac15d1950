#pragma once

#include <string>

namespace olv {

class CityDataClass;
class IntroClass;
class MyCitiesClass;
class TBaseRegistryClass;

// What the window lends the scheduled reading: its state, its cities, retrieval and the speak
// step.
class ScheduleHost {
public:
    virtual ~ScheduleHost() = default;

    virtual bool RandomMode() const = 0;
    // 0 when nothing is being spoken.
    virtual int ReadingKind() const = 0;
    // No retrieval during the last minute.
    virtual bool Idle() const = 0;
    // Times of day as hours * 100 + minutes, rounded down to five minutes. LastAutoCheck
    // starts at the window's creation time, LastAutoUpdate at 0.
    virtual int& LastAutoCheck() = 0;
    virtual int& LastAutoUpdate() = 0;
    virtual bool& JustUpdated() = 0;

    virtual TBaseRegistryClass& Settings() = 0;
    virtual const MyCitiesClass& MyCities() const = 0;
    virtual const IntroClass& Intro() const = 0;
    virtual bool UseMetric() const = 0;

    // A fresh record for key; a My City's is stored into "MyCitiesData.chl". False when the
    // retrieval failed (the status line says why); record then holds a My City's last stored
    // weather, or what was retrieved.
    virtual bool RetrieveCity(const std::string& key, CityDataClass& record) = 0;
    // Update All.
    virtual void RetrieveMyCities() = 0;
    // The speak step with a reading kind (1 for scheduled readings).
    virtual void Speak(const std::string& text, int kind) = 0;
    // The same into an audio file named after baseName, in the voice settings' folder and
    // format.
    virtual void SpeakToFile(const std::string& baseName, const std::string& text, int kind) = 0;
};

// The scheduled reading, plugged into the window with TOVForm::SetScheduledReading. It owns
// the queue of readings waiting to be spoken.
class ScheduledReading {
public:
    virtual ~ScheduledReading() = default;
    // Every 20 seconds; the window's timer is stopped while it runs.
    virtual void Tick(ScheduleHost& host) = 0;
    virtual bool HasQueued() const = 0;
    // Speaks the first queued reading (at every end of speech while readings wait).
    virtual void StartNext(ScheduleHost& host) = 0;
    // Stop empties the queue.
    virtual void ClearQueue() = 0;
};

} // namespace olv
