// Replacing a file's contents without ever leaving it half-written.
#ifndef STYLIST_FILEREPLACE_H
#define STYLIST_FILEREPLACE_H

#include <string>

namespace Stylist {

enum class ReplaceResult {
    OK,
    CANNOT_CREATE, // the temporary file beside the target could not be made
    CANNOT_WRITE,  // writing, flushing or renaming the temporary failed
};

// Writes text to a temporary file in target's directory, flushes it to
// disk, gives it the permission bits mode and renames it over target. On
// failure target is untouched and the temporary is removed.
ReplaceResult replaceThroughTemporary(const std::string& target, const std::string& text, unsigned mode);

// The permission bits a new file gets: 0666 less the process's umask.
unsigned newFileMode();

// Writes all of text to the open descriptor, retrying interrupted writes.
bool writeAll(int fd, const std::string& text);

// Replaces the file at path with text through a temporary file, keeping
// the old file's permission bits (or the usual bits for a new file). A
// symbolic link is followed, so the file it names is replaced and the link
// stays. On failure the old file is untouched and the answer is false.
bool replaceFile(const std::string& path, const std::string& text);

} // namespace Stylist

#endif
