#pragma once

#include <QtGlobal>

// Asks the system to back the whole pages of a buffer with memory at once,
// for writing or for reading, instead of one page fault each as the pages
// are first touched: on a virtual machine a page fault costs several
// microseconds, and for the large buffers of a big project those add up to
// more than the work done in them. Only a request: a system without it
// faults the pages in as usual.
void populateForWriting(void* data, qsizetype bytes);
void populateForReading(const void* data, qsizetype bytes);
