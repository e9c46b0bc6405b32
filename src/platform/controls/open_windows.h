// The windows the platform runs a modal loop for itself (dialogs, message boxes), each findable by
// its window handle for as long as its loop runs, however the loop ends.
#pragma once

#include <vector>

#include "platform/types.h"

namespace platform {

// `Record` has a `window` member: the handle it is found by.
template <typename Record>
class OpenWindows {
public:
    Record* find(HWND window) const {
        for (Record* r : open_)
            if (r->window == window) return r;
        return nullptr;
    }

    // Keeps a record findable while it lives.
    class Registration {
    public:
        Registration(OpenWindows& windows, Record& record) : windows_(windows), record_(record) {
            windows_.open_.push_back(&record_);
        }
        ~Registration() { std::erase(windows_.open_, &record_); }
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

    private:
        OpenWindows& windows_;
        Record& record_;
    };

private:
    std::vector<Record*> open_;
};

}  // namespace platform
