/* The smallest useful viewer: it offers itself for 8-bit text and tells how long the text is.
** Build: cc -std=c11 -shared -fPIC -fvisibility=hidden -I<quillbase>/include example.c -o example.blob
** and copy example.blob into the plugins folder beside qorvex. */
#include <quillbase/qbplugin.h>

#include <stdio.h>

static char16_t g_message[64];

QB_PLUGIN_EXPORT const char* GetMenuItemNameA(void) { return "Text length"; }
QB_PLUGIN_EXPORT const char16_t* GetMenuItemNameW(void) { return u"Text length"; }
QB_PLUGIN_EXPORT const char* GetLastErrorTextA(void) { return NULL; }

/* A plug-in without a toolkit of its own speaks through the host: ShowBLOB answers false and
** qorvex shows this text in a message box. */
QB_PLUGIN_EXPORT const char16_t* GetLastErrorTextW(void) { return g_message[0] ? g_message : NULL; }

QB_PLUGIN_EXPORT QbBool TestBLOB(const BlobValue* value) { return value->type == QB_TYPE_STR; }

static void setMessage(const char* text)
{
    int i;
    for (i = 0; text[i] && i < 63; ++i)
        g_message[i] = (char16_t)text[i];
    g_message[i] = 0;
}

QB_PLUGIN_EXPORT QbBool ShowBLOB(QbWindow parent, int reserved, BlobValue* value)
{
    QbStream* s = value->stream;
    unsigned char block[4096];
    unsigned long long length = 0;
    uint32_t done = 0;
    char text[64];
    (void)parent;
    (void)reserved;
    /* The stream's position is at the end of the value: read it from the start. */
    if (QB_FAILED(s->table->seek(s, 0, QB_STREAM_SEEK_SET, NULL))) {
        setMessage("The text cannot be read.");
        return 0;
    }
    do {
        if (QB_FAILED(s->table->read(s, block, sizeof block, &done))) {
            setMessage("The text cannot be read.");
            return 0;
        }
        length += done;
    } while (done > 0);
    snprintf(text, sizeof text, "The text is %llu bytes long.", length);
    setMessage(text);
    return 0;
}
