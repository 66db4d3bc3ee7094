#pragma once

#include <array>
#include <string>

// The seven text fields of a job, named as the main window names them.
enum class JobField { Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7 };
inline constexpr int kJobFieldCount = 7;

// Items of the same-name choice (`ComboBox1`).
inline constexpr int kChoiceOverwrite = 0;
inline constexpr int kChoiceSkip = 1;

// Everything a job is made of: what the window shows and the settings file keeps.
struct JobFields {
    std::array<std::string, kJobFieldCount> texts;  // indexed by JobField
    int sameNameChoice = kChoiceOverwrite;           // item index of ComboBox1

    std::string& operator[](JobField field) { return texts[static_cast<int>(field)]; }
    const std::string& operator[](JobField field) const { return texts[static_cast<int>(field)]; }
};

// Reads the eight job keys from the settings file, each with its default.
JobFields LoadJobFields(const std::string& iniFile);

// Writes the eight job keys in their stored order, one write each; a failed
// write does not stop the others.
void SaveJobFields(const JobFields& fields, const std::string& iniFile);
