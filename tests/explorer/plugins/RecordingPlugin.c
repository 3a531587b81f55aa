/* A viewer plug-in for the host's tests, in plain C against quillbase/qbplugin.h only. It records
** every call the host makes, keeps a copy of the last value shown, and offers test-only exports
** (qbtest_*) to read that back. Variants are built from this one file by definitions:
**   QBTEST_NO_TEST_BLOB     exports no TestBLOB
**   QBTEST_NO_MENU_NAME_A   exports no GetMenuItemNameA (so it must not load)
**   QBTEST_REFUSE           TestBLOB refuses every value
**   QBTEST_SHOW_FAILS       ShowBLOB answers false with an error text holding "%"
**   QBTEST_KEEP_STREAM      ShowBLOB keeps a reference to the stream past its call
**   QBTEST_DESCRIBE         exports a description (with over-long, unterminated fields), an
**                           about box and a settings window
*/
#include <quillbase/qbplugin.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Its menu text tells the variants apart. */
#if defined(QBTEST_NO_TEST_BLOB)
#define QBTEST_MENU_NAME u"Any value"
#elif defined(QBTEST_REFUSE)
#define QBTEST_MENU_NAME u"Refuser"
#elif defined(QBTEST_SHOW_FAILS)
#define QBTEST_MENU_NAME u"Failing"
#elif defined(QBTEST_KEEP_STREAM)
#define QBTEST_MENU_NAME u"Keeper"
#else
#define QBTEST_MENU_NAME u"Recorder"
#endif

static char g_log[16384];
static unsigned char* g_value;
static size_t g_valueSize;
static QbStream* g_kept;

static void record(const char* line)
{
    size_t used = strlen(g_log);
    if (used + strlen(line) + 2 < sizeof g_log) {
        strcat(g_log, line);
        strcat(g_log, "\n");
    }
}

static uint64_t positionOf(QbStream* stream)
{
    uint64_t position = 0;
    stream->table->seek(stream, 0, QB_STREAM_SEEK_CUR, &position);
    return position;
}

static void recordValue(const char* call, const BlobValue* value)
{
    char line[160];
    QbStreamStat stat;
    stat.structSize = sizeof stat;
    stat.size = 0;
    if (!value->stream) {
        snprintf(line, sizeof line, "%s type=%u stream=null", call, (unsigned)value->type);
    } else {
        value->stream->table->stat(value->stream, &stat);
        snprintf(line, sizeof line, "%s type=%u size=%llu position=%llu", call, (unsigned)value->type,
                 (unsigned long long)stat.size, (unsigned long long)positionOf(value->stream));
    }
    record(line);
}

/* Reads the whole value from its start into g_value. */
static int copyValue(QbStream* stream)
{
    unsigned char block[4096];
    uint64_t position = 1;
    free(g_value);
    g_value = NULL;
    g_valueSize = 0;
    if (QB_FAILED(stream->table->seek(stream, 0, QB_STREAM_SEEK_SET, &position)) || position != 0)
        return 0;
    for (;;) {
        uint32_t done = 0;
        unsigned char* grown;
        if (QB_FAILED(stream->table->read(stream, block, sizeof block, &done)))
            return 0;
        if (done == 0)
            return 1;
        grown = realloc(g_value, g_valueSize + done);
        if (!grown)
            return 0;
        g_value = grown;
        memcpy(g_value + g_valueSize, block, done);
        g_valueSize += done;
    }
}

QB_PLUGIN_EXPORT const char* GetLastErrorTextA(void)
{
    record("GetLastErrorTextA");
    return NULL;
}

QB_PLUGIN_EXPORT const char16_t* GetLastErrorTextW(void)
{
    record("GetLastErrorTextW");
#ifdef QBTEST_SHOW_FAILS
    return u"Only 50% done: %s %n %1";
#else
    return NULL;
#endif
}

