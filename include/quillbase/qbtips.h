/*
** Quillbase tips library (liboltiva.so): shows the "Tip of the Day" dialog.
**
** The host loads the library by its full path from its own folder and binds the exports by
** name. The dialog runs on the calling thread, which must be the thread of the host's
** QApplication; the library never creates one (without a QApplication nothing is shown and
** the flag comes back unchanged). Nothing throws across these functions.
**
**   owner           the window the dialog is centred over (the host's QWidget*), may be null;
**                   the dialog itself is owned by the active window
**   tipsFilePath    full path of the tips file (NUL-terminated; UTF-16 for the W export,
**                   UTF-8 for the A export)
**   showAtStartup   the host's current flag; the check box starts checked exactly when it is 1
**
** Result: nonzero when "Show tips at startup" was checked when the dialog was closed; the host
** keeps the low byte as its new flag.
**
** Plain C (C11, for char16_t from <uchar.h>, and C++).
*/
#ifndef QUILLBASE_QBTIPS_H
#define QUILLBASE_QBTIPS_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#include "quillbase/qbwindow.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define QB_TIPS_EXPORT __attribute__((visibility("default")))
#else
#define QB_TIPS_EXPORT
#endif

/* The file name the host loads, from its own folder. */
#define QB_TIPS_LIBRARY_NAME "liboltiva.so"

QB_TIPS_EXPORT uint8_t ShowTipsDialogW(QbWindow owner, const char16_t* tipsFilePath, int32_t showAtStartup);
QB_TIPS_EXPORT uint8_t ShowTipsDialogA(QbWindow owner, const char* tipsFilePath, int32_t showAtStartup);

typedef uint8_t (*QbShowTipsDialogW)(QbWindow owner, const char16_t* tipsFilePath, int32_t showAtStartup);
typedef uint8_t (*QbShowTipsDialogA)(QbWindow owner, const char* tipsFilePath, int32_t showAtStartup);

#ifdef __cplusplus
}
#endif

#endif
