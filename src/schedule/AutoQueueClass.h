#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>

namespace olv {

// One composed scheduled reading waiting to be spoken.
struct AutoQueueItemClass {
    std::string Title; // names the reading; the base name of its file when ToFile is set
    std::string Text;  // the report to speak
    bool ToFile = false;
};

// Scheduled readings waiting their turn, first in, first out.
class AutoQueueClass {
public:
    void Add(std::string title, std::string text, bool toFile) {
        items_.push_back({std::move(title), std::move(text), toFile});
    }
    // Removes the first entry, if there is one.
    void DeleteFirst() {
        if (!items_.empty())
            items_.pop_front();
    }
    void Clear() { items_.clear(); }

    bool Empty() const { return items_.empty(); }
    size_t Count() const { return items_.size(); }
    // The entry spoken next; the queue must not be empty.
    const AutoQueueItemClass& First() const { return items_.front(); }

private:
    std::deque<AutoQueueItemClass> items_;
};

} // namespace olv
