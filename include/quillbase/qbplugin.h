/*
** Quillbase viewer plug-in ABI: what a ".blob" library exports so that qorvex lists it in the
** menu of a long cell value and hands it the value.
**
** A plug-in is a shared library whose file name ends in ".blob" (exactly, in lower case), placed
** anywhere below the "plugins" folder beside the qorvex executable. qorvex loads it by full path
** at start-up and looks its functions up by the names below (QB_EXPORT_...), unmangled, with the
** platform's C calling convention. Build it with -fvisibility=hidden and mark the exports with
** QB_PLUGIN_EXPORT, so that nothing else of the library is visible.
**
** Rules every plug-in keeps:
**   - Nothing throws across these functions: a plug-in written in C++ catches its own exceptions.
**   - Texts are NUL-terminated. The "W" functions answer UTF-16 (char16_t), the "A" functions
**     UTF-8. A returned text stays owned by the plug-in and must stay valid until the next call
**     into it; the host copies it at once, and never reads more than a bounded number of units.
**   - The value (BlobValue, quillbase/qbstream.h) belongs to the host and lives for one call: the
**     plug-in reads its stream during the call, seeking to the start first. A plug-in that keeps
**     a reference past the call gets QB_STG_E_REVERTED from every later stream call; it still
**     releases the reference it took.
**   - QbWindow is the host's parent widget (a QWidget*), possibly null. A plug-in with a user
**     interface uses the host's Qt, never creates a QApplication, and destroys every object it
**     created before its call returns (modal dialogs).
**   - A "bool" result is a QbBool: nonzero means true.
**
** This header is plain C (C11 and C++), with no dependency beyond the C library.
*/
#ifndef QUILLBASE_QBPLUGIN_H
#define QUILLBASE_QBPLUGIN_H

#include <quillbase/qbstream.h>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define QB_PLUGIN_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#include <uchar.h> /* char16_t */
#define QB_PLUGIN_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

#ifdef __cplusplus
#define QB_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
extern "C" {
#else
#define QB_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

typedef void* QbWindow;  /* the host's parent QWidget*, or null */
typedef uint8_t QbBool;  /* nonzero: true */

/* File names and export names the host looks for. */
#define QB_PLUGIN_SUFFIX ".blob"
#define QB_EXPORT_GET_LAST_ERROR_TEXT_A "GetLastErrorTextA"
#define QB_EXPORT_GET_LAST_ERROR_TEXT_W "GetLastErrorTextW"
#define QB_EXPORT_SHOW_BLOB "ShowBLOB"
#define QB_EXPORT_GET_MENU_ITEM_NAME_A "GetMenuItemNameA"
#define QB_EXPORT_GET_MENU_ITEM_NAME_W "GetMenuItemNameW"
#define QB_EXPORT_TEST_BLOB "TestBLOB"
#define QB_EXPORT_GET_MODULE_DESCRIPTION_A "GetModuleDescriptionA"
#define QB_EXPORT_GET_MODULE_DESCRIPTION_W "GetModuleDescriptionW"
#define QB_EXPORT_SHOW_ABOUT_BOX "ShowAboutBox"
#define QB_EXPORT_SHOW_CONFIGURATE_WND "ShowConfigurateWnd"

/* Column type codes a plug-in meets most (BlobValue.type). */
#define QB_TYPE_BYTES 128u /* binary */
#define QB_TYPE_STR 129u   /* 8-bit text: UTF-8 here */
#define QB_TYPE_WSTR 130u  /* UTF-16 text, little-endian units */

/* Field capacities of PluginDescription, in UTF-16 units, terminator included. */
#define QB_DESCRIPTION_NAME_UNITS 21
#define QB_DESCRIPTION_VERSION_UNITS 11
#define QB_DESCRIPTION_COPYRIGHT_UNITS 101
#define QB_DESCRIPTION_TEXT_UNITS 1024
#define QB_DESCRIPTION_LANGUAGES_UNITS 1024

/* What the Plug-ins dialog shows of a plug-in. The host zero-fills the record before the call;
** the plug-in writes NUL-terminated texts that fit their fields (the host reads no further than
** a field's capacity and treats a field without a terminator as cut there). */
typedef struct PluginDescription {
    char16_t name[QB_DESCRIPTION_NAME_UNITS];
    char16_t version[QB_DESCRIPTION_VERSION_UNITS];
    char16_t copyright[QB_DESCRIPTION_COPYRIGHT_UNITS];
    char16_t description[QB_DESCRIPTION_TEXT_UNITS];
    char16_t languages[QB_DESCRIPTION_LANGUAGES_UNITS];
} PluginDescription;

QB_PLUGIN_STATIC_ASSERT(sizeof(char16_t) == 2, "char16_t holds one UTF-16 unit");
QB_PLUGIN_STATIC_ASSERT(offsetof(PluginDescription, name) == 0, "name at 0");
QB_PLUGIN_STATIC_ASSERT(offsetof(PluginDescription, version) == 42, "version at 42");
QB_PLUGIN_STATIC_ASSERT(offsetof(PluginDescription, copyright) == 64, "copyright at 64");
QB_PLUGIN_STATIC_ASSERT(offsetof(PluginDescription, description) == 266, "description at 266");
QB_PLUGIN_STATIC_ASSERT(offsetof(PluginDescription, languages) == 2314, "languages at 2314");
QB_PLUGIN_STATIC_ASSERT(sizeof(PluginDescription) == 4362, "the record is 4362 bytes");

/* The exports. Required: GetLastErrorTextA, GetLastErrorTextW, ShowBLOB, GetMenuItemNameA,
** GetMenuItemNameW; a library missing one of them is not loaded. The others are optional. */

/* The 8-bit twin of GetLastErrorTextW; bound, never called. */
typedef const char* (*QbGetLastErrorTextAFn)(void);
/* Why the last ShowBLOB answered false, or null for "nothing to say" (the host stays silent).
** The host shows the text as it is: it is never used as a format. */
typedef const char16_t* (*QbGetLastErrorTextWFn)(void);
/* Shows the value, normally in a modal dialog owned by parent. reserved is 0. */
typedef QbBool (*QbShowBLOBFn)(QbWindow parent, int reserved, BlobValue* value);
/* The 8-bit twin of GetMenuItemNameW; bound, never called. */
typedef const char* (*QbGetMenuItemNameAFn)(void);
/* The text of the plug-in's menu item. */
typedef const char16_t* (*QbGetMenuItemNameWFn)(void);
/* Optional: whether the plug-in can show this value. Absent: every value. */
typedef QbBool (*QbTestBLOBFn)(const BlobValue* value);
/* Optional: bound, never called; what it fills is the plug-in's own affair. */
typedef QbBool (*QbGetModuleDescriptionAFn)(void* out);
/* Optional: fills the description for the Plug-ins dialog; the result is ignored. Absent: the
** dialog names the plug-in "<Unknown>". */
typedef QbBool (*QbGetModuleDescriptionWFn)(PluginDescription* out);
/* Optional: the plug-in's about box, from the Plug-ins dialog; the result is ignored. */
typedef QbBool (*QbShowAboutBoxFn)(QbWindow parent);
/* Optional: the plug-in's settings window, from the Plug-ins dialog; the result is ignored. */
typedef QbBool (*QbShowConfigurateWndFn)(QbWindow parent);

#ifdef __cplusplus
}
#endif

#endif /* QUILLBASE_QBPLUGIN_H */
