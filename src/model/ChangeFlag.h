#pragma once
// A "has unsaved changes" flag that tells a listener each time it is raised, so that whoever
// keeps a copy of the changed thing hears of every change however it was made. Reads and
// assigns like a bool.

#include <functional>

class ChangeFlag {
public:
    ChangeFlag& operator=(bool raised) {
        _raised = raised;
        if (raised && onRaise)
            onRaise();
        return *this;
    }
    explicit operator bool() const { return _raised; }

    // Called after every raise, also of a flag already up.
    std::function<void()> onRaise;

private:
    bool _raised = false;
};
