#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "BatchWindow.h"
#include "JobFields.h"

// A window without a screen: it serves a run fixed job fields, and remembers
// the captions and messages the run shows instead of drawing them.
class HeadlessWindow : public BatchWindow {
public:
    // A window whose fields hold `fields` and whose settings file is `iniFile`.
    HeadlessWindow(JobFields fields, std::string iniFile);

    std::string FieldText(JobField field) override;
    int ChoiceIndex() override;
    void SetCaption(const std::string& caption) override;
    std::string IniFile() override;
    void ShowMessage(const std::string& text) override;

    // How many times the caption was set.
    int CaptionChanges();

    // The caption set last, or empty when none was set.
    std::string Caption();

    // Every message shown, oldest first.
    std::vector<std::string> Messages();

private:
    // The interface promises calls from any thread; one lock keeps that true.
    std::mutex mutex_;
    const JobFields fields_;
    const std::string iniFile_;
    int captionChanges_ = 0;
    std::string caption_;
    std::vector<std::string> messages_;
};
