#pragma once

#include <mutex>
#include <string>

#include "BatchWindow.h"
#include "JobFields.h"

// The part of a window that runs read: a copy of the job fields and the
// settings file path, which the UI thread updates as they change and runs read
// from their own threads, each under one lock. A window's bridge adds the
// captions and messages, which need its toolkit.
class FieldMirror : public BatchWindow {
public:
    // UI thread: records the settings file path runs are to use.
    void SetIniFile(const std::string& iniFile);

    // UI thread: records the text `field` now shows.
    void SetFieldText(JobField field, const std::string& text);

    // UI thread: records the item `ComboBox1` now shows.
    void SetChoiceIndex(int index);

    std::string FieldText(JobField field) override;
    int ChoiceIndex() override;
    std::string IniFile() override;

private:
    std::mutex mutex_;
    std::string iniFile_;
    JobFields fields_;
};
