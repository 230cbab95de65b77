// Replacing a small file's contents without ever leaving it half-written.
#ifndef STYLIST_FILEREPLACE_H
#define STYLIST_FILEREPLACE_H

#include <string>

namespace Stylist {

// Replaces the file at path with text: the text goes to a temporary file in
// the same directory, which is flushed to disk, given the old file's
// permission bits (or the usual bits for a new file) and renamed over the
// old one. A symbolic link is followed, so the file it names is replaced
// and the link stays. On failure the old file is untouched, the temporary
// is removed, and the answer is false.
bool replaceFile(const std::string& path, const std::string& text);

} // namespace Stylist

#endif
