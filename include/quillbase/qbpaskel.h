/*
** Quillbase file-manager extension (libpaskel.so): the context-menu object for data link files
** and its registration.
**
** A caller (the paskel command, which the file managers run) makes one menu object per context
** menu: PaskelInitialize with the selected files, PaskelQueryContextMenu for the items that apply,
** PaskelInvokeCommand for the item chosen, PaskelReleaseMenu. The object shows nothing; a failure
** comes back as a result code, and PaskelGetLastErrorTextA says why for the caller's log.
**
** Results are 32-bit codes: 0 success, negative failure (the values below). A successful
** PaskelQueryContextMenu carries the number of items in its low 16 bits.
**
** Paths are the file system's bytes, NUL-terminated (UTF-8 by convention, passed on unchanged).
** Texts returned stay owned by the library. Nothing throws across these functions. One menu
** object is used from one thread at a time.
**
** Plain C (C11, for char16_t from <uchar.h>, and C++).
*/
#ifndef QUILLBASE_QBPASKEL_H
#define QUILLBASE_QBPASKEL_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define QB_PASKEL_EXPORT __attribute__((visibility("default")))
#else
#define QB_PASKEL_EXPORT
#endif

#define QB_PASKEL_LIBRARY_NAME "libpaskel.so"

typedef int32_t QbPaskelResult;
#define QB_PASKEL_OK ((QbPaskelResult)0)
#define QB_PASKEL_FALSE ((QbPaskelResult)1)
#define QB_PASKEL_FAIL ((QbPaskelResult)0x80004005)
#define QB_PASKEL_INVALIDARG ((QbPaskelResult)0x80070057)
#define QB_PASKEL_ACCESSDENIED ((QbPaskelResult)0x80070005)
#define QB_PASKEL_ITEM_COUNT(result) ((uint32_t)(result)&0xFFFFu)

/* Flags of PaskelQueryContextMenu: the kind of menu being built. */
#define QB_PASKEL_MENU_NORMAL 0x0u
#define QB_PASKEL_MENU_DEFAULTONLY 0x1u /* only the default item is wanted: the extension adds none */
#define QB_PASKEL_MENU_VERBSONLY 0x2u
#define QB_PASKEL_MENU_EXPLORE 0x4u

/* Command offsets. */
#define QB_PASKEL_EXPLORE 0u /* "Explore data base": starts qorvex */
#define QB_PASKEL_EXECUTE 1u /* "Execute SQL query": starts tessmar */

typedef struct QbPaskelMenu QbPaskelMenu;

typedef struct QbPaskelMenuItem {
    uint32_t commandOffset;
    const char16_t* textW;
    const char* textA; /* UTF-8 */
} QbPaskelMenuItem;

/* A new menu object, or null when memory is short. */
QB_PASKEL_EXPORT QbPaskelMenu* PaskelCreateMenu(void);
QB_PASKEL_EXPORT void PaskelReleaseMenu(QbPaskelMenu* menu);

/* The selection, in order. OK when at least one file has an extension of the installation's
** table; FAIL otherwise (the menu then gets no items). */
QB_PASKEL_EXPORT QbPaskelResult PaskelInitialize(QbPaskelMenu* menu, const char* const* paths, uint32_t count);

/* Writes up to capacity items into items (which may be null when capacity is 0) and answers OK
** with the number of items that apply in the low 16 bits. */
QB_PASKEL_EXPORT QbPaskelResult PaskelQueryContextMenu(QbPaskelMenu* menu, uint32_t flags, QbPaskelMenuItem* items,
                                                       uint32_t capacity);

/* Starts the command's program on the first matching file and returns without waiting for it.
** OK when it was started; INVALIDARG for an unknown offset; FAIL when it could not be. */
QB_PASKEL_EXPORT QbPaskelResult PaskelInvokeCommand(QbPaskelMenu* menu, uint32_t commandOffset);

/* Why the menu's last call failed (UTF-8, empty when it did not); with a null menu, why the
** calling thread's last DllRegisterServer or DllUnregisterServer failed. Valid until the next call
** on the same menu or thread. */
QB_PASKEL_EXPORT const char* PaskelGetLastErrorTextA(const QbPaskelMenu* menu);

/* Registration: the class keys in the machine's registry and the file managers' action files
** below <prefix>/share. OK, ACCESSDENIED (nothing registered or removed), or FAIL. */
QB_PASKEL_EXPORT QbPaskelResult DllRegisterServer(void);
QB_PASKEL_EXPORT QbPaskelResult DllUnregisterServer(void);
/* OK when no menu object is alive, FALSE otherwise. */
QB_PASKEL_EXPORT QbPaskelResult DllCanUnloadNow(void);

#ifdef __cplusplus
}
#endif

#endif
