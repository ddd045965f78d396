#pragma once
// The option editor library's one entry point.
//
// int IniSetting(const char* path)
//   path: the full path of FieldsDefine.ini, UTF-8 (the file itself is CP932). Shows the
//   option editor modally through the message service and returns 1 exactly when the file's
//   bytes changed, else 0 (cancelled, nothing changed, or the file could not be read).
//
// Unattended (answer script), one line for the editor, for example
//   SHOUHIN_TITLE=title; SectionSelect=1; NAME2=ship_fee; TYPE2=1; VALUE2=ON; SaveButton
//   CancelButton
// Fields are addressed in the chosen section (SectionSelect is 0-based, NAME<i> 1-based);
// AddSection, RemoveSection, AddField and RemoveField<i> can be pressed within the line.
// When required SYSTEM keys are left unset, saving asks first: the next line answers it (Yes
// saves; No leaves the editor open for the line after that).

#if defined(__GNUC__)
#define OPTPANEL_EXPORT __attribute__((visibility("default")))
#else
#define OPTPANEL_EXPORT
#endif

extern "C" OPTPANEL_EXPORT int IniSetting(const char* path);
