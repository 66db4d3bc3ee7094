#include "HeadlessWindow.h"

#include <utility>

HeadlessWindow::HeadlessWindow(JobFields fields, std::string iniFile)
    : fields_(std::move(fields)), iniFile_(std::move(iniFile)) {}

std::string HeadlessWindow::FieldText(JobField field) {
    return fields_[field];
}

int HeadlessWindow::ChoiceIndex() {
    return fields_.sameNameChoice;
}

void HeadlessWindow::SetCaption(const std::string& caption) {
    std::lock_guard lock(mutex_);
    ++captionChanges_;
    caption_ = caption;
}

std::string HeadlessWindow::IniFile() {
    return iniFile_;
}

void HeadlessWindow::ShowMessage(const std::string& text) {
    std::lock_guard lock(mutex_);
    messages_.push_back(text);
}

int HeadlessWindow::CaptionChanges() {
    std::lock_guard lock(mutex_);
    return captionChanges_;
}

std::string HeadlessWindow::Caption() {
    std::lock_guard lock(mutex_);
    return caption_;
}

std::vector<std::string> HeadlessWindow::Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
}