QB_PLUGIN_EXPORT QbBool ShowBLOB(QbWindow parent, int reserved, BlobValue* value)
{
    char line[64];
    snprintf(line, sizeof line, "ShowBLOB parent=%s reserved=%d", parent ? "set" : "null", reserved);
    record(line);
    recordValue("value", value);
    if (!copyValue(value->stream))
        record("read failed");
#ifdef QBTEST_KEEP_STREAM
    value->stream->table->addRef(value->stream);
    g_kept = value->stream;
#endif
    /* A plug-in may scribble on the record it was handed; the host must not care. */
    value->stream = NULL;
    value->type = 0xFFFF;
#ifdef QBTEST_SHOW_FAILS
    return 0;
#else
    return 1;
#endif
}

#ifndef QBTEST_NO_MENU_NAME_A
QB_PLUGIN_EXPORT const char* GetMenuItemNameA(void)
{
    record("GetMenuItemNameA");
    return "Recorder";
}
#endif

QB_PLUGIN_EXPORT const char16_t* GetMenuItemNameW(void)
{
    record("GetMenuItemNameW");
    return QBTEST_MENU_NAME;
}

#ifndef QBTEST_NO_TEST_BLOB
QB_PLUGIN_EXPORT QbBool TestBLOB(const BlobValue* value)
{
    recordValue("TestBLOB", value);
    /* Moves the position, which the next plug-in must not notice. */
    if (value->stream) {
        uint64_t position = 0;
        value->stream->table->seek(value->stream, 0, QB_STREAM_SEEK_SET, &position);
    }
#ifdef QBTEST_REFUSE
    return 0;
#else
    return 1;
#endif
}
#endif

#ifdef QBTEST_DESCRIBE
static void fill(char16_t* field, size_t units, char16_t c)
{
    size_t i;
    for (i = 0; i < units; ++i)
        field[i] = c;
}

QB_PLUGIN_EXPORT QbBool GetModuleDescriptionW(PluginDescription* out)
{
    static const char16_t name[] = u"Recorder plug-in";
    record("GetModuleDescriptionW");
    memcpy(out->name, name, sizeof name);
    /* Every other field is filled to its end without a terminator. */
    fill(out->version, QB_DESCRIPTION_VERSION_UNITS, u'9');
    fill(out->copyright, QB_DESCRIPTION_COPYRIGHT_UNITS, u'c');
    fill(out->description, QB_DESCRIPTION_TEXT_UNITS, u'd');
    fill(out->languages, QB_DESCRIPTION_LANGUAGES_UNITS, u'l');
    return 1;
}

QB_PLUGIN_EXPORT QbBool ShowAboutBox(QbWindow parent)
{
    record(parent ? "ShowAboutBox parent=set" : "ShowAboutBox parent=null");
    return 1;
}

QB_PLUGIN_EXPORT QbBool ShowConfigurateWnd(QbWindow parent)
{
    record(parent ? "ShowConfigurateWnd parent=set" : "ShowConfigurateWnd parent=null");
    return 1;
}
#endif

/* Test-only exports. */
QB_PLUGIN_EXPORT const char* qbtest_log(void)
{
    return g_log;
}

QB_PLUGIN_EXPORT void qbtest_reset(void)
{
    g_log[0] = 0;
    free(g_value);
    g_value = NULL;
    g_valueSize = 0;
}

QB_PLUGIN_EXPORT const unsigned char* qbtest_value(size_t* size)
{
    *size = g_valueSize;
    return g_value;
}

/* Reads from the stream kept past ShowBLOB, then lets it go: the read's result. */
QB_PLUGIN_EXPORT QbResult qbtest_read_kept(void)
{
    unsigned char byte;
    uint32_t done = 0;
    QbResult r;
    if (!g_kept)
        return QB_E_UNEXPECTED;
    r = g_kept->table->read(g_kept, &byte, 1, &done);
    g_kept->table->release(g_kept);
    g_kept = NULL;
    return r;
}
