#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace olv {

class CityDataClass;

// How a refresh of My Cities went, for the window to show.
struct MyCitiesRefresh {
    size_t Tried = 0;                // cities retrieved or given up
    std::vector<std::string> Failed; // keys that kept their stored record, in list order
    bool Stopped = false;            // Stop or Exit ended it before the last city
};

// What the scheduled reading needs from the window that hosts it: the window's state, its
// retrieval, its speak step and its 20-second timer. Every call comes on the main thread.
class AutoReadHost {
public:
    virtual ~AutoReadHost() = default;

    // No retrieval has run for a minute.
    virtual bool IsIdle() const = 0;
    // Random reading is running.
    virtual bool IsRandomMode() const = 0;
    // What is being spoken; 0 when nothing is.
    virtual int ReadingKind() const = 0;
    // A retrieval is running (its wait lets the timer's events through).
    virtual bool IsRetrieving() const = 0;
    // The program is being closed: no more retrievals.
    virtual bool IsClosing() const { return false; }
    // The "AutoUpdate" setting: minutes between refreshes of My Cities, "0" for never.
    virtual std::string AutoUpdateSetting() const = 0;
    // Reports are read in metric units.
    virtual bool UseMetric() const = 0;

    // Stops the timer that calls Tick (false) and starts it again (true).
    virtual void EnableAutoReadTimer(bool enabled) = 0;
    // Retrieves a city; true when the retrieval succeeded. A failed one is never stored.
    virtual bool RetrieveCity(const std::string& key, CityDataClass& record) = 0;
    // Stores a freshly retrieved My City; by default into its section of "MyCitiesData.chl".
    // Throws std::system_error when it cannot be written.
    virtual void StoreRecord(const CityDataClass& record);
    // A refresh of My Cities begins (from the timer or from Update All): its first step, the
    // once-a-day check for new data files.
    virtual void MyCitiesRetrieving() {}
    // The refresh has stored what it could: refill the lists and show the current city again.
    virtual void MyCitiesRetrieved(const MyCitiesRefresh& /*refresh*/) {}
    // Where the next reading goes: a file named from baseName, or the loudspeaker.
    virtual void SetFileOutput(bool toFile, const std::string& baseName) = 0;
    // The speak step; false when speech could not start (no end of speech will follow).
    virtual bool Speak(const std::string& text, int kind) = 0;
};

} // namespace olv
