#include "Stylist_OutputFile.h"

#include "Stylist_FileReplace.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Stylist {

namespace {

// Follows a chain of symbolic links to the file finally named, which need
// not exist yet. Gives up (answering the last name reached) after as many
// links as the system itself would follow.
std::string followLinks(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (n < 0)
            return path;
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (!next.empty() && next[0] != '/') {
            std::string::size_type slash = path.rfind('/');
            if (slash != std::string::npos)
                next = path.substr(0, slash + 1) + next;
        }
        path = next;
    }
    return path;
}

WriteResult writeInPlace(const std::string& path, const std::string& text)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return WriteResult::CANNOT_OPEN;
    bool ok = writeAll(fd, text);
    ok = (::close(fd) == 0) && ok;
    return ok ? WriteResult::OK : WriteResult::CANNOT_WRITE;
}

} // namespace

WriteResult writeOutputFile(const std::string& path, const std::string& text)
{
    const std::string target = followLinks(path);

    unsigned mode = newFileMode();
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return WriteResult::CANNOT_OPEN;
        if (!S_ISREG(st.st_mode))
            return writeInPlace(target, text);
        // A file the user may not write stays as it is, even where the
        // directory would let us replace it.
        if (::access(target.c_str(), W_OK) != 0)
            return WriteResult::CANNOT_OPEN;
        mode = st.st_mode & 07777;
    }

    switch (replaceThroughTemporary(target, text, mode)) {
    case ReplaceResult::OK:
        return WriteResult::OK;
    case ReplaceResult::CANNOT_CREATE:
        return WriteResult::CANNOT_OPEN;
    case ReplaceResult::CANNOT_WRITE:
        break;
    }
    return WriteResult::CANNOT_WRITE;
}

} // namespace Stylist
