/* A plug-in's view of a stream: plain C against quillbase/qbstream.h only, so the header is
** proven to compile and work as C. */
#include <quillbase/qbstream.h>

/* Reads the whole value from its start, as a viewer does: the bytes read, or -1 on a failure. */
long long qbtest_read_all_from_c(QbStream* stream, unsigned char* buffer, uint32_t capacity)
{
    uint64_t position = 1;
    long long total = 0;
    if (QB_FAILED(stream->table->seek(stream, 0, QB_STREAM_SEEK_SET, &position)) || position != 0)
        return -1;
    for (;;) {
        uint32_t done = 0;
        const uint32_t block = capacity - (uint32_t)total < 4096 ? capacity - (uint32_t)total : 4096;
        if (QB_FAILED(stream->table->read(stream, buffer + total, block, &done)))
            return -1;
        total += done;
        if (done < block || total == capacity)
            return total;
    }
}

int qbtest_table_has_stat_from_c(QbStream* stream)
{
    return QB_STREAM_HAS(stream, stat);
}
