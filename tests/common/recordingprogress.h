#pragma once

#include <functional>
#include <QList>

#include "core/progressview.h"

// A ProgressView without widgets that also keeps the history of values, and lets a test act when
// the engine reaches a given value.
class RecordingProgress : public ProgressView {
public:
    QList<int> values;
    std::function<void(int)> onValue;

protected:
    void changed(Change what) override
    {
        if (what != Change::Value)
            return;
        values << value();
        if (onValue)
            onValue(value());
    }
};
