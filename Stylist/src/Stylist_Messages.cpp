#include "Stylist_Messages.h"

#include "Corvale_Exception.h"

#include <iterator>

namespace Stylist {

namespace {

const char* const UNEXPECTED_ERROR =
    "An unexpected error has occurred. The current Quillon C++ operation has failed. "
    "Please contact Corvale Software Technical Support and report this error.";
const char* const UNEXPECTED_ERROR_WITH_TEXT =
    "An unexpected error has occurred. The current Quillon C++ operation has failed. "
    "Please contact Corvale Software Technical Support and report this error: %1%";

// Indexed by message number; a null entry is a number the table does not use.
const char* const TOP_LEVEL[] = {
    nullptr,
    "Quillon C++ has run out of memory. Please try closing other applications on your system "
    "before attempting to run it again.",
    "Quillon C++ has encountered an internal inconsistency. Please contact Corvale Software "
    "Technical Support and report the following information: %1%",
    UNEXPECTED_ERROR,
    UNEXPECTED_ERROR_WITH_TEXT,
    "Could not determine the path to the Quillon C++ executable. Please contact Corvale Software "
    "Technical Support and report this error.",
    nullptr,
    // The option listing follows the banner after a colon.
    "Quillon C++ %1%\n"
    "Formats C++ source code with a named scheme",
    "Could not open file \"%1%\" for input.",
    "Could not read from input file \"%1%\".",
    "Could not open file \"%1%\" for output.",
    "Could not write to output file \"%1%\".",
    "The scheme %1% requires conversion before it can be used. Please run the Quillon C++ GUI "
    "Client to perform this conversion.",
};

const char* const CATALOGUE[] = {
    /* 0 */ "Information",
    /* 1 */ "Warning",
    /* 2 */ "Error",
    /* 3 */ UNEXPECTED_ERROR,
    /* 4 */ UNEXPECTED_ERROR_WITH_TEXT,
    /* 5 */
    "Encountered an error while trying to read the scheme file \"%1%\". To correct the problem, "
    "you should delete this file before restarting and attempting this operation again.",
    /* 6 */
    "Encountered an error while trying to write the scheme file \"%1%\". To correct the problem, "
    "ensure you have enough disk space and permissions to write to the file.",
    /* 7 */ "Encountered an error trying to read stored user settings.",
    /* 8 */ "Encountered an error trying to write stored user settings.",
    /* 9 */ "Encountered an error trying to read stored user previews.",
    /* 10 */ "Encountered an error trying to write stored user previews.",
    /* 11 */
    "The scheme '%1%' was created using a previous version of Quillon C++. The file is marked "
    "read-only and so cannot be converted. Please exit Quillon, change the file to read-write and "
    "then run Quillon again. Once the scheme has been converted, the file can be set read-only "
    "again.",
    /* 12 */
    "The following schemes were created using a previous version of Quillon C++:\r\n"
    "%1%The files are read-only and so cannot be converted. Please exit Quillon, change the file "
    "to read-write and then run Quillon again. Once the schemes have been converted, the files can "
    "be set read-only again.",
    /* 13 */
    "The scheme: '%1%' has the invalid value: %2% for the option: %3%.\n"
    " The scheme file may have become corrupted.\n",
    /* 14 */ "Using scheme %2% to format %1%",
    /* 15 */ "Opening file: %1%",
    /* 16 */ "Backup of file \"%1%\" failed. Error: %2%",
    /* 17 */ "Writing file: %1%",
    /* 18 */ "Reading buffer contents",
    /* 19 */ "Writing buffer: %1%",
    /* 20 */ "Unable to read the contents of the buffer \"%1%\". The buffer will not be formatted.",
    /* 21 */ "Unable to write to the buffer \"%1%\". The buffer will not be formatted.",
    /* 22 */ "Finished processing file: %1%",
    /* 23 */ "The file \"%1%\" cannot be found.",
    /* 24 */ "The file \"%1%\" does not have read/write permissions and cannot be formatted.",
    /* 25 */ "Unable to read the contents of the file \"%1%\". The file will not be formatted.",
    /* 26 */ "Unable to write to the file \"%1%\". The file will not be formatted.",
    /* 27 */ "Finished formatting: %1%",
    /* 28 */ "User cancelled current formatting operation.",
    /* 29 */ "An unknown scheme %1% was selected to use when formatting.",
    /* 30 */ "source files under directory: %1%",
    /* 31 */ "source files in Visual Studio project: %1%",
    /* 32 */ "source files in Visual Studio workspace: %1%",
    /* 33 */ "Could not locate registry configuration data for Quillon C++.",
    /* 34 */ "Could not locate the path to Quillon C++ Scheme storage currently listed as \"%1%\".",
    /* 35 */ "Failed to create the directory \"%1%\" for storage of Quillon C++ user configuration data.",
    /* 36 */ nullptr,
    /* 37 */ "Locating next file...",
};

std::string lookUp(const char* const* table, int size, int number)
{
    CORVALE_CHECK((number >= 0) && (number < size) && (table[number] != nullptr));
    return table[number];
}

} // namespace

std::string topLevelMessage(int number)
{
    return lookUp(TOP_LEVEL, static_cast<int>(std::size(TOP_LEVEL)), number);
}

std::string appMessage(int number)
{
    return lookUp(CATALOGUE, static_cast<int>(std::size(CATALOGUE)), number);
}

} // namespace Stylist
