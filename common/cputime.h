// The processor time a thread has used, for programs that measure their own
// cost. One function per operating system, in its own source file.
#pragma once

// Processor time used by the calling thread so far, in seconds (user and
// system time; time spent waiting does not count).
double ThreadProcessorSeconds();
