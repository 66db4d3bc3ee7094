#pragma once

#include <functional>
#include <string>

// An action a speed button is bound to: the caption and glyph it shows and
// what it does.
struct TAction {
    std::wstring caption;
    int glyphResource;  // icon resource of its 24 x 24 glyph
    std::function<void()> onExecute;

    void Execute() const
    {
        if (onExecute)
            onExecute();
    }
};

// The OK action both windows bind their first speed button to: "确定" with the tick glyph.
TAction CreateActionYes(std::function<void()> onExecute);

// The cancel action both windows bind their second speed button to: "取消" with the power glyph.
TAction CreateActionCancel(std::function<void()> onExecute);
