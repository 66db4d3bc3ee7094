#pragma once

#include <string>

#include "JobFields.h"

// What a batch run needs of the window that started it. Every call comes from
// the run's own thread, so an implementation must be safe to call from any
// thread and must serve calls in the order they are made.
class BatchWindow {
public:
    virtual ~BatchWindow() = default;

    // The current text of one job field.
    virtual std::string FieldText(JobField field) = 0;

    // The current item index of the same-name choice (`ComboBox1`).
    virtual int ChoiceIndex() = 0;

    // Shows `caption` as the window's caption.
    virtual void SetCaption(const std::string& caption) = 0;

    // The full path of the settings file.
    virtual std::string IniFile() = 0;

    // Tells the user about a mistake in the job; returns without waiting for them.
    virtual void ShowMessage(const std::string& text) = 0;
};
