#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "BatchWindow.h"
#include "JobFields.h"

// A window for runs without one: it holds the job fields, records every
// caption and message, and may be read and changed from any thread.
class FakeWindow : public BatchWindow {
public:
    FakeWindow(JobFields fields, std::string iniFile)
        : fields_(std::move(fields)), iniFile_(std::move(iniFile))
    {
    }

    std::string FieldText(JobField field) override
    {
        std::lock_guard lock(mutex_);
        return fields_[field];
    }

    int ChoiceIndex() override
    {
        std::lock_guard lock(mutex_);
        return fields_.sameNameChoice;
    }

    void SetCaption(const std::string& caption) override
    {
        std::function<void(const std::string&)> hook;
        {
            std::lock_guard lock(mutex_);
            captions_.push_back(caption);
            hook = onCaption_;
        }
        // Outside the lock, so the hook can edit fields as a user would.
        if (hook)
            hook(caption);
    }

    std::string IniFile() override { return iniFile_; }

    void ShowMessage(const std::string& text) override
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(text);
    }

    void SetField(JobField field, const std::string& text)
    {
        std::lock_guard lock(mutex_);
        fields_[field] = text;
    }

    // Calls `hook` after every caption change, on the run's thread.
    void OnCaption(std::function<void(const std::string&)> hook)
    {
        std::lock_guard lock(mutex_);
        onCaption_ = std::move(hook);
    }

    std::vector<std::string> Captions()
    {
        std::lock_guard lock(mutex_);
        return captions_;
    }

    // The last caption set, or "" when none was.
    std::string Caption()
    {
        std::lock_guard lock(mutex_);
        return captions_.empty() ? std::string() : captions_.back();
    }

    std::vector<std::string> Messages()
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    std::mutex mutex_;
    JobFields fields_;
    const std::string iniFile_;
    std::vector<std::string> captions_;
    std::vector<std::string> messages_;
    std::function<void(const std::string&)> onCaption_;
};
