#pragma once
// The picture preview library's entry points. All take and return integers, except the
// picture's path (UTF-8, zero-terminated). One preview window at a time, on the GUI thread.
//
// int PR_CreateForm()                      makes the window (hidden); a second call keeps it
// int PR_GetFormHeight()                   its height in pixels
// int PR_MoveForm(int left, int top)       its top-left corner on the screen
// int PR_ShowForm()                        shows it
// int PR_SetPictureName(int slot, path)    slot 0..3; "END" marks the slot past the last
//                                          picture (it and the later slots stay empty)
// int PR_DrawPicture()                     reads and shows the named pictures, each fitted
//                                          into its slot; one that cannot be read shows "×"
// int PR_CloseForm()                       closes and frees the window
// Every call returns 0, or -1 when there is no window (or the slot is out of range).

#if defined(__GNUC__)
#define PHOTOVIEW_EXPORT __attribute__((visibility("default")))
#else
#define PHOTOVIEW_EXPORT
#endif

extern "C" {
PHOTOVIEW_EXPORT int PR_CreateForm();
PHOTOVIEW_EXPORT int PR_GetFormHeight();
PHOTOVIEW_EXPORT int PR_MoveForm(int left, int top);
PHOTOVIEW_EXPORT int PR_ShowForm();
PHOTOVIEW_EXPORT int PR_SetPictureName(int slot, const char* path);
PHOTOVIEW_EXPORT int PR_DrawPicture();
PHOTOVIEW_EXPORT int PR_CloseForm();
}
