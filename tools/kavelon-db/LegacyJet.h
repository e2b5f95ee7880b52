#pragma once
// The reading child's side: libmdb over the old file, the five tables sent as frames into a pipe.

namespace kavelon::dbtool {

// Runs in the child process; returns its exit code. Writes frames (LegacyFrames.h) to outFd.
int readJetTablesInto(const char* path, int outFd);

} // namespace kavelon::dbtool
