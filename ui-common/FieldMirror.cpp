#include "FieldMirror.h"

void FieldMirror::SetIniFile(const std::string& iniFile)
{
    std::lock_guard lock(mutex_);
    iniFile_ = iniFile;
}

void FieldMirror::SetFieldText(JobField field, const std::string& text)
{
    std::lock_guard lock(mutex_);
    fields_[field] = text;
}

void FieldMirror::SetChoiceIndex(int index)
{
    std::lock_guard lock(mutex_);
    fields_.sameNameChoice = index;
}

std::string FieldMirror::FieldText(JobField field)
{
    std::lock_guard lock(mutex_);
    return fields_[field];
}

int FieldMirror::ChoiceIndex()
{
    std::lock_guard lock(mutex_);
    return fields_.sameNameChoice;
}

std::string FieldMirror::IniFile()
{
    std::lock_guard lock(mutex_);
    return iniFile_;
}
