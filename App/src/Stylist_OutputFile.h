// Writing the program's output file without ever leaving it half-written.
#ifndef STYLIST_OUTPUTFILE_H
#define STYLIST_OUTPUTFILE_H

#include <string>

namespace Stylist {

enum class WriteResult {
    OK,
    CANNOT_OPEN,  // the file (or a temporary beside it) could not be created
    CANNOT_WRITE, // writing, flushing or putting the new file in place failed
};

// Replaces the file at path with text. A regular file (or a symbolic link
// to one, which is followed) is replaced atomically: the text goes to a
// temporary file in the same directory, which is flushed, closed, given the
// old file's permission bits and renamed over the old one; on any failure
// the old file is untouched and the temporary removed. A file that is not a
// regular file (a device, a pipe) is opened and written in place.
WriteResult writeOutputFile(const std::string& path, const std::string& text);

} // namespace Stylist

#endif
