/*
** Quillbase: a window handle as it crosses between our programs and libraries: the host's
** QWidget*, possibly null. Plain C (C99 and C++).
*/
#ifndef QUILLBASE_QBWINDOW_H
#define QUILLBASE_QBWINDOW_H

typedef void* QbWindow;

#endif
