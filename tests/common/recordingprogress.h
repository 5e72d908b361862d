#pragma once

#include <functional>
#include <QList>

#include "core/progressview.h"

// A ProgressView without widgets that lets a test act when the engine reaches a given value.
class RecordingProgress : public ProgressView {
public:
    std::function<void(int)> onValue;

protected:
    void changed(Change what) override
    {
        if (what == Change::Value && onValue)
            onValue(value());
    }
};
