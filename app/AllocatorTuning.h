#pragma once

// Quillon stays open all day and runs every fetch and every keep-alive round
// on a short-lived thread. glibc gives such threads malloc arenas of their
// own; what a worker allocated and the UI thread freed later stays mapped in
// the worker's arena, so resident memory crept up report after report while
// the memory in use stayed flat (6 to 13 MB from report 50 to report 300).
// With one arena for the whole process it stays level; the threads allocate
// little at the same time, so sharing the arena costs nothing measurable.
// Call before the first thread starts.
void limitAllocatorArenas();
