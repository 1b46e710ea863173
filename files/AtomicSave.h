// The one way Тивла replaces a file: the board, its patterns and the snapshots, in the program
// and in tivla-batch alike.
#pragma once

#include <string>
#include <string_view>

namespace tivla {

// Writes bytes to a new file beside path, flushes it to the disk and only then renames it over
// path, so that a failure at any step leaves an existing file as it was and no stray file
// behind. A replaced file keeps its group (where this process may set it; otherwise it loses
// the group's permission bits) and its permission bits, less set-user-ID, set-group-ID and
// sticky; a symbolic link is followed, and the file it names is replaced while the link stays
// (a looping chain of links fails with ELOOP).
//
// An existing file this user may not write is refused with EACCES (or EROFS) before anything
// is created, as the classic open would refuse it. Three cases are written in place instead,
// the classic way, and are not atomic (a failure half-way leaves a half-written file): a file
// with more than one hard link, so that every name still shows the one saved file; a writable
// file in a folder where no new file may be created; and one in a sticky folder (/tmp) that
// only its owner may rename over.
//
// Only a regular file, or a name that nothing has yet, is saved to. A folder is refused with
// EISDIR; a device, a named pipe or a socket with EACCES, before anything is written: renaming
// over it would put a plain file in its place (as root, /dev/null itself), and writing into it
// could neither be undone on failure nor be trusted not to hold the caller until a reader comes.
//
// Returns 0 on success, otherwise the errno value of the first failing step.
int saveFileAtomically(const std::string& path, std::string_view bytes);

} // namespace tivla
