#pragma once

#include <chrono>
#include <functional>

namespace olv {

// Waiting on the thread's Qt event loop without spinning: the thread sleeps until an event is
// due (a timer, a socket, a call posted from another thread), runs it and looks again. Every
// wait of the programs goes through here: pumping events in a loop with a time limit would
// keep a core busy instead of sleeping.
class EventWait {
public:
    // Runs events until done() holds or timeout has passed. done() is looked at after every
    // batch of events, so it must only change in event handlers of this thread (which is where
    // the speech controller and its timers change their state). True when done() holds.
    static bool Until(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Runs events for the given time.
    static void For(std::chrono::milliseconds time);
};

} // namespace olv
