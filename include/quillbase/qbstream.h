/*
** Quillbase stream ABI: how a byte stream crosses between Quillbase and its plug-ins.
**
** A stream is an object whose first member points at a table of C functions. The table only
** ever grows at the end: a new function is appended, none is moved, removed or changed. Each
** table starts with its own size in bytes, so code built against a newer header can see
** whether an object it got offers a function (QB_STREAM_HAS).
**
** Rules every implementation keeps:
**   - Nothing throws across these functions, and none of them calls exit or abort.
**   - Every call answers a 32-bit result code whose values are fixed (plug-ins compare them):
**     QB_S_OK (0) and QB_S_FALSE (1) succeed, negative codes fail.
**   - Out values are always written when their pointer is not null.
**   - The object is reference counted: the holder of a reference calls release once for it.
**     A stream whose storage element was destroyed or replaced, or whose storage was released,
**     is "reverted": the object stays valid until its last release, but read, write, seek and
**     stat answer QB_STG_E_REVERTED.
**
** This header is plain C (C99 and C++), with no dependency beyond <stdint.h>.
*/
#ifndef QUILLBASE_QBSTREAM_H
#define QUILLBASE_QBSTREAM_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t QbResult;

#define QB_S_OK ((QbResult)0)
#define QB_S_FALSE ((QbResult)1)
#define QB_E_UNEXPECTED ((QbResult)0x8000FFFFu)
#define QB_E_INVALIDARG ((QbResult)0x80070057u)
#define QB_STG_E_INVALIDFUNCTION ((QbResult)0x80030001u) /* e.g. seeking before the start */
#define QB_STG_E_INSUFFICIENTMEMORY ((QbResult)0x80030008u)
#define QB_STG_E_INVALIDPOINTER ((QbResult)0x80030009u)
#define QB_STG_E_SEEKERROR ((QbResult)0x80030019u)
#define QB_STG_E_WRITEFAULT ((QbResult)0x8003001Du)
#define QB_STG_E_READFAULT ((QbResult)0x8003001Eu)
#define QB_STG_E_MEDIUMFULL ((QbResult)0x80030070u)
#define QB_STG_E_REVERTED ((QbResult)0x80030102u)

#define QB_SUCCEEDED(r) ((QbResult)(r) >= 0)
#define QB_FAILED(r) ((QbResult)(r) < 0)

/* Seek origins. */
#define QB_STREAM_SEEK_SET 0u
#define QB_STREAM_SEEK_CUR 1u
#define QB_STREAM_SEEK_END 2u

typedef struct QbStream QbStream;

/* What stat reports. The caller sets structSize to sizeof(QbStreamStat) as it knows it; the
** stream fills only the fields that fit, so this record may grow at the end as well. */
typedef struct QbStreamStat {
    uint32_t structSize;
    uint32_t reserved; /* 0 */
    uint64_t size;     /* bytes in the stream */
} QbStreamStat;

typedef struct QbStreamTable {
    /* sizeof(QbStreamTable) of the header the object was built with */
    uint32_t tableSize;

    /* Takes one more reference; answers the new count. */
    uint32_t (*addRef)(QbStream* self);
    /* Gives one reference back; answers the remaining count. At 0 the object is gone. */
    uint32_t (*release)(QbStream* self);

    /* Reads up to size bytes at the seek position and moves it on. *done receives the bytes
    ** read: fewer than asked (0 included) means the end of the stream was reached. */
    QbResult (*read)(QbStream* self, void* buffer, uint32_t size, uint32_t* done);
    /* Writes all size bytes at the seek position, growing the stream as needed, or fails;
    ** *done receives the bytes written before a failure. */
    QbResult (*write)(QbStream* self, const void* buffer, uint32_t size, uint32_t* done);
    /* Moves the seek position to origin + offset and reports it in *position (on failure the
    ** position stays where it was and *position reports that). A position before the start
    ** fails with QB_STG_E_INVALIDFUNCTION; one past the end is allowed, and a write there fills
    ** the gap with zero bytes. */
    QbResult (*seek)(QbStream* self, int64_t offset, uint32_t origin, uint64_t* position);
    /* Fills *out (see QbStreamStat). */
    QbResult (*stat)(QbStream* self, QbStreamStat* out);
} QbStreamTable;

struct QbStream {
    const QbStreamTable* table;
};

/* True when the stream's table has the function member (a newer addition, say). */
#define QB_STREAM_HAS(stream, member) \
    ((stream)->table->tableSize >= offsetof(QbStreamTable, member) + sizeof((stream)->table->member))

/* A cell value handed to a viewer plug-in. The host owns it and the stream; it lives for one
** call into the plug-in. The stream holds the value's bytes with its seek position at their end,
** so a plug-in seeks to the start before reading. */
typedef struct BlobValue {
    QbStream* stream;
    uint32_t type; /* the column's type code, e.g. 128 binary, 129 8-bit text, 130 UTF-16 text */
} BlobValue;

#ifdef __cplusplus
}
#endif

#endif /* QUILLBASE_QBSTREAM_H */
