#include "JobFields.h"

#include "DefaultSavePath.h"
#include "PublicFunction.h"

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kSameNameKey = "SameNameCover";
constexpr const char* kOverwriteText = "True";
constexpr const char* kSkipText = "False";

struct JobKey {
    JobField field;
    const char* name;
    std::string defaultValue;
};

// The text keys in the order they are read and written, with their defaults.
std::array<JobKey, kJobFieldCount> TextKeys()
{
    return {{
        {JobField::Edit1, "TargetPage", ""},
        {JobField::Edit2, "BeginPoint", "1"},
        {JobField::Edit3, "EndPoint", "100"},
        {JobField::Edit4, "SavePath", DefaultSavePath()},
        {JobField::Edit5, "FileName", ""},
        {JobField::Edit6, "FileBack", ".html"},
        {JobField::Edit7, "FilePoint", "001"},
    }};
}

} // namespace

JobFields LoadJobFields(const std::string& iniFile)
{
    JobFields fields;
    for (const JobKey& key : TextKeys())
        fields[key.field] = ReadIniStr(kSection, key.name, key.defaultValue, iniFile);
    // Only the exact text selects overwrite; anything else, "true" included, means skip.
    bool overwrite = ReadIniStr(kSection, kSameNameKey, kOverwriteText, iniFile) == kOverwriteText;
    fields.sameNameChoice = overwrite ? kChoiceOverwrite : kChoiceSkip;
    return fields;
}

void SaveJobFields(const JobFields& fields, const std::string& iniFile)
{
    for (const JobKey& key : TextKeys())
        WriteIniStr(kSection, key.name, fields[key.field], iniFile);
    bool overwrite = fields.sameNameChoice == kChoiceOverwrite;
    WriteIniStr(kSection, kSameNameKey, overwrite ? kOverwriteText : kSkipText, iniFile);
}
